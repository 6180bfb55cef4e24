// Starts like the program does, up to the frame, and waits: the single-instance test runs it as a process.
#include "app/CMainFrame.h"
#include "app/CVRD2EditApp.h"

#include <cstdio>

int main(int argc, char* argv[])
{
    CVRD2EditApp app(argc, argv);
    if (!app.InitInstance())
        return 0;
    CMainFrame frame;
    frame.show();
    std::printf("READY\n");
    std::fflush(stdout);
    return app.exec();
}
