#pragma once
// Template 141: chooses the address-book folder to show from the folder tree, as the folder combo box does.
#include <QDialog>

class CFolderListBox;
class QPushButton;
class QShowEvent;
struct FolderRecord;

class CFolderSelectDlg : public QDialog {
    Q_OBJECT
public:
    explicit CFolderSelectDlg(QWidget* parent = nullptr);

    // The form's folder table; set before the dialog opens.
    const FolderRecord* m_pFolderTable = nullptr;
    int m_nFolderCount = 0;
    int m_nSelected = 0; // out: the record chosen, after OK
    CFolderListBox* m_lbFolders;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void OnInitDialog();
    void OnOK();

    QPushButton* m_btnOk;
    QPushButton* m_btnCancel;
};
