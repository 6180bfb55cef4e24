#pragma once
// Template 141: chooses the address-book folder to show from the folder tree, as the folder combo box does.
#include "ui/CTemplateDialog.h"

class CFolderListBox;
class QPushButton;
struct FolderRecord;

class CFolderSelectDlg : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CFolderSelectDlg(QWidget* parent = nullptr);

    // The form's folder table; set before the dialog opens.
    const FolderRecord* m_pFolderTable = nullptr;
    int m_nFolderCount = 0;
    int m_nSelected = 0; // out: the record chosen, after OK
    CFolderListBox* m_lbFolders;

private:
    void CreateControls();
    void OnInitDialog() override;
    void OnOK();

    QPushButton* m_btnOk;
    QPushButton* m_btnCancel;
};
