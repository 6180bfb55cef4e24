// What the user does in the two lists and the preview row: which list is active, which transfer button is
// enabled, the working copies in the preview row and the rules that correct them for their destination.
#include "model/FieldRules.h"
#include "model/TelephoneName.h"
#include "model/Questions.h"
#include "res/CommandIds.h"
#include "res/ErrorClasses.h"
#include "res/StringTable.h"
#include "ui/CDlgView.h"
#include "ui/CPreviewCombo.h"
#include "ui/ListKeyboard.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>

#include <algorithm>

namespace {
struct MenuItem {
    int id;
    const char* text;
};
}

void CDlgView::ConnectPaneHandlers()
{
    new ListKeyboard(m_lcPhone, m_lcAddressBook,
                     {[this](int list) { OnKeyDownInList(list); },
                      // A command key in a list acts on that list, never on the other one; with no list active
                      // (after a sort, a transfer, an emptied preview name) the commands stay disabled.
                      [this](int list) {
                          if (m_store->m_nActiveList != LIST_NONE && m_store->m_nActiveList != list) OnKeyDownInList(list);
                      },
                      [this](int) {
                          QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(), QPoint());
                          contextMenuEvent(&menuKey);
                      },
                      [this](int list) { OnTabIntoList(list); }},
                     this);
    for (QTreeWidget* list : {m_lcPhone, m_lcAddressBook}) {
        list->viewport()->installEventFilter(this);
        list->installEventFilter(this);
        list->setContextMenuPolicy(Qt::NoContextMenu); // the form shows the menu of the active list
        connect(list, &QTreeWidget::itemSelectionChanged, this, [this, list] {
            if (!m_bPreviewHeld && list->selectionModel()->hasSelection()) FillPreview();
        });
    }
    connect(m_lcPhone->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        m_store->m_nPhoneSort = column;
        FillPhoneList(false); // sorted, nothing selected, no list active, the preview row emptied
    });
    connect(m_lcAddressBook->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        m_store->m_nAbSort = column;
        FillAbList(false);
    });
    connect(m_cbPreview, qOverload<int>(&QComboBox::activated), this, [this] {
        ShowPreviewEntry();
        m_edName->setFocus();
        m_edName->selectAll();
    });
    m_cbPreview->installEventFilter(this);
    connect(m_cbPreview, &CPreviewCombo::droppedDown, this, &CDlgView::ShowPreviewEntry);
    connect(m_cbPreview, &CPreviewCombo::closedUp, this, &CDlgView::ShowPreviewEntry);
    connect(m_edName, &QLineEdit::textChanged, this, [this] {
        OnUpdatePreviewName();
        OnChangePreviewName();
    });
    connect(m_edNumber, &QLineEdit::textChanged, this, [this] {
        OnUpdatePreviewNumber();
        OnChangePreviewNumber();
    });
    connect(m_edIndex, &QLineEdit::textChanged, this, &CDlgView::OnChangePreviewIndex);
    connect(m_edStatus, &QLineEdit::textChanged, this, &CDlgView::OnChangePreviewStatus);
    connect(m_btnToAddressBook, &QPushButton::clicked, this, &CDlgView::OnCopyToAddressBook);
    connect(m_btnToPhone, &QPushButton::clicked, this, &CDlgView::OnCopyToPhone);
    // The Delete key deletes the selected entries wherever the focus is on the form, except in the four preview
    // edits: a line edit claims the key for its text before a shortcut sees it.
    auto* deleteKey = new QShortcut(QKeySequence(Qt::Key_Delete), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(deleteKey, &QShortcut::activated, this, [this] {
        bool enabled = false;
        if (OnUpdateCommand(ID_EDIT_CLEAR, enabled) && enabled) OnDeleteEntries();
    });
}

bool CDlgView::eventFilter(QObject* watched, QEvent* event)
{
    const bool phone = watched == m_lcPhone || watched == m_lcPhone->viewport();
    const bool addressBook = watched == m_lcAddressBook || watched == m_lcAddressBook->viewport();
    if (phone || addressBook) {
        const int list = phone ? LIST_PHONE : LIST_AB;
        if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
                   watched != m_lcPhone && watched != m_lcAddressBook) {
            OnClickList(list, static_cast<QMouseEvent*>(event)->position().toPoint());
        } else if (event->type() == QEvent::MouseButtonDblClick && watched != m_lcPhone && watched != m_lcAddressBook) {
            OnDblClickList(list);
            // The edit may have refilled the list: the row now under the pointer is another entry, which the
            // list's own double-click handling would select.
            return true;
        }
    } else if (watched == m_cbPreview && event->type() == QEvent::FocusOut) {
        ShowPreviewEntry();
    }
    return QWidget::eventFilter(watched, event);
}

void CDlgView::SetTransferButtonsFor(int list)
{
    const bool phoneWritable = m_store->CurrentPhoneTable().m_bReadOnly == 0;
    if (list == LIST_PHONE) {
        m_btnToAddressBook->setEnabled(m_lcPhone->topLevelItemCount() > 0);
        m_btnToPhone->setEnabled(false);
    } else {
        m_btnToPhone->setEnabled(phoneWritable && m_lcAddressBook->topLevelItemCount() > 0);
        m_btnToAddressBook->setEnabled(false);
    }
    m_store->m_nActiveList = list;
}

void CDlgView::OnClickList(int list, const QPoint& position)
{
    SetTransferButtonsFor(list);
    if (list == LIST_PHONE) {
        // A click on empty space makes the list active but leaves the preview as it was.
        if (m_lcPhone->itemAt(position)) FillPreview();
    } else if (m_store->CurrentPhoneTable().m_bReadOnly == 0) {
        FillPreview();
    }
}

void CDlgView::OnDblClickList(int list)
{
    SetTransferButtonsFor(list);
    const QTreeWidget* widget = list == LIST_PHONE ? m_lcPhone : m_lcAddressBook;
    if (widget->topLevelItemCount() > 0) OnEditEntry();
}

void CDlgView::OnKeyDownInList(int list)
{
    // A list that becomes active by a key shows its own selection in the preview: the transfer buttons must
    // never carry the other list's copies back where they came from.
    const bool newlyActive = m_store->m_nActiveList != list;
    if (list == LIST_PHONE) {
        m_btnToAddressBook->setEnabled(true);
        m_btnToPhone->setEnabled(false);
    } else {
        m_btnToPhone->setEnabled(m_store->CurrentPhoneTable().m_bReadOnly == 0);
        m_btnToAddressBook->setEnabled(false);
    }
    m_store->m_nActiveList = list;
    if (newlyActive) FillPreview();
}

// A list entered from the keyboard becomes the active list with a selection, so that the editing commands act on
// it at once: its current row (else its first) is selected when nothing is.
void CDlgView::OnTabIntoList(int list)
{
    QTreeWidget* widget = list == LIST_PHONE ? m_lcPhone : m_lcAddressBook;
    const bool wasActive = m_store->m_nActiveList == list;
    SetTransferButtonsFor(list);
    if (widget->topLevelItemCount() > 0 && !widget->selectionModel()->hasSelection()) {
        QTreeWidgetItem* row = widget->currentItem() ? widget->currentItem() : widget->topLevelItem(0);
        widget->setCurrentItem(row, 0, QItemSelectionModel::Current);
        row->setSelected(true); // the preview follows the selection
        widget->scrollToItem(row);
    } else if (!wasActive) {
        FillPreview();
    }
}

void CDlgView::FillPreview()
{
    m_store->m_nSuspendedList = LIST_NONE;
    const QTreeWidget* source = m_store->m_nActiveList == LIST_PHONE ? m_lcPhone : m_store->m_nActiveList == LIST_AB ? m_lcAddressBook : nullptr;
    if (!source) return;
    m_cbPreview->clear();
    m_cbPreview->setEnabled(true);
    int k = 0;
    for (int row = 0; row < source->topLevelItemCount() && k < kTableSlots; ++row) {
        const QTreeWidgetItem* item = source->topLevelItem(row);
        const DirEntry* entry = EntryOfItem(item);
        if (!item->isSelected() || !entry) continue;
        DirEntry& copy = m_store->m_previewEntries[static_cast<size_t>(k)];
        copy.m_nIndex = entry->m_nIndex;
        copy.m_strName = entry->m_strName;
        // A copy bound for the telephone shows at once what the telephone will hold of its name, every copy in
        // the list and not only the one in the edits.
        if (m_store->m_nActiveList == LIST_AB && m_store->m_nNameLen > 0)
            copy.m_strName = TelephoneName::ForTelephone(copy.m_strName, m_store->PhoneNameLimits());
        copy.m_strNumber = entry->m_strNumber;
        copy.m_strStatus = entry->m_strStatus;
        m_cbPreview->AddCopy(QString::fromStdString(copy.m_strName), &copy);
        ++k;
    }
    ShowPreviewEntry();
}

void CDlgView::SelectListItem(QTreeWidget* list, int position, int listKind)
{
    if (position == -1 || list->topLevelItemCount() == 0) return;
    position = std::clamp(position, 0, list->topLevelItemCount() - 1);
    QTreeWidgetItem* item = list->topLevelItem(position);
    item->setSelected(true);
    list->setCurrentItem(item, 0, QItemSelectionModel::Current);
    list->scrollToItem(item);
    m_btnToAddressBook->setEnabled(listKind == LIST_PHONE);
    m_btnToPhone->setEnabled(listKind == LIST_AB);
    m_store->m_nActiveList = listKind;
    FillPreview();
}

void CDlgView::SelectPhoneItem(int position)
{
    SelectListItem(m_lcPhone, position, LIST_PHONE);
}

void CDlgView::SelectAbItem(int position)
{
    SelectListItem(m_lcAddressBook, position, LIST_AB);
}

void CDlgView::LayoutPreviewRow()
{
    const QRect name = m_edName->geometry();
    const int w0 = m_anPreviewWidth[0], w1 = m_anPreviewWidth[1], w2 = m_anPreviewWidth[2], w3 = m_anPreviewWidth[3];
    m_edName->setGeometry(name.left(), name.top(), w0 + 2, name.height());
    m_edName->raise();
    m_edNumber->setGeometry(name.left() + w0 + 2, name.top(), w1, name.height());
    m_edIndex->setGeometry(name.left() + w0 + 2 + w1, name.top(), w2 + 2, name.height());
    m_edStatus->setGeometry(name.left() + w0 + 2 + w1 + w2 + 2, name.top(), std::max(0, w3 - 4), name.height());
}

void CDlgView::FocusPreviewField(int x)
{
    const int w0 = m_anPreviewWidth[0], w1 = m_anPreviewWidth[1], w2 = m_anPreviewWidth[2];
    QLineEdit* edit = x < w0 ? m_edName : x < w0 + w1 ? m_edNumber : x < w0 + w1 + w2 ? m_edIndex : m_edStatus;
    edit->setFocus();
    edit->selectAll();
}

void CDlgView::contextMenuEvent(QContextMenuEvent* event)
{
    static const MenuItem kPhoneMenu[] = {
        {ID_COPY_TO_AB, "Copy selected entries to the PAB\xC2\xB4s list"}, {ID_UPLOAD_TO_PHONE, "Upload displayed list to telephone"},
        {ID_EDIT_SELECT_ALL, "Select all entries of the list"}, {ID_EDIT_CLEAR, "Delete selected entries"},
        {ID_EDIT_COPY, "Copy to clipboard"}, {ID_EDIT_PASTE, "Paste from clipboard"}, {ID_EDIT_ENTRY, "Edit entry ..."},
        {ID_ADD_ENTRY, "Add new entry ..."}};
    static const MenuItem kAbMenu[] = {
        {ID_COPY_TO_PHONE, "Copy selected entries to the telephone book list"},
        {ID_UPLOAD_TO_AB, "Upload PAB-list to personal address book"}, {ID_EDIT_SELECT_ALL, "Select all entries of the list"},
        {ID_EDIT_CLEAR, "Delete selected entries"}, {ID_EDIT_COPY, "Copy to clipboard"},
        {ID_EDIT_PASTE, "Paste from clipboard"}, {ID_EDIT_ENTRY, "Edit entry ..."}, {ID_ADD_ENTRY, "Add new entry ..."}};
    const MenuItem* items = nullptr;
    if (m_store->m_nActiveList == LIST_PHONE && m_lcPhone->topLevelItemCount() > 0)
        items = kPhoneMenu;
    else if (m_store->m_nActiveList == LIST_AB && m_lcAddressBook->topLevelItemCount() > 0)
        items = kAbMenu;
    if (!items) return;
    QMenu menu(QStringLiteral("Context"), this);
    menu.setObjectName(items == kPhoneMenu ? QStringLiteral("menu136") : QStringLiteral("menu138"));
    for (int i = 0; i < 8; ++i) {
        QAction* action = menu.addAction(QString::fromUtf8(items[i].text));
        action->setData(items[i].id);
        bool enabled = false;
        action->setEnabled(OnUpdateCommand(items[i].id, enabled) && enabled);
    }
    // From the keyboard the menu opens at the active list's current row, wherever the mouse is.
    const bool fromKeyboard = event->reason() == QContextMenuEvent::Keyboard;
    QAction* chosen = menu.exec(fromKeyboard ? ListKeyboard::MenuPoint(ActiveListWidget()) : event->globalPos());
    if (chosen) OnCommand(chosen->data().toInt());
}
