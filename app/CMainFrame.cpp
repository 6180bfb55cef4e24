#include "app/CMainFrame.h"

#include "app/CHelpWindow.h"
#include "app/CVRD2EditApp.h"
#include "app/FrameResources.h"
#include "app/KeyLockState.h"
#include "app/StatusLine.h"
#include "res/Artwork.h"
#include "res/CommandIds.h"
#include "res/StringTable.h"
#include "ui/ICommandTarget.h"
#include "ui/PaletteIcons.h"
#include "ui/WindowSettings.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>

namespace {
constexpr int kIdleUpdateMs = 250;
const char* const kIndicatorNames[] = {"Caps Lock", "Num Lock", "Scroll Lock"};

// The size the form asks for: the least (or fixed) size it gave itself, else its size hint, else its current size.
QSize FormSize(const QWidget* view)
{
    if (!view->minimumSize().isEmpty())
        return view->minimumSize();
    const QSize hint = view->sizeHint();
    return hint.isValid() ? hint : view->size();
}

QString IdName(int id)
{
    return QStringLiteral("ID_%1").arg(id);
}
}

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent), m_keyLocks(std::make_unique<KeyLockState>())
{
    // Caption, system menu, minimise, maximise and close, and a sizing border: the form grows with the frame.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(StringTable::LoadQString(Ids::IDS_APP_TITLE));
    setWindowIcon(Artwork::ProgramIcon());
    setDockOptions(QMainWindow::AnimatedDocks);
    CreateMenus();
    CreateToolBar();
    CreateAccelerators();
    CreateStatusBar();

    m_idleTimer = new QTimer(this);
    m_idleTimer->setInterval(kIdleUpdateMs);
    connect(m_idleTimer, &QTimer::timeout, this, [this] {
        UpdateCommandUI();
        UpdateKeyIndicators();
    });
    m_idleTimer->start();
    UpdateCommandUI();
}

CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::MakeCommandAction(int id, const QString& text)
{
    auto* action = new QAction(text, this);
    action->setData(id);
    action->setObjectName(IdName(id));
    action->setStatusTip(StringTable::Prompt(id));
    action->setToolTip(StringTable::Tooltip(id));
    if (id == ID_VIEW_TOOLBAR || id == ID_VIEW_STATUS_BAR)
        action->setCheckable(true);
    connect(action, &QAction::triggered, this, [this, id] { ExecuteCommand(id); });
    connect(action, &QAction::hovered, this, [this, id] { SetMessageText(StringTable::Prompt(id)); });
    m_actions[id] = action;
    return action;
}

void CMainFrame::CreateMenus()
{
    menuBar()->setObjectName(QStringLiteral("menu128"));
    for (const FrameResources::Popup& popup : FrameResources::Menu()) {
        QMenu* menu = menuBar()->addMenu(popup.title);
        menu->setObjectName(popup.title);
        for (const FrameResources::MenuItem& item : popup.items) {
            if (item.id == FrameResources::kSeparator)
                menu->addSeparator();
            else
                menu->addAction(MakeCommandAction(item.id, item.text));
        }
        // Update handlers run before a menu opens; the message line returns to idle once it closes.
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
        connect(menu, &QMenu::aboutToHide, this, &CMainFrame::ShowIdleMessage);
    }
}

void CMainFrame::CreateToolBar()
{
    m_wndToolBar = new QToolBar(QStringLiteral("Toolbar"), this);
    m_wndToolBar->setObjectName(IdName(ID_VIEW_TOOLBAR));
    m_wndToolBar->setAccessibleName(QStringLiteral("Toolbar"));
    m_wndToolBar->setIconSize(QSize(Artwork::kToolbarImageWidth, Artwork::kToolbarImageHeight));
    m_wndToolBar->setAllowedAreas(Qt::AllToolBarAreas);
    for (int id : FrameResources::Toolbar()) {
        if (id == FrameResources::kSeparator) {
            m_wndToolBar->addSeparator();
            continue;
        }
        QAction* action = m_actions.count(id) ? m_actions[id] : MakeCommandAction(id, StringTable::Tooltip(id));
        PaletteIcons::Follow(m_wndToolBar, action, [id](const QPalette& palette) {
            return Artwork::ToolbarIcon(id, palette);
        });
        m_wndToolBar->addAction(action);
        if (QWidget* button = m_wndToolBar->widgetForAction(action))
            button->setAccessibleName(StringTable::Tooltip(id));
    }
    addToolBar(Qt::TopToolBarArea, m_wndToolBar);
    // A toolbar docked elsewhere or floating changes what the frame must hold.
    connect(m_wndToolBar, &QToolBar::topLevelChanged, this, &CMainFrame::ScheduleFit);
    connect(m_wndToolBar, &QToolBar::orientationChanged, this, &CMainFrame::ScheduleFit);
}

void CMainFrame::CreateAccelerators()
{
    for (const FrameResources::Accelerator& accelerator : FrameResources::Accelerators()) {
        auto* shortcut = new QShortcut(accelerator.keys, this);
        shortcut->setObjectName(QStringLiteral("accel_%1").arg(accelerator.id));
        shortcut->setContext(Qt::WindowShortcut);
        const int id = accelerator.id;
        connect(shortcut, &QShortcut::activated, this, [this, id] { ExecuteCommand(id); });
    }
}

void CMainFrame::CreateStatusBar()
{
    m_wndStatusBar = new QStatusBar(this);
    m_wndStatusBar->setObjectName(IdName(ID_VIEW_STATUS_BAR));
    m_wndStatusBar->setAccessibleName(QStringLiteral("Status bar"));
    m_wndStatusBar->setSizeGripEnabled(false);
    m_messagePane = new StatusLine(m_wndStatusBar);
    m_messagePane->setObjectName(QStringLiteral("pane0"));
    m_messagePane->setMinimumWidth(1);
    m_wndStatusBar->addWidget(m_messagePane, 1);
    const std::vector<int>& indicators = FrameResources::Indicators();
    for (size_t i = 0; i < indicators.size(); ++i) {
        auto* label = new QLabel(StringTable::LoadQString(indicators[i]), m_wndStatusBar);
        label->setObjectName(IdName(indicators[i]));
        label->setAccessibleName(QString::fromLatin1(kIndicatorNames[i]));
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("NUM")) + 8);
        m_indicators[i] = label;
        m_wndStatusBar->addPermanentWidget(label);
    }
    setStatusBar(m_wndStatusBar);
    ShowIdleMessage();
    UpdateKeyIndicators();
}

void CMainFrame::UpdateKeyIndicators()
{
    static const KeyLockState::Lock locks[] = {KeyLockState::CAPS_LOCK, KeyLockState::NUM_LOCK,
                                               KeyLockState::SCROLL_LOCK};
    for (int i = 0; i < 3; ++i)
        m_indicators[i]->setEnabled(m_keyLocks->Query(locks[i]) == KeyLockState::State::On);
}

void CMainFrame::SetView(QWidget* view, ICommandTarget* target)
{
    m_view = view;
    m_target = target;
    setCentralWidget(view);
    FitToView();
    UpdateCommandUI();
}

void CMainFrame::FitToView()
{
    const bool fixedView = m_view && m_view->minimumSize() == m_view->maximumSize();
    if (m_view && !fixedView) {
        // The view's template size is the least it may have; it grows from there.
        m_view->setMinimumSize(FormSize(m_view));
        m_view->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    const bool resized = m_bPlaced || (m_fittedSize.isValid() && size() != m_fittedSize);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    layout()->invalidate();
    layout()->activate();
    // The menu bar lies outside the layout proper; the total includes it.
    const QSize least = layout()->totalMinimumSize();
    if (fixedView) {
        setFixedSize(layout()->totalSizeHint());
    } else {
        setMinimumSize(least);
        // A frame the user (or the last run) sized keeps its size, grown where the view needs more; a maximised
        // one is left to the window system.
        if (!isMaximized() && !isFullScreen())
            resize(resized ? size().expandedTo(least) : least);
    }
    m_fittedSize = size();
}

bool CMainFrame::RestorePlacement()
{
    QSettings settings;
    const WindowState state = WindowSettings::Read(settings);
    if (state.geometry) {
        QList<QRect> screens;
        for (const QScreen* screen : QGuiApplication::screens()) screens << screen->availableGeometry();
        const WindowSettings::Placement placement = WindowSettings::Fit(*state.geometry, minimumSize(), screens);
        // The geometry was stored without the window system's frame, and is given back the same way.
        if (placement.position) setGeometry(QRect(*placement.position, placement.size));
        else resize(placement.size);
        m_bPlaced = true; // sized by the last run: the next fit keeps it
    }
    return state.maximized;
}

void CMainFrame::SavePlacement() const
{
    QSettings settings;
    WindowState state = WindowSettings::Read(settings);
    const QRect normal = isMaximized() || isFullScreen() ? normalGeometry() : geometry();
    if (normal.isValid()) state.geometry = normal;
    state.maximized = isMaximized();
    WindowSettings::Write(settings, state);
}

void CMainFrame::ScheduleFit()
{
    QTimer::singleShot(0, this, &CMainFrame::FitToView);
}

void CMainFrame::SetMessageText(const QString& text)
{
    m_messagePane->SetText(text);
    m_messagePane->repaint();
}

QString CMainFrame::MessageText() const
{
    return m_messagePane->text();
}

void CMainFrame::ShowIdleMessage()
{
    SetMessageText(StringTable::LoadQString(Ids::IDS_IDLE_MESSAGE));
}

bool CMainFrame::event(QEvent* event)
{
    // Menus and toolbar buttons announce their prompt on hover and an empty text when it ends.
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        if (tip.isEmpty())
            ShowIdleMessage();
        else
            SetMessageText(tip);
        return true;
    }
    return QMainWindow::event(event);
}

void CMainFrame::Leave()
{
    m_bLeaving = true;
    close();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // The close box, the window manager and a logout leave the way Exit does: its questions first, its refusal
    // while the telephone is written, and "stay" when a question is left without an answer. The way out
    // closes the frame itself, through Leave().
    bool exitEnabled = false;
    if (!m_bLeaving && Target() && Target()->OnUpdateCommand(ID_APP_EXIT, exitEnabled)) {
        event->ignore();
        if (!m_bExiting) {
            m_bExiting = true;
            ExecuteCommand(ID_APP_EXIT);
            m_bExiting = false;
        }
        return;
    }
    QMainWindow::closeEvent(event);
    if (event->isAccepted() && m_view)
        SavePlacement();
    // The help window belongs to the program, not to the desktop: it goes when the frame goes.
    if (event->isAccepted() && m_helpWindow)
        m_helpWindow->close();
}

void CMainFrame::showEvent(QShowEvent* event)
{
    // Status bar and toolbar learn their final heights only when shown; the fit before that is a guess.
    QMainWindow::showEvent(event);
    FitToView();
}

QAction* CMainFrame::CommandAction(int id) const
{
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

bool CMainFrame::FrameHandlesCommand(int id) const
{
    switch (id) {
    case ID_HELP_FINDER: case ID_HELP: case ID_CONTEXT_HELP: case ID_DEFAULT_HELP:
    case ID_VIEW_TOOLBAR: case ID_VIEW_STATUS_BAR:
        return true;
    default:
        return false;
    }
}

ICommandTarget* CMainFrame::Target() const
{
    // The form may go before the frame (the program deletes it first); no command must reach it then.
    return m_view ? m_target : nullptr;
}

bool CMainFrame::IsCommandEnabled(int id) const
{
    bool enabled = false;
    if (ICommandTarget* target = Target(); target && target->OnUpdateCommand(id, enabled))
        return enabled;
    if (FrameHandlesCommand(id))
        return true;
    CVRD2EditApp* app = CVRD2EditApp::Instance();
    if (app && app->OnUpdateCommand(id, enabled))
        return enabled;
    // A command that nobody handles is disabled.
    return false;
}

void CMainFrame::UpdateCommandUI()
{
    for (const auto& [id, action] : m_actions) {
        action->setEnabled(IsCommandEnabled(id));
        if (id == ID_VIEW_TOOLBAR)
            action->setChecked(!m_wndToolBar->isHidden());
        else if (id == ID_VIEW_STATUS_BAR)
            action->setChecked(!m_wndStatusBar->isHidden());
    }
}

bool CMainFrame::ExecuteCommand(int id)
{
    // The enabled state is asked afresh: a stale menu, button or an accelerator must not run a dead command.
    UpdateCommandUI();
    if (!IsCommandEnabled(id))
        return false;
    // A new command begins: the result of the one before leaves the message line.
    if (id != ID_VIEW_TOOLBAR && id != ID_VIEW_STATUS_BAR)
        ShowIdleMessage();
    if (ICommandTarget* target = Target(); target && target->OnCommand(id))
        return true;
    if (OnFrameCommand(id))
        return true;
    CVRD2EditApp* app = CVRD2EditApp::Instance();
    return app && app->OnCommand(id);
}

bool CMainFrame::OnFrameCommand(int id)
{
    switch (id) {
    case ID_HELP_FINDER: case ID_HELP: case ID_CONTEXT_HELP: case ID_DEFAULT_HELP:
        OnHelpFinder();
        return true;
    case ID_VIEW_TOOLBAR:
        ToggleBar(m_wndToolBar);
        return true;
    case ID_VIEW_STATUS_BAR:
        ToggleBar(m_wndStatusBar);
        return true;
    default:
        return false;
    }
}

CHelpWindow* CMainFrame::HelpWindow() const
{
    return m_helpWindow.data();
}

void CMainFrame::OnHelpFinder()
{
    if (!m_helpWindow)
        m_helpWindow = new CHelpWindow(this);
    m_helpWindow->ShowContents();
}

void CMainFrame::ToggleBar(QWidget* bar)
{
    // The frame keeps the size that fits the form with both bars: a hidden bar leaves its room empty.
    bar->setVisible(bar->isHidden());
    UpdateCommandUI();
}
