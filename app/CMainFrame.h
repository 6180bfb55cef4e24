#pragma once
// The main frame: a fixed-size window around the form with menu bar, toolbar, accelerators and a status bar
// whose pane 0 is the program's message line. Commands go to the form first, then to the frame (help, View),
// then to the application (About); a command that is disabled at that moment does nothing.
#include <QMainWindow>
#include <QPointer>

#include <map>
#include <memory>

class CHelpWindow;
class ICommandTarget;
class KeyLockState;
class QAction;
class QLabel;
class QShortcut;
class QTimer;
class QToolBar;
class StatusLine;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Makes the view the frame's central widget and fits the frame to it. The target gets the commands while
    // the view lives (the form is both).
    void SetView(QWidget* view, ICommandTarget* target);
    // Resizes the frame to fit the view exactly; call again when the view's size changes.
    void FitToView();

    // Pane 0 of the status bar, redrawn at once.
    void SetMessageText(const QString& text);
    QString MessageText() const;

    // Asks every handler whether its commands are enabled and sets menu items, buttons and checks.
    void UpdateCommandUI();
    bool IsCommandEnabled(int id) const;
    // Runs a command when it is enabled now; false when it was disabled or nobody handles it.
    bool ExecuteCommand(int id);
    // Closes the frame for good: the way out has asked its questions (see closeEvent).
    void Leave();

    QAction* CommandAction(int id) const;
    QToolBar* ToolBar() const { return m_wndToolBar; }
    QStatusBar* StatusBar() const { return m_wndStatusBar; }
    CHelpWindow* HelpWindow() const;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateMenus();
    void CreateToolBar();
    void CreateAccelerators();
    void CreateStatusBar();
    QAction* MakeCommandAction(int id, const QString& text);
    void ShowIdleMessage();
    void UpdateKeyIndicators();
    void ScheduleFit();
    ICommandTarget* Target() const;

    bool FrameHandlesCommand(int id) const;
    bool OnFrameCommand(int id);
    void OnHelpFinder();
    void ToggleBar(QWidget* bar);

    QStatusBar* m_wndStatusBar = nullptr;
    QToolBar* m_wndToolBar = nullptr;
    StatusLine* m_messagePane = nullptr;
    QLabel* m_indicators[3] = {nullptr, nullptr, nullptr};
    QPointer<QWidget> m_view;
    ICommandTarget* m_target = nullptr;
    std::map<int, QAction*> m_actions;
    QTimer* m_idleTimer = nullptr;
    std::unique_ptr<KeyLockState> m_keyLocks;
    QPointer<CHelpWindow> m_helpWindow;
    bool m_bLeaving = false;  // the way out has asked its questions: the next close is final
    bool m_bExiting = false;  // the way out is asking now
};
