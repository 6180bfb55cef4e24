#pragma once
// Template 142: the entry dialog of Add New Entry and Edit Entry. While the user types it keeps the fields within
// the rules of the list the entry belongs to (the telephone's limits for the telephone list).
#include "ui/CTemplateDialog.h"

#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

class CEntryDlg : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CEntryDlg(QWidget* parent = nullptr);

    // The texts hold at most this many characters: longer texts put in before opening are shown cut, and the
    // edits take no more than this.
    static constexpr int kMaxText = 127;
    // The number is checked up to this many characters while typing.
    static constexpr int kMaxCheckedNumber = 255;

    std::string m_strTitle;  // window title when the dialog opens
    std::string m_szName;    // in: shown on opening; out: taken on OK (UTF-8)
    std::string m_szNumber;
    std::string m_szIndex;
    std::string m_szStatus;
    int m_nNameLen = 0;       // the telephone's name length (list kind 1)
    int m_nUcs2NameLen = 0;   // characters of a name outside the GSM alphabet; 0 without UCS2 (list kind 1)
    int m_nNumberLen = 0;     // the telephone's number length (list kind 1)
    int m_nListKind = 0;      // 1 telephone list, 2 address-book list
    QLineEdit* m_edName = nullptr;
    QLineEdit* m_edNumber = nullptr;

private:
    void CreateControls();
    QLineEdit* MakeEdit(int id, const QString& accessibleName);
    void OnInitDialog() override;
    void OnOK();
    void OnChangeName();
    void OnChangeNumber();
    bool SpacesAllowed() const { return m_nListKind == 2; }
    // Sets the corrected text and puts the caret or selection back where it was; mapPosition tells where a
    // position of the old text lies in the corrected one.
    void ReplaceKeepingSelection(QLineEdit* edit, const std::string& corrected,
                                 const std::function<int(int)>& mapPosition);

    QLineEdit* m_edIndex = nullptr;
    QLineEdit* m_edStatus = nullptr;
    QPushButton* m_btnOK = nullptr;
    QPushButton* m_btnCancel = nullptr;
    // Setting a corrected text notifies again; the correction is already complete then.
    bool m_bCorrecting = false;
};
