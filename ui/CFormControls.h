#pragma once
// The form's controls, created and placed as its dialog template puts them. The form and the parts that work on
// its widgets (the preview row, the two lists, the commands) share them through this one object; tests find the
// controls by their object names.
class CDirectoryCombo;
class CFolderCombo;
class CPreviewCombo;
class CPreviewHeader;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QWidget;

// Column widths shared by both lists: dialog units at start, pixels once the form has been laid out.
extern int g_anColWidth[4];

class CFormControls {
public:
    // Creates the controls as children of the form, in the template's places, with their names.
    explicit CFormControls(QWidget* form);

    // The tab order follows the reading order.
    void SetTabOrder(QWidget* form) const;
    // The four columns of a list, with the titles of the string table and their read-aloud descriptions.
    static void InsertColumns(QTreeWidget* list);
    // The list of LIST_PHONE or LIST_AB; nullptr for any other list.
    QTreeWidget* List(int listKind) const;

    CDirectoryCombo* m_cbDirectory;
    QTreeWidget* m_lcPhone;
    CFolderCombo* m_cbFolder;
    QTreeWidget* m_lcAddressBook;
    CPreviewCombo* m_cbPreview;
    QLineEdit* m_edName;
    QLineEdit* m_edNumber;
    QLineEdit* m_edIndex;
    QLineEdit* m_edStatus;
    QPushButton* m_btnSaveToPhone;
    QPushButton* m_btnSaveAddressBook;
    QPushButton* m_btnExit;
    QPushButton* m_btnToAddressBook;
    QPushButton* m_btnToPhone;
    CPreviewHeader* m_previewHeader;
    QLabel* m_stPreview;
    QLineEdit* m_edFilter;
};
