#pragma once
// The application object: single-instance start-up, the registry key of the settings, the About command,
// and the input block that keeps clicks and keys out of modal loops while the telephone works.
#include "res/CommandIds.h"
#include "ui/ICommandTarget.h"

#include <QApplication>

#include <memory>

class InstanceHandover;
class SingleInstanceLock;

class CVRD2EditApp : public QApplication, public ICommandTarget {
    Q_OBJECT
public:
    CVRD2EditApp(int& argc, char** argv);
    ~CVRD2EditApp() override;

    static CVRD2EditApp* Instance();

    // false when this copy must end at once (another copy runs, and was asked to show its window); nothing has
    // been shown then.
    bool InitInstance();

    // true when the event is to be discarded: while input is blocked, left-button presses and double
    // clicks and key presses whose receiver lies in a message box, a dialog or an open menu.
    bool ProcessMessageFilter(QObject* receiver, QEvent* event) const;

    // ICommandTarget: the About box, and leaving when nothing nearer handles Exit.
    bool OnUpdateCommand(int id, bool& enabled) const override;
    bool OnCommand(int id) override;

    // 1 while the form waits for the telephone, else 0. The form writes it; only the filter reads it.
    int m_bInputBlocked = 0;

signals:
    // A later start asked this copy to show itself, and its main window was restored, raised and activated.
    void shownForAnotherStart();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static bool LiesInModalLoop(QObject* receiver);
    static QString ExecutableName();
    void OnAppAbout();
    void OnAppExit();
    void ShowMainWindow();

    std::unique_ptr<SingleInstanceLock> m_instanceLock;
    std::unique_ptr<InstanceHandover> m_handover;
};
