#pragma once
// The telephone layer as a test drives it, without a window: a store, a recording host, scripted questions and
// the phone emulator on a real pseudo-terminal, which can be restarted with other faults over the same state.
#include "RecordingTelephoneHost.h"
#include "ScriptedQuestions.h"

#include "link/PhoneEmulator.h"
#include "model/EntryStore.h"
#include "phone/TelephoneDirectories.h"

#include <QTemporaryDir>

#include <memory>

class PhoneLayerRig {
public:
    PhoneLayerRig();
    ~PhoneLayerRig();

    // Starts the phone with the state (and options), points the link at it and builds the layer.
    bool Start(const EmulatorState& state, const PhoneEmulatorOptions& options = {});
    // Stops the phone and starts it again over its current state with other options (faults).
    bool RestartPhone(const PhoneEmulatorOptions& options);
    // Waits until no telephone read or write runs; false on time-out.
    bool WaitUntilIdle(int timeoutMs = 30000);
    // Shows the directory and waits for its read.
    bool Show(int directory);
    // Saves the current directory and waits for the end; true when it reported success.
    bool Save();

    EntryStore& Store() { return *m_store; }
    DirTable& Table() { return m_store->CurrentPhoneTable(); }
    TelephoneDirectories& Phone() { return *m_phone; }
    RecordingTelephoneHost& Host() { return m_host; }
    ScriptedQuestions& Questions() { return m_questions; }
    EmulatorStorage PhoneStorage(const QString& name) const;
    QString PhoneLog() const;

private:
    QTemporaryDir m_dir;
    PhoneEmulatorOptions m_options;
    PhoneEmulator m_emulator;
    std::unique_ptr<EntryStore> m_store;
    ScriptedQuestions m_questions;
    RecordingTelephoneHost m_host;
    std::unique_ptr<TelephoneDirectories> m_phone;
};
