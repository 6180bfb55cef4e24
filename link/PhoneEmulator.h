#pragma once
// An emulated GSM phone on a real pseudo-terminal, running on its own thread. The program uses it when no
// phone is configured; tests use it as their phone.
//
//   PhoneEmulator phone;
//   PhoneEmulatorOptions options;
//   options.stateFile = dir.filePath("phone.json");   // seeded with sample entries when missing
//   QString path;
//   if (!phone.start(options, &path, &error)) ...;     // path: the slave device, e.g. /dev/pts/7
//   ... talk to path ...
//   phone.stop();                                      // also done by the destructor
//
// To start from given entries, write the state file first with PhoneEmulator::writeState().
#include "link/EmulatorEngine.h"
#include "link/EmulatorState.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

struct PhoneEmulatorOptions {
    QString stateFile;       // JSON state; empty keeps the state in memory only (seeded)
    int latencyMs = 0;       // delay before each answer
    int baud = 0;            // byte rate of a serial line (baud / 10 bytes per second); 0: as fast as possible
    int failWrite = 0;       // refuse the K-th write
    int hangupAfter = 0;     // answer N commands, then drop the line in the middle of the next answer
    QStringList without;     // storages the phone lacks, by the program's or the phone's code
    QString logFile;         // every command received, one line each with a timestamp
    QString linkPath;        // a symbolic link to the device, replaced if it exists
    EmulatorIdentity identity; // maker and model it names (AT+CGMI, AT+CGMM) and its maker's way with names
    int garblePercent = 0;   // chance of a damaged name field in hex answers (EmulatorFaults)
    quint32 garbleSeed = 1;  // the same seed damages the same fields
    // Store the K-th record write (and save it), then drop the line before a byte of its answer; 0: never.
    int dropWriteAnswer = 0;
    // Once keypadAfter commands have been answered (-1: never), keypadAdd is stored before the next answer,
    // as if the user typed it on the phone meanwhile.
    int keypadAfter = -1;
    EmulatorKeypadRecord keypadAdd;
};

class PhoneEmulator {
public:
    PhoneEmulator();
    ~PhoneEmulator();
    PhoneEmulator(const PhoneEmulator&) = delete;
    PhoneEmulator& operator=(const PhoneEmulator&) = delete;

    bool start(const PhoneEmulatorOptions& options, QString* devicePath, QString* error);
    void stop();
    bool running() const;
    int commandsAnswered() const { return m_commands.load(); }

    // A snapshot of the current state (safe while running).
    EmulatorState state() const;
    // Writes a state file for a later start, e.g. from a test that needs particular entries.
    static bool writeState(const QString& path, const EmulatorState& state, QString* error);

private:
    void serve();
    bool answerLine(const QByteArray& line);
    void typeOnKeypad();
    void hangUpAfter(const QByteArray& partOfAnswer);
    bool sendPaced(const QByteArray& bytes, qsizetype stopAfter);
    void log(const QByteArray& command);

    struct Private;
    std::unique_ptr<Private> d;
    std::thread m_thread;
    std::atomic<bool> m_stop {false};
    std::atomic<int> m_commands {0};
    bool m_keypadDone = false;
};
