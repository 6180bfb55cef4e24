#include "ui/ListKeyboard.h"

#include "model/ViewFlags.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QTreeWidget>
#include <QWidget>

namespace {
bool IsNavigationOrAction(int key)
{
    switch (key) {
    case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_Left: case Qt::Key_Right:
    case Qt::Key_Home: case Qt::Key_End: case Qt::Key_PageUp: case Qt::Key_PageDown:
    case Qt::Key_Space: case Qt::Key_Select: case Qt::Key_Enter: case Qt::Key_Return:
    case Qt::Key_Delete: case Qt::Key_Insert:
        return true;
    default:
        return false;
    }
}

// Ctrl with a letter of an editing command: select all, copy, cut, paste, edit entry, add entry.
bool IsEditingAccelerator(int key, Qt::KeyboardModifiers modifiers)
{
    if ((modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != Qt::ControlModifier) return false;
    switch (key) {
    case Qt::Key_A: case Qt::Key_C: case Qt::Key_X: case Qt::Key_V: case Qt::Key_E: case Qt::Key_I:
        return true;
    default:
        return false;
    }
}

// A typed character moves the current row to the next entry that starts with it.
bool IsTypedCharacter(const QKeyEvent& key)
{
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    const QString text = key.text();
    return !text.isEmpty() && text.at(0).isPrint();
}
}

ListKeyboard::ListKeyboard(QTreeWidget* phoneList, QTreeWidget* abList, Handlers handlers, QObject* parent)
    : QObject(parent), m_lcPhone(phoneList), m_lcAddressBook(abList), m_handlers(std::move(handlers))
{
    m_lcPhone->installEventFilter(this);
    m_lcAddressBook->installEventFilter(this);
}

bool ListKeyboard::SelectsOrActs(const QKeyEvent& key)
{
    if (key.modifiers() & (Qt::AltModifier | Qt::MetaModifier)) return false; // mnemonics and the menu bar
    return IsNavigationOrAction(key.key()) || IsEditingAccelerator(key.key(), key.modifiers())
        || OpensContextMenu(key) || IsTypedCharacter(key);
}

bool ListKeyboard::OpensContextMenu(const QKeyEvent& key)
{
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    return (key.key() == Qt::Key_Menu && modifiers == Qt::NoModifier)
        || (key.key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier);
}

QPoint ListKeyboard::MenuPoint(const QTreeWidget* list)
{
    const QTreeWidgetItem* row = list->currentItem();
    if (!row || !row->isSelected()) {
        const QList<QTreeWidgetItem*> selected = list->selectedItems();
        row = selected.isEmpty() ? row : selected.first();
    }
    const QRect rect = row ? list->visualItemRect(row) : QRect();
    // Beside the row's first column, as if the row had been clicked there; a row out of view counts as the top.
    const QPoint at = rect.isValid() && list->viewport()->rect().intersects(rect)
        ? QPoint(rect.left() + rect.height(), rect.center().y()) : QPoint(0, 0);
    return list->viewport()->mapToGlobal(at);
}

bool ListKeyboard::eventFilter(QObject* watched, QEvent* event)
{
    const int list = watched == m_lcPhone ? LIST_PHONE : watched == m_lcAddressBook ? LIST_AB : LIST_NONE;
    if (list == LIST_NONE) return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
        // Keys bound to an accelerator (Delete, Ctrl+A, ...) never arrive as a key press: the list learns of
        // them when the accelerators are asked whether the focus wants the key, before the command runs.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!SelectsOrActs(*key)) break;
        if (event->type() == QEvent::ShortcutOverride) {
            // Only the list that has the focus is asked about a key it may leave to an accelerator.
            if (static_cast<QWidget*>(watched)->hasFocus() && m_handlers.commandKey) m_handlers.commandKey(list);
            break;
        }
        if (m_handlers.actingKey) m_handlers.actingKey(list);
        if (event->type() == QEvent::KeyPress && OpensContextMenu(*key)) {
            if (m_handlers.menuKey) m_handlers.menuKey(list);
            return true;
        }
        break;
    }
    case QEvent::FocusIn: {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason)
            && m_handlers.enteredByKeyboard)
            m_handlers.enteredByKeyboard(list);
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
