#pragma once
// The choice of the telephone's serial port: the built-in phone emulator and every serial device found, each
// with what answered on it (maker and model) or why nothing did, and a field for a path typed by hand. The
// search runs away from the window, which stays usable meanwhile; "Search again" repeats it.
#include "phone/TelephonePortSearch.h"

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

class CConnectionDlg : public QDialog {
    Q_OBJECT
public:
    // current: the device in use, empty for the built-in phone emulator. root and probeTimeoutMs are the
    // search's (tests give a device folder of their own and a short wait).
    CConnectionDlg(QWidget* parent, const QString& current, const QString& root = QStringLiteral("/"),
                   int probeTimeoutMs = PortProbe::kDefaultTimeoutMs);

    // After OK: the device chosen, empty for the built-in phone emulator.
    QString ChosenDevice() const { return m_chosen; }
    bool IsSearching() const { return m_search->isRunning(); }

    void accept() override;

private:
    void CreateControls();
    void StartSearch();
    void ShowPorts(const QList<TelephonePort>& ports);
    void OnRowChosen();
    static QString AnswerText(const TelephonePort& port);

    TelephonePortSearch* m_search;
    QTreeWidget* m_lcPorts = nullptr;
    QLabel* m_stSearch = nullptr;
    QLineEdit* m_edDevice = nullptr;
    QLabel* m_stProblem = nullptr;
    QPushButton* m_btnSearch = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    QString m_chosen;
};
