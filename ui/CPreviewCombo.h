#pragma once
#include <QComboBox>

struct DirEntry;

// The preview combo box: one item per working copy of a selected entry; item k carries slot k of the copies.
class CPreviewCombo : public QComboBox {
    Q_OBJECT
public:
    explicit CPreviewCombo(QWidget* parent = nullptr);
    void AddCopy(const QString& name, DirEntry* copy);
    DirEntry* Copy(int item) const;

signals:
    void focusEntered();

protected:
    void focusInEvent(QFocusEvent* event) override;
};
