#pragma once
// The phonebook conversation with one connected phone: set-up once per connection, then reads of a whole
// storage and writes of single records, each ending in one of the link's result codes.
#include "link/AtChannel.h"
#include "link/PhoneCharset.h"
#include "link/PhoneQuirks.h"
#include "link/PhonebookRecords.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QStringList>

#include <functional>

struct DirectoryRead {
    int result = -1; // 0 success, -1 no data (link lost), -4 storage not available
    QList<PhoneRecord> records;
    int nameLength = 0;
    int numberLength = 0;
    int maxEntries = 0;
    int ucs2NameLength = 0; // characters of a name outside the GSM alphabet; 0 when the phone has no UCS2
};

class PhonebookSession {
public:
    // Write results besides 0 (written).
    static constexpr int kWriteLinkLost = -1;
    static constexpr int kWriteNotAvailable = -4;
    static constexpr int kWriteRefused = 1;      // the phone answered ERROR or +CME ERROR
    static constexpr int kWriteInvalidInput = 2; // not sent: bad index, number or a name the phone's set cannot carry
    // Locations asked for per range read: few commands, yet progress to show on a large storage.
    static constexpr int kRangeChunk = 100;
    // How long after one write the next may come and still count as the same run (see write()).
    static constexpr int kDefaultWriteRunPauseMs = 2000;

    // writeRunPauseMs: 0 makes every write set the phone up again.
    explicit PhonebookSession(AtChannel& channel, int writeRunPauseMs = kDefaultWriteRunPauseMs);

    // The phone's storage for one of the program's directory codes; empty for an unknown code.
    static QByteArray storageFor(const QByteArray& directoryCode);

    using Progress = std::function<void(int recordsRead, int recordsExpected)>;
    DirectoryRead read(const QByteArray& directoryCode, const Progress& progress);
    // name as UTF-8; an empty name and number delete the record.
    //
    // A save writes one record after the other into one storage, each write started by the end of the one
    // before. Such a run asserts the character set and selects the storage at its first write only, so that
    // the rest cost one command each. A run ends, and the next write sets the phone up again, after any write
    // not answered OK, a read, a write to another storage, a lost link (a new session) or a pause longer than
    // the run pause: that is when another program may have changed the phone's set or storage, and a name
    // sent in the wrong set would be stored garbled.
    int write(const QByteArray& directoryCode, int index, const QByteArray& utf8Name, const QByteArray& number);
    // The same with the name as text: every character the phone's set carries arrives as it is.
    int writeText(const QByteArray& directoryCode, int index, const QString& name, const QByteArray& number);

    // False after the link was lost: the owner closes the device and starts a new session.
    bool usable() const { return m_usable; }
    PhoneCharset charset() const { return m_charset; }
    // What the phone said of itself (AT+CGMI, AT+CGMM) and the quirks the session applies for it.
    const QByteArray& maker() const { return m_maker; }
    const QByteArray& model() const { return m_model; }
    const PhoneQuirks& quirks() const { return m_quirks; }

private:
    bool setUp();
    bool reassert();
    void negotiateCharset();
    bool identify();
    bool askIdentity(const QByteArray& command, const char* prefix, QByteArray* answer);
    bool recoverFromMissingFinal();
    int rangeChunk() const;
    enum class Selection { Selected, NotAvailable, LinkLost };
    Selection select(const QByteArray& storage);
    AtResponse send(const QByteArray& command, const std::function<void(const QByteArray&)>& onLine = {});
    bool readRange(const QByteArray& storage, int first, int last, QList<AtReply::RawRecord>* raw,
                   const std::function<void()>& onRecord);
    bool continuesWriteRun(const QByteArray& storage) const;
    void startWriteRun(const QByteArray& storage);
    void endWriteRun() { m_runStorage.clear(); }

    AtChannel& m_channel;
    bool m_ready = false;
    bool m_usable = true;
    PhoneCharset m_charset = PhoneCharset::Ira;
    bool m_identified = false;
    QByteArray m_maker;
    QByteArray m_model;
    PhoneQuirks m_quirks;
    QStringList m_storages; // empty when the phone did not list them
    QByteArray m_selected;
    AtReply::RecordFormat m_format;
    int m_writeRunPauseMs;
    QByteArray m_runStorage; // storage of the run of writes going on; empty when none
    QElapsedTimer m_sinceRunWrite; // since the last write of the run was answered
};
