#pragma once
// Template 146: asks for another index when an inserted entry's index is taken or impossible.
#include "ui/CTemplateDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

class CIndexDlg : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CIndexDlg(QWidget* parent = nullptr);

    int m_nChosenIndex = 0;   // in: the proposal; out: the index accepted or typed
    int m_bShowAcceptAll = 0; // 1 offers "Accept All"
    int m_bAcceptAll = 0;     // out: 1 when closed with "Accept All"

    static constexpr int kMaxIndexText = 255;

private:
    void CreateControls();
    void OnInitDialog() override;
    void OnAccept();
    void OnAcceptAll();

    QLabel* m_stTaken;
    QLabel* m_stUseLowest;
    QLineEdit* m_edIndex;
    QPushButton* m_btnAccept;
    QPushButton* m_btnCancel;
    QPushButton* m_btnAcceptAll;
};
