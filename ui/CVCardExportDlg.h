#pragma once
// Asks where to write a vCard file, in which version (3.0 unless 4.0 is chosen), and which entries: those of
// the telephone directory or of the address-book folder shown, all of them or only the selected ones.
#include "model/Questions.h"

#include <QDialog>

class CFilePathField;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;

class CVCardExportDlg : public QDialog {
    Q_OBJECT
public:
    CVCardExportDlg(QWidget* parent, const VCardExportData& data);
    VCardExportData Data() const;
    void accept() override;

private:
    void UpdateControls();

    VCardExportData m_data;
    CFilePathField* m_path;
    QButtonGroup* m_lists;
    QCheckBox* m_chkSelected;
    QComboBox* m_cbVersion;
    QDialogButtonBox* m_buttons;
};
