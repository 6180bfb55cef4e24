#pragma once
// Asks for the vCard file to import into the address-book folder shown, and which numbers of a card become
// entries: the first, the preferred one, or one entry per number.
#include "model/Questions.h"

#include <QDialog>

class QButtonGroup;
class QDialogButtonBox;
class QLineEdit;

class CVCardImportDlg : public QDialog {
    Q_OBJECT
public:
    CVCardImportDlg(QWidget* parent, const VCardImportData& data);
    VCardImportData Data() const;
    void accept() override;

private:
    void OnBrowse();
    void UpdateOk();

    QLineEdit* m_edPath;
    QButtonGroup* m_numbers;
    QDialogButtonBox* m_buttons;
};
