// Starts like the program does, up to the frame, and waits: the single-instance test runs it as a process.
// With --minimized the frame starts minimized. Each time a later start has it show its window, it prints
// "SHOWN minimized=<0|1>" with the frame's state afterwards.
#include "app/CMainFrame.h"
#include "app/CVRD2EditApp.h"

#include <cstdio>

int main(int argc, char* argv[])
{
    CVRD2EditApp app(argc, argv);
    if (!app.InitInstance())
        return 0;
    CMainFrame frame;
    if (app.arguments().contains(QStringLiteral("--minimized")))
        frame.showMinimized();
    else
        frame.show();
    QObject::connect(&app, &CVRD2EditApp::shownForAnotherStart, &frame, [&frame] {
        std::printf("SHOWN minimized=%d\n", frame.isMinimized() ? 1 : 0);
        std::fflush(stdout);
    });
    std::printf("READY\n");
    std::fflush(stdout);
    return app.exec();
}
