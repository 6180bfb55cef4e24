#pragma once
// The main frame: a resizable window around the form with menu bar, toolbar, accelerators and a status bar
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
    // Makes the frame at least as big as the view needs; a frame nobody has resized yet fits it exactly. A view
    // of fixed size fixes the frame's size too.
    void FitToView();
    // Gives the frame the place and size remembered from the last run (settings group "Window"), as far as they
    // suit the screens; true when it was maximised then. Call once, before showing the frame.
    bool RestorePlacement();
    // Remembers the frame's place, size and maximised state for the next run.
    void SavePlacement() const;

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
    // The size the frame was last fitted to: a frame still at it has not been resized since.
    QSize m_fittedSize;
    bool m_bPlaced = false;   // the last run's size was restored: fits keep it
    bool m_bLeaving = false;  // the way out has asked its questions: the next close is final
    bool m_bExiting = false;  // the way out is asking now
};
