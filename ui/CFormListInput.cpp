// What the user does in the two lists: which list is active, which transfer button is enabled, clicks, keys,
// context menus and rows dragged from one list onto the other.
#include "model/EntryStore.h"
#include "res/CommandIds.h"
#include "ui/CFormControls.h"
#include "ui/CFormLists.h"
#include "ui/CPreviewRow.h"
#include "ui/ICommandTarget.h"
#include "ui/ListDragDrop.h"
#include "ui/ListKeyboard.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>

namespace {
struct MenuItem {
    int id;
    const char* text;
};

const MenuItem kPhoneMenu[] = {
    {ID_COPY_TO_AB, "Copy selected entries to the PAB\xC2\xB4s list"}, {ID_UPLOAD_TO_PHONE, "Upload displayed list to telephone"},
    {ID_EDIT_SELECT_ALL, "Select all entries of the list"}, {ID_EDIT_CLEAR, "Delete selected entries"},
    {ID_EDIT_COPY, "Copy to clipboard"}, {ID_EDIT_PASTE, "Paste from clipboard"}, {ID_EDIT_ENTRY, "Edit entry ..."},
    {ID_ADD_ENTRY, "Add new entry ..."}};
const MenuItem kAbMenu[] = {
    {ID_COPY_TO_PHONE, "Copy selected entries to the telephone book list"},
    {ID_UPLOAD_TO_AB, "Upload PAB-list to personal address book"}, {ID_EDIT_SELECT_ALL, "Select all entries of the list"},
    {ID_EDIT_CLEAR, "Delete selected entries"}, {ID_EDIT_COPY, "Copy to clipboard"},
    {ID_EDIT_PASTE, "Paste from clipboard"}, {ID_EDIT_ENTRY, "Edit entry ..."}, {ID_ADD_ENTRY, "Add new entry ..."}};

bool IsEnabled(const ICommandTarget& commands, int id)
{
    bool enabled = false;
    return commands.OnUpdateCommand(id, enabled) && enabled;
}
}

void CFormLists::ConnectListInput(QWidget* form)
{
    QTreeWidget* phone = m_controls.m_lcPhone;
    QTreeWidget* addressBook = m_controls.m_lcAddressBook;
    new ListKeyboard(phone, addressBook,
                     {[this](int list) { OnKeyDownInList(list); },
                      // A command key in a list acts on that list, never on the other one; with no list active
                      // (after a sort, a transfer, an emptied preview name) the commands stay disabled.
                      [this](int list) {
                          if (m_store.m_nActiveList != LIST_NONE && m_store.m_nActiveList != list) OnKeyDownInList(list);
                      },
                      [this](int) { ShowContextMenu(QContextMenuEvent(QContextMenuEvent::Keyboard, QPoint(), QPoint())); },
                      [this](int list) { OnTabIntoList(list); }},
                     this);
    for (QTreeWidget* list : {phone, addressBook}) {
        list->viewport()->installEventFilter(this);
        list->setContextMenuPolicy(Qt::NoContextMenu); // the form shows the menu of the active list
        connect(list, &QTreeWidget::itemSelectionChanged, this, [this, list] {
            if (!m_preview.IsHeld() && list->selectionModel()->hasSelection()) m_preview.FillPreview();
        });
    }
    connect(phone->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        m_store.m_nPhoneSort = column;
        FillPhoneList(false); // sorted, nothing selected, no list active, the preview row emptied
    });
    connect(addressBook->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        m_store.m_nAbSort = column;
        FillAbList(false);
    });
    // The Delete key deletes the selected entries wherever the focus is on the form, except in the four preview
    // edits: a line edit claims the key for its text before a shortcut sees it.
    auto* deleteKey = new QShortcut(QKeySequence(Qt::Key_Delete), form, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(deleteKey, &QShortcut::activated, this, [this] {
        if (IsEnabled(m_commands, ID_EDIT_CLEAR)) m_commands.OnCommand(ID_EDIT_CLEAR);
    });
}

bool CFormLists::eventFilter(QObject* watched, QEvent* event)
{
    // Only the viewports are watched here: the presses land on them, not on the lists.
    const int list = watched == m_controls.m_lcPhone->viewport()           ? LIST_PHONE
        : watched == m_controls.m_lcAddressBook->viewport()                ? LIST_AB
                                                                           : LIST_NONE;
    if (list == LIST_NONE) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        OnClickList(list, static_cast<QMouseEvent*>(event)->position().toPoint());
    } else if (event->type() == QEvent::MouseButtonDblClick) {
        OnDblClickList(list);
        // The edit may have refilled the list: the row now under the pointer is another entry, which the list's
        // own double-click handling would select.
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void CFormLists::OnClickList(int list, const QPoint& position)
{
    SetTransferButtonsFor(list);
    if (list == LIST_PHONE) {
        // A click on empty space makes the list active but leaves the preview as it was.
        if (m_controls.m_lcPhone->itemAt(position)) m_preview.FillPreview();
    } else if (m_store.CurrentPhoneTable().m_bReadOnly == 0) {
        m_preview.FillPreview();
    }
}

void CFormLists::OnDblClickList(int list)
{
    SetTransferButtonsFor(list);
    if (m_controls.List(list)->topLevelItemCount() > 0) m_commands.OnCommand(ID_EDIT_ENTRY);
}

void CFormLists::OnKeyDownInList(int list)
{
    // A list that becomes active by a key shows its own selection in the preview: the transfer buttons must
    // never carry the other list's copies back where they came from.
    const bool newlyActive = m_store.m_nActiveList != list;
    if (list == LIST_PHONE) {
        m_controls.m_btnToAddressBook->setEnabled(true);
        m_controls.m_btnToPhone->setEnabled(false);
    } else {
        m_controls.m_btnToPhone->setEnabled(m_store.CurrentPhoneTable().m_bReadOnly == 0);
        m_controls.m_btnToAddressBook->setEnabled(false);
    }
    m_store.m_nActiveList = list;
    if (newlyActive) m_preview.FillPreview();
}

// A list entered from the keyboard becomes the active list with a selection, so that the editing commands act on
// it at once: its current row (else its first) is selected when nothing is.
void CFormLists::OnTabIntoList(int list)
{
    QTreeWidget* widget = m_controls.List(list);
    const bool wasActive = m_store.m_nActiveList == list;
    SetTransferButtonsFor(list);
    if (widget->topLevelItemCount() > 0 && !widget->selectionModel()->hasSelection()) {
        QTreeWidgetItem* row = widget->currentItem() ? widget->currentItem() : widget->topLevelItem(0);
        widget->setCurrentItem(row, 0, QItemSelectionModel::Current);
        row->setSelected(true); // the preview follows the selection
        widget->scrollToItem(row);
    } else if (!wasActive) {
        m_preview.FillPreview();
    }
}

void CFormLists::ShowContextMenu(const QContextMenuEvent& event)
{
    const QTreeWidget* active = ActiveListWidget();
    if (!active || active->topLevelItemCount() == 0) return;
    const MenuItem* items = m_store.m_nActiveList == LIST_PHONE ? kPhoneMenu : kAbMenu;
    QMenu menu(QStringLiteral("Context"), m_controls.m_lcPhone->parentWidget());
    menu.setObjectName(items == kPhoneMenu ? QStringLiteral("menu136") : QStringLiteral("menu138"));
    for (int i = 0; i < 8; ++i) {
        QAction* action = menu.addAction(QString::fromUtf8(items[i].text));
        action->setData(items[i].id);
        action->setEnabled(IsEnabled(m_commands, items[i].id));
    }
    // From the keyboard the menu opens at the active list's current row, wherever the mouse is.
    const bool fromKeyboard = event.reason() == QContextMenuEvent::Keyboard;
    QAction* chosen = menu.exec(fromKeyboard ? ListKeyboard::MenuPoint(active) : event.globalPos());
    if (chosen) m_commands.OnCommand(chosen->data().toInt());
}

void CFormLists::InstallListDragDrop()
{
    auto* dragDrop = new ListDragDrop(m_controls.m_lcPhone, m_controls.m_lcAddressBook, this);
    dragDrop->setObjectName(QStringLiteral("listDragDrop"));
    // As a click on the rows would: the list becomes the active one and the preview holds its selection.
    dragDrop->SetDragStartHandler([this](int list) {
        SetTransferButtonsFor(list);
        if (list == LIST_PHONE || m_store.CurrentPhoneTable().m_bReadOnly == 0) m_preview.FillPreview();
    });
    dragDrop->SetDropHandler([this](int source) { OnDropFromList(source); });
}

void CFormLists::OnDropFromList(int sourceList)
{
    // The preview holds the copies of the list the drag came from only while that list is the active one.
    if (m_store.m_nActiveList != sourceList) return;
    // The arrow button towards the other list, with its refusals: disabled for a read-only directory, and
    // refused with a message while the telephone works.
    QPushButton* button = sourceList == LIST_PHONE ? m_controls.m_btnToAddressBook : m_controls.m_btnToPhone;
    if (button->isEnabled()) button->click();
}
