#include "app/CVRD2EditApp.h"

#include "app/CAboutDlg.h"
#include "app/InstanceHandover.h"
#include "app/SingleInstanceLock.h"
#include "res/Artwork.h"
#include "res/ProgramNames.h"
#include "res/StringTable.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMouseEvent>
#include <QWidget>

#include <cstdio>

namespace {
CVRD2EditApp* g_pTheApp = nullptr;
}

CVRD2EditApp::CVRD2EditApp(int& argc, char** argv) : QApplication(argc, argv)
{
    g_pTheApp = this;
    // The filter watches from the first event on; it lets everything pass until the flag is set.
    installEventFilter(this);
}

CVRD2EditApp::~CVRD2EditApp()
{
    if (g_pTheApp == this)
        g_pTheApp = nullptr;
}

CVRD2EditApp* CVRD2EditApp::Instance()
{
    return g_pTheApp;
}

bool CVRD2EditApp::InitInstance()
{
    m_instanceLock = std::make_unique<SingleInstanceLock>(ExecutableName());
    const QString socketPath = InstanceHandover::SocketPathFor(m_instanceLock->LockFilePath());
    switch (m_instanceLock->TryAcquire()) {
    case SingleInstanceLock::Result::HeldByAnother:
        // The user wants the program's window: the running copy shows it. Should it not answer, this copy ends
        // all the same, rather than open a second window on the same data.
        if (!InstanceHandover::AskRunningCopyToShow(socketPath, InstanceHandover::kAnswerTimeoutMs))
            std::fprintf(stderr, "The program runs already but did not answer; its window was not brought up.\n");
        return false;
    case SingleInstanceLock::Result::Unavailable:
        // Refusing to start over a missing runtime folder would lock the user out of his data.
        std::fprintf(stderr, "Cannot create the lock file %s; starting without the single-instance guard.\n",
                     qPrintable(m_instanceLock->LockFilePath()));
        break;
    case SingleInstanceLock::Result::Acquired:
        m_handover = std::make_unique<InstanceHandover>(socketPath);
        connect(m_handover.get(), &InstanceHandover::showRequested, this, &CVRD2EditApp::ShowMainWindow);
        if (!m_handover->Listen())
            std::fprintf(stderr, "Cannot listen on %s; a second start cannot bring this window up.\n",
                         qPrintable(socketPath));
        break;
    }
    // QSettings then keeps everything under Korvane/Telvora PRO, the key the form reads its values from.
    ProgramNames::Apply();
    setApplicationDisplayName(StringTable::LoadQString(Ids::IDS_APP_TITLE));
    // The installed launcher's name (desktop/), by which a Wayland desktop finds the program's entry and icon.
    setDesktopFileName(QStringLiteral("com.korvane.TelephoneDirectory"));
    setWindowIcon(Artwork::ProgramIcon());
    m_bInputBlocked = 0;
    return true;
}

QString CVRD2EditApp::ExecutableName()
{
    const QStringList args = arguments();
    QString name = args.isEmpty() ? QString() : QFileInfo(args.first()).completeBaseName();
    if (name.isEmpty())
        name = QFileInfo(applicationFilePath()).completeBaseName();
    return name.isEmpty() ? QStringLiteral("telephone-directory") : name;
}

void CVRD2EditApp::ShowMainWindow()
{
    for (QWidget* window : topLevelWidgets()) {
        if (!qobject_cast<QMainWindow*>(window) || window->isHidden()) continue;
        window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        window->show();
        window->raise();
        window->activateWindow();
        emit shownForAnotherStart();
        return;
    }
}

bool CVRD2EditApp::eventFilter(QObject* watched, QEvent* event)
{
    if (ProcessMessageFilter(watched, event))
        return true;
    return QApplication::eventFilter(watched, event);
}

bool CVRD2EditApp::ProcessMessageFilter(QObject* receiver, QEvent* event) const
{
    if (m_bInputBlocked != 1)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            return false;
        break;
    case QEvent::KeyPress:
        break;
    default:
        return false;
    }
    return LiesInModalLoop(receiver);
}

bool CVRD2EditApp::LiesInModalLoop(QObject* receiver)
{
    if (!receiver || !receiver->isWidgetType())
        return false;
    const QWidget* window = static_cast<QWidget*>(receiver)->window();
    return window == activeModalWidget() || window == activePopupWidget();
}

bool CVRD2EditApp::OnUpdateCommand(int id, bool& enabled) const
{
    if (id != ID_APP_ABOUT && id != ID_APP_EXIT)
        return false;
    enabled = true;
    return true;
}

bool CVRD2EditApp::OnCommand(int id)
{
    switch (id) {
    case ID_APP_ABOUT:
        OnAppAbout();
        return true;
    case ID_APP_EXIT:
        OnAppExit();
        return true;
    default:
        return false;
    }
}

void CVRD2EditApp::OnAppAbout()
{
    CAboutDlg dialog(activeWindow());
    dialog.exec();
}

void CVRD2EditApp::OnAppExit()
{
    // Closing the windows ends the program the same way the frame's close box does.
    closeAllWindows();
}
