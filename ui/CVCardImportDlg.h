#pragma once
// Asks for the vCard file to import into the address-book folder shown, and which numbers of a card become
// entries: the first, the preferred one, or one entry per number.
#include "model/Questions.h"

#include <QDialog>

class CFilePathField;
class QButtonGroup;
class QDialogButtonBox;

class CVCardImportDlg : public QDialog {
    Q_OBJECT
public:
    CVCardImportDlg(QWidget* parent, const VCardImportData& data);
    VCardImportData Data() const;
    void accept() override;

private:
    void UpdateOk();

    CFilePathField* m_path;
    QButtonGroup* m_numbers;
    QDialogButtonBox* m_buttons;
};
