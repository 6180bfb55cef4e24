#pragma once
// Template 140: asks for a name, of an address-book entry or of a new folder. Texts are code page 1252.
#include "ui/CTemplateDialog.h"

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

class CNameInputDlg : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CNameInputDlg(QWidget* parent = nullptr);

    std::string m_strTitle;  // caption while open
    std::string m_strPrompt; // text above the edit
    std::string m_strText;   // the edit's initial text
    std::string m_szName;    // out: the name entered, after OK
    QLineEdit* m_edName;

    static constexpr int kMaxNameLength = 255;

private:
    void CreateControls();
    void OnInitDialog() override;
    void OnOK();

    QLabel* m_stPrompt;
    QPushButton* m_btnOk;
    QPushButton* m_btnCancel;
};
