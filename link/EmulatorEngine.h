#pragma once
// The emulated phone's command interpreter: one command line in, the phone's answer out (information lines
// and the final result, each framed by CR LF as a phone does in verbose mode). Knows nothing of the line
// it is connected to; PhoneEmulator feeds it and adds echo, latency and line speed.
#include "link/EmulatorState.h"
#include "link/PhoneCharset.h"

#include <QByteArray>
#include <QStringList>

#include <functional>
#include <random>

struct EmulatorFaults {
    int failWrite = 0;       // refuse the K-th write (1-based); 0 refuses none
    QStringList without;     // storages the phone does not have ("SM", "ON", ...)
    // Each name field in hex of an AT+CPBR answer is damaged with this chance in percent, as a bad line does:
    // a digit replaced by a character that is no hex digit, or one digit dropped. The same seed damages the
    // same fields of the same conversation.
    int garblePercent = 0;
    quint32 garbleSeed = 1;
};

// What the phone says of itself, and the way of its maker that goes with it, so that tests can pick an entry
// of the link's quirk table (PhoneQuirks.h).
struct EmulatorIdentity {
    QByteArray maker = "Korvane";       // answer to AT+CGMI
    QByteArray model = "Telvora Phone"; // answer to AT+CGMM
    bool answersUcs2Always = false;     // names in UCS2 whatever AT+CSCS selected, as some modems do
    // Offers UCS2 (AT+CSCS=?) and keeps names outside the GSM alphabet; without it only names of the alphabet.
    bool ucs2 = true;
    // The text length it reports under UCS2 and the characters it keeps of a name outside the GSM alphabet;
    // 0: it reports the storage's name length in every set and keeps (length - 1) / 2 such characters, as a SIM.
    int ucs2NameLength = 0;
};

// A record stored as if typed on the phone's own keypad, behind the link's back.
struct EmulatorKeypadRecord {
    QString storage;   // the phone's code ("SM", "ON") or the program's ("OW")
    int index = 0;     // 0: the first free location
    QString name;
    QString number;
};

class EmulatorEngine {
public:
    // onWritten is called after every accepted write, so that the state can be saved at once.
    EmulatorEngine(EmulatorState& state, const EmulatorFaults& faults, std::function<void()> onWritten,
                   EmulatorIdentity identity = {});

    QByteArray answer(const QByteArray& commandLine);
    bool echo() const { return m_echo; }
    // Record writes (AT+CPBW=...) taken so far, refused ones included.
    int writesTaken() const { return m_writes; }
    // Stores the record as the phone's keypad would: no limits but the storage's places; false when the
    // storage is missing or full, or the index lies outside it.
    bool storeFromKeypad(const EmulatorKeypadRecord& record);

private:
    QByteArray run(const QByteArray& command, bool* failed);
    QByteArray basic(const QByteArray& command, bool* failed);
    QByteArray charsetCommand(const QByteArray& args, bool* failed);
    QByteArray storageCommand(const QByteArray& args, bool* failed);
    QByteArray readCommand(const QByteArray& args, bool* failed);
    QByteArray writeCommand(const QByteArray& args, bool* failed);
    QByteArray recordLine(int index, const EmulatorEntry& entry);
    QByteArray garbled(QByteArray field);
    int reportedNameLength(const EmulatorStorage& storage) const;
    int ucs2Limit(const EmulatorStorage& storage) const;
    int nameProblem(const QByteArray& field, const EmulatorStorage& storage, QString* name) const;
    QByteArray error(int cmeCode, bool* failed);
    QStringList storages() const;
    EmulatorStorage* selected();

    EmulatorState& m_state;
    EmulatorFaults m_faults;
    EmulatorIdentity m_identity;
    std::function<void()> m_onWritten;
    bool m_echo = true;
    int m_errorMode = 0; // AT+CMEE: 0 plain ERROR, 1 numeric, 2 verbose
    PhoneCharset m_charset = PhoneCharset::Gsm;
    QString m_storage = QStringLiteral("SM");
    int m_writes = 0;
    QByteArray m_pendingError;
    std::mt19937 m_garbling;
};
