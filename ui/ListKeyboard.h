#pragma once
// The keyboard in the two entry lists. A key counts as working in a list only when it selects or acts there
// (moving the current row, Space, Enter, Delete, the editing accelerators, typed letters); Tab, Shift+Tab and
// a modifier pressed alone only pass through. The Menu key and Shift+F10 open the list's context menu, and a
// list entered by Tab or by its label's mnemonic is announced, so that the form can make it the active list.
#include <QObject>

#include <functional>

class QKeyEvent;
class QPoint;
class QTreeWidget;

class ListKeyboard : public QObject {
    Q_OBJECT
public:
    struct Handlers {
        std::function<void(int list)> actingKey;   // before the list itself handles the key
        std::function<void(int list)> commandKey;  // a key an accelerator may take, asked before it does
        std::function<void(int list)> menuKey;     // the key is consumed; the menu is the form's business
        std::function<void(int list)> enteredByKeyboard;
    };

    // phoneList and abList are watched as lists 1 and 2; the watcher lives as long as its parent.
    ListKeyboard(QTreeWidget* phoneList, QTreeWidget* abList, Handlers handlers, QObject* parent);

    static bool SelectsOrActs(const QKeyEvent& key);
    static bool OpensContextMenu(const QKeyEvent& key);
    // Where a menu opened from the keyboard stands: at the list's current row (its first selected row, else the
    // top of the list), in screen coordinates.
    static QPoint MenuPoint(const QTreeWidget* list);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTreeWidget* m_lcPhone;
    QTreeWidget* m_lcAddressBook;
    Handlers m_handlers;
};
