// The form as a window people live in: it grows with the frame, filters its lists, shows whole texts of cut
// cells, marks unsaved work in the caption, clears stale results from the status line, and remembers its lists,
// directory and folder between runs.
#include "model/Directories.h"
#include "phone/TelephoneDirectories.h"
#include "res/CommandIds.h"
#include "res/StringTable.h"
#include "ui/CDlgView.h"
#include "ui/CDirectoryCombo.h"
#include "ui/CFolderCombo.h"
#include "ui/CPreviewHeader.h"
#include "ui/CellToolTips.h"
#include "ui/FormLayout.h"
#include "ui/IFormFrame.h"
#include "ui/ListFilter.h"
#include "ui/UnsavedMark.h"
#include "ui/WindowSettings.h"

#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QSettings>
#include <QTreeWidget>

#include <algorithm>

namespace {
constexpr int kPreviewRowUnits = 224; // the preview row's width in dialog units, less 4 pixels

ListState StateOf(const QTreeWidget* list, int sortColumn)
{
    ListState state;
    std::array<int, 4> widths{};
    for (int column = 0; column < 4; ++column) widths[static_cast<size_t>(column)] = list->columnWidth(column);
    state.columnWidths = widths;
    state.sortColumn = sortColumn;
    return state;
}

void ApplyColumns(QTreeWidget* list, const ListState& state)
{
    if (!state.columnWidths) return;
    for (int column = 0; column < 4; ++column) list->setColumnWidth(column, (*state.columnWidths)[static_cast<size_t>(column)]);
}
}

void CDlgView::CreateWindowParts()
{
    m_edFilter = new QLineEdit(this);
    m_edFilter->setObjectName(QStringLiteral("editFilter"));
    m_edFilter->setAccessibleName(QStringLiteral("Filter"));
    m_edFilter->setAccessibleDescription(QStringLiteral("Shows only the entries whose name or number contains the text"));
    m_edFilter->setPlaceholderText(QStringLiteral("Filter by name or number"));
    m_edFilter->setClearButtonEnabled(true);
    m_filter = new ListFilter(m_edFilter, {m_lcPhone, m_lcAddressBook}, this);
    // Rows the filter hid lost their selection: the preview row must not keep copies of them.
    connect(m_filter, &ListFilter::selectionPruned, this, [this](QTreeWidget* list) {
        if (list == ActiveListWidget()) FillPreview();
    });
    setTabOrder(m_edFilter, m_cbDirectory);
    for (QTreeWidget* list : {m_lcPhone, m_lcAddressBook}) CellToolTips::Install(list);

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
    FitPreviewRowToWidth();
}

void CDlgView::FitPreviewRowToWidth()
{
    if (m_nPreviewWidth <= 0) return; // the preview row's widths come with the initial update
    const DialogUnits du(font());
    const FormLayout layout(du);
    const int extra = std::max(0, width() - layout.TemplateSize().width());
    const int accounted = m_nPreviewWidth - (du.X(kPreviewRowUnits) - 4);
    const int delta = extra - accounted;
    if (delta != 0) {
        m_nPreviewWidth += delta;
        m_anPreviewWidth = FormLayout::GrowPreviewColumns(m_anPreviewWidth, delta);
    }
    // At the template's widths the edits stand where the template puts them; otherwise under their headings.
    if (m_anPreviewWidth != layout.TemplatePreviewColumns()) LayoutPreviewRow();
    m_previewHeader->update();
}

void CDlgView::ClearPhoneList()
{
    if (m_store->m_nActiveList == LIST_PHONE) ClearPreviewRow();
    m_lcPhone->clear();
}

void CDlgView::ClearStaleStatus()
{
    SetStatusText(StringTable::LoadString(Ids::IDS_IDLE_MESSAGE));
}

bool CDlgView::HasUnsavedChanges() const
{
    if (m_store->HasFlag(VF_PHONE_MODIFIED) || m_store->HasFlag(VF_AB_MODIFIED)) return true;
    // A write that went out unanswered leaves records whose state on the telephone is unknown: not yet saved.
    for (int directory = 0; directory < kDirectoryCount; ++directory)
        if (!m_phone->Unknown(directory).empty()) return true;
    return false;
}

void CDlgView::OnSavePending()
{
    // As the two save buttons: the address book at once, the telephone directory in the background.
    if (m_store->HasFlag(VF_AB_MODIFIED)) OnSaveAddressBook();
    if (m_store->HasFlag(VF_PHONE_MODIFIED) && !m_phone->IsBusy()) OnSaveToPhone();
}

void CDlgView::RestoreListState()
{
    QSettings settings;
    const WindowState state = WindowSettings::Read(settings);
    ApplyColumns(m_lcPhone, state.phoneList);
    ApplyColumns(m_lcAddressBook, state.abList);
    if (state.phoneList.sortColumn) m_store->m_nPhoneSort = *state.phoneList.sortColumn;
    if (state.abList.sortColumn) m_store->m_nAbSort = *state.abList.sortColumn;
}

void CDlgView::ChooseLastFolder()
{
    QSettings settings;
    const WindowState state = WindowSettings::Read(settings);
    if (!state.folder || m_cbFolder->count() == 0) return;
    const int item = m_cbFolder->findText(*state.folder, Qt::MatchExactly);
    // A folder that no longer exists leaves the book's own folder shown.
    if (item <= 0 || item == m_cbFolder->currentIndex()) return;
    m_cbFolder->setCurrentIndex(item);
    OnSelchangeFolder();
}

int CDlgView::FirstDirectoryToRead() const
{
    // An automatic read list decides by itself; otherwise the directory shown last, else the own numbers.
    if (m_store->m_nAutoReadMask != 0) return DIR_OWN;
    QSettings settings;
    return WindowSettings::Read(settings).directory.value_or(DIR_OWN);
}

void CDlgView::SaveWindowState() const
{
    QSettings settings;
    WindowState state = WindowSettings::Read(settings);
    state.phoneList = StateOf(m_lcPhone, m_store->m_nPhoneSort);
    state.abList = StateOf(m_lcAddressBook, m_store->m_nAbSort);
    if (m_store->m_bPhoneDataRead) state.directory = m_store->m_nCurDir;
    if (m_cbFolder->count() > 0) state.folder = m_cbFolder->currentText();
    WindowSettings::Write(settings, state);
}

QTreeWidget* CDlgView::ActiveListWidget() const
{
    return m_store->m_nActiveList == LIST_PHONE ? m_lcPhone : m_store->m_nActiveList == LIST_AB ? m_lcAddressBook : nullptr;
}
