#pragma once
// A modal dialog built from a template that fills its controls each time it opens, as a dialog's
// initialisation does: the owner sets the dialog's members, then opens it, and OnInitDialog shows them.
#include <QDialog>

class QShowEvent;

class CTemplateDialog : public QDialog {
    Q_OBJECT
public:
    explicit CTemplateDialog(QWidget* parent = nullptr) : QDialog(parent) {}

protected:
    virtual void OnInitDialog() = 0;
    void showEvent(QShowEvent* event) override;
};
