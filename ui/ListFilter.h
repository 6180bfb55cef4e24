#pragma once
// The filter field above the lists: rows whose name or number does not contain the typed text are hidden in
// both lists. A hidden row is never selected, so every command acts on the visible selected rows only; a list
// filled again keeps the filter.
#include <QObject>
#include <QString>

#include <vector>

class QLineEdit;
class QTreeWidget;

class ListFilter : public QObject {
    Q_OBJECT
public:
    // The field belongs to the form; the filter watches it and the lists for as long as it lives.
    ListFilter(QLineEdit* field, std::vector<QTreeWidget*> lists, QObject* parent = nullptr);

    QString Text() const;
    // Hides and shows the rows of every list by the field's text; hidden rows lose their selection.
    void Apply();
    // The same for one list, after it was filled again.
    void Apply(QTreeWidget* list);
    // True when the row's name (column 0) or number (column 1) contains the text.
    static bool RowMatches(const QString& name, const QString& number, const QString& text);

signals:
    // Rows of the list were hidden while selected and lost their selection.
    void selectionPruned(QTreeWidget* list);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Deselects the list's hidden rows; says so through selectionPruned when there were any.
    void DeselectHidden(QTreeWidget* list);

    QLineEdit* m_field;
    std::vector<QTreeWidget*> m_lists;
};
