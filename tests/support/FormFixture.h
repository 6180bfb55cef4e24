#pragma once
// The program's main window on real widgets, as a test sees it: a frame with the form, a scripted question seam,
// and settings, address book and telephone state in a temporary folder of the test's own. The parts are put
// together by the program's own wiring; only the phone, the questions and the end of the program are the test's.
#include "ScriptedQuestions.h"

#include "link/PhoneEmulator.h"

#include <QString>
#include <QTemporaryDir>
#include <QVariant>

#include <memory>
#include <vector>

class CMainFrame;
class CDlgView;
class ProgramWiring;

class FormFixture {
public:
    FormFixture();
    ~FormFixture();

    // Settings of group "CfgPropPage2" (or any key with a group prefix); call before Start().
    void SetSetting(const QString& key, const QVariant& value);
    // The phone the form talks to: an emulator on a real pseudo-terminal, started by Start(). Change its
    // options or its state (written to its state file) before Start(); WithoutPhone() leaves the link empty.
    PhoneEmulatorOptions& PhoneOptions() { return m_phoneOptions; }
    void SetPhoneState(const EmulatorState& state);
    void WithoutPhone() { m_withPhone = false; }
    // The form asks through the program's real message boxes and dialogs instead of the script.
    void UseRealDialogs() { m_realDialogs = true; }
    PhoneEmulator& Phone() { return m_phone; }
    // Stops the phone and starts it again over the state it holds, with PhoneOptions() as they are now (other
    // faults), and points the link at it: the line coming back after it was dropped.
    void RestartPhone();
    QString PhoneLog() const; // the commands the phone received, one per line

    // Creates frame and form, shows them and runs the form's initial update.
    void Start();
    // Waits until no telephone read or write is running.
    bool WaitUntilIdle(int timeoutMs = 30000);

    // The address-book file the form opens.
    QString PabPath() const { return m_dir.filePath(QStringLiteral("pab.sqlite")); }
    CMainFrame* Frame() const;
    CDlgView* View() const;
    ScriptedQuestions& Questions() { return m_questions; }
    // Exit codes with which the form tried to end the program (it is kept alive in tests).
    const std::vector<int>& EndedWith() const { return m_endedWith; }

private:
    QTemporaryDir m_dir;
    ScriptedQuestions m_questions;
    PhoneEmulatorOptions m_phoneOptions;
    PhoneEmulator m_phone;
    bool m_withPhone = true;
    bool m_realDialogs = false;
    std::unique_ptr<ProgramWiring> m_wiring;
    std::vector<int> m_endedWith;
};
