// The form as a window people live in: it grows with the frame, marks unsaved work in the caption, clears stale
// results from the status line, and remembers its lists, directory and folder between runs.
#include "model/Directories.h"
#include "model/EntryStore.h"
#include "pab/AddressBook.h"
#include "phone/TelephoneDirectories.h"
#include "res/CommandIds.h"
#include "res/StringTable.h"
#include "ui/CDlgView.h"
#include "ui/CFolderCombo.h"
#include "ui/CFormControls.h"
#include "ui/CFormHost.h"
#include "ui/CFormLists.h"
#include "ui/CPreviewRow.h"
#include "ui/FormLayout.h"
#include "ui/IFormFrame.h"
#include "ui/UnsavedMark.h"
#include "ui/WindowSettings.h"

#include <QMenu>
#include <QPushButton>
#include <QResizeEvent>
#include <QSettings>

void CDlgView::InstallWindowParts()
{
    new UnsavedMark([this] { return HasUnsavedChanges(); },
                    [this](const QString& title) {
                        if (m_pFrame) m_pFrame->SetWindowTitle(title);
                        else window()->setWindowTitle(title);
                    },
                    this);
    for (QPushButton* button : findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly))
        connect(button, &QPushButton::pressed, this, &CDlgView::ClearStaleStatus);
    LayOutControls();
}

// The folder combo box's own menu: the distribution list commands.
void CDlgView::InstallFolderMenu()
{
    CFolderCombo* combo = m_controls->m_cbFolder;
    combo->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(combo, &QWidget::customContextMenuRequested, this, [this, combo](const QPoint& at) {
        QMenu menu(QStringLiteral("Folder"), this);
        menu.setObjectName(QStringLiteral("folderMenu"));
        const std::pair<int, const char*> items[] = {{ID_FILE_NEW_FOLDER, "&New distribution list..."},
                                                     {ID_FILE_RENAME_LIST, "&Rename Distribution List..."},
                                                     {ID_FILE_DELETE_LIST, "&Delete Distribution List..."}};
        for (const auto& [id, text] : items) {
            QAction* action = menu.addAction(QString::fromUtf8(text));
            action->setData(id);
            bool enabled = false;
            action->setEnabled(OnUpdateCommand(id, enabled) && enabled);
        }
        if (QAction* chosen = menu.exec(combo->mapToGlobal(at))) OnCommand(chosen->data().toInt());
    });
}

void CDlgView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOutControls();
}

void CDlgView::LayOutControls()
{
    const FormLayout layout{DialogUnits(font())};
    for (const FormLayout::Placement& placement : layout.Place(size()))
        if (auto* control = findChild<QWidget*>(placement.name, Qt::FindDirectChildrenOnly))
            control->setGeometry(placement.rect);
    if (m_preview) m_preview->FitToWidth(width(), font());
}

void CDlgView::ClearStaleStatus()
{
    m_host->SetStatusText(StringTable::LoadString(Ids::IDS_IDLE_MESSAGE));
}

bool CDlgView::HasUnsavedChanges() const
{
    if (m_store->HasFlag(VF_PHONE_MODIFIED) || m_store->HasFlag(VF_AB_MODIFIED)) return true;
    // A write that went out unanswered leaves records whose state on the telephone is unknown: not yet saved.
    for (int directory = 0; directory < kDirectoryCount; ++directory)
        if (!m_phone->Unknown(directory).empty()) return true;
    return false;
}

void CDlgView::ChooseLastFolder()
{
    QSettings settings;
    const WindowState state = WindowSettings::Read(settings);
    CFolderCombo* combo = m_controls->m_cbFolder;
    if (!state.folder || combo->count() == 0) return;
    const int item = combo->findText(*state.folder, Qt::MatchExactly);
    // A folder that no longer exists leaves the book's own folder shown.
    if (item <= 0 || item == combo->currentIndex()) return;
    combo->setCurrentIndex(item);
    OnSelchangeFolder();
}

void CDlgView::StartFirstPhoneRead()
{
    // An automatic read list decides by itself; otherwise the directory shown last, else the own numbers.
    int directory = DIR_OWN;
    if (m_store->m_nAutoReadMask == 0) {
        QSettings settings;
        directory = WindowSettings::Read(settings).directory.value_or(DIR_OWN);
    }
    m_phone->ReadDirectory(directory);
}

void CDlgView::SaveWindowState() const
{
    QSettings settings;
    WindowState state = WindowSettings::Read(settings);
    m_lists->SaveListState(state);
    if (m_store->m_bPhoneDataRead) state.directory = m_store->m_nCurDir;
    if (m_controls->m_cbFolder->count() > 0) state.folder = m_controls->m_cbFolder->currentText();
    WindowSettings::Write(settings, state);
}
