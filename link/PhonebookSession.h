#pragma once
// The phonebook conversation with one connected phone: set-up once per connection, then reads of a whole
// storage and writes of single records, each ending in one of the link's result codes.
#include "link/AtChannel.h"
#include "link/PhoneCharset.h"
#include "link/PhoneQuirks.h"
#include "link/PhonebookRecords.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QMap>
#include <QSet>
#include <QStringList>

#include <functional>
#include <optional>

struct DirectoryRead {
    int result = -1; // 0 success, -1 no data (link lost), -4 storage not available
    QList<PhoneRecord> records;
    int nameLength = 0;     // positions of a name of the GSM alphabet (an extension character takes two)
    int numberLength = 0;
    int maxEntries = 0;
    int ucs2NameLength = 0; // characters of a name outside the GSM alphabet; 0 when the phone has no UCS2
};

class PhonebookSession {
public:
    // Write results besides 0 (written).
    static constexpr int kWriteLinkLost = -1;    // not sent: the phone holds what it held
    static constexpr int kWriteUnanswered = -2;  // sent, but its answer never came: stored or not, nobody knows
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
    // The records in first..last (clamped to the storage's range), with the lengths of a full read: a save's
    // look at a few locations before it writes there, or after a write whose answer never came. It belongs
    // to the save's run of writes (see write()): it starts or continues the run of its storage, and within a
    // run it reads in the set the phone is in, so that the writes after it need no new set-up. Records found
    // in a set other than the reading set are read once more in the reading set, so that their names arrive
    // whole.
    DirectoryRead readSpan(const QByteArray& directoryCode, int first, int last);
    // name as UTF-8; an empty name and number delete the record.
    //
    // Each name travels in the set that suits it: a name of the GSM alphabet in the phone's GSM codes (the
    // "GSM" set when every code can stand raw in a command line, else "HEX"), so that the phone keeps it in
    // its alphabet at the full name length; any other name in UCS2, and where the phone has no UCS2 it is
    // refused (kWriteInvalidInput) without being sent. The phone's set is switched only when the next name
    // needs another one, and back to the reading set (UCS2 when offered) only by a read.
    //
    // A save writes one record after the other into one storage, each write started by the end of the one
    // before. Such a run asserts the character set and selects the storage at its first write only, so that
    // the rest cost one command each, and one more for each switch of the set. A run ends, and the next write
    // sets the phone up again, after any write not answered OK, a read, a write to another storage, a lost link
    // (a new session) or a pause longer than the run pause: that is when another program may have changed the
    // phone's set or storage, and a name sent in the wrong set would be stored garbled.
    int write(const QByteArray& directoryCode, int index, const QByteArray& utf8Name, const QByteArray& number);
    // The same with the name as text.
    int writeText(const QByteArray& directoryCode, int index, const QString& name, const QByteArray& number);

    // False after the link was lost: the owner closes the device and starts a new session.
    bool usable() const { return m_usable; }
    // The set the names were read in last.
    PhoneCharset charset() const { return m_charset; }
    // What the phone said of itself (AT+CGMI, AT+CGMM) and the quirks the session applies for it.
    const QByteArray& maker() const { return m_maker; }
    const QByteArray& model() const { return m_model; }
    const PhoneQuirks& quirks() const { return m_quirks; }

private:
    // The name lengths of a storage: in GSM positions and in UCS2 characters (0 without UCS2).
    struct NameLengths {
        int gsm = 0;
        int ucs2 = 0;
    };
    enum class NameCharset { Ready, Invalid, LinkLost };

    bool setUp();
    bool reassert();
    void negotiateCharset();
    bool useCharset(PhoneCharset charset);
    bool useReadingCharset();
    bool adoptCurrentCharset();
    std::optional<PhoneCharset> charsetFor(const QString& name, QByteArray* field) const;
    NameCharset enterCharsetFor(const QString& name, QByteArray* field);
    bool identify();
    bool askIdentity(const QByteArray& command, const char* prefix, QByteArray* answer);
    bool recoverFromMissingFinal();
    int rangeChunk() const;
    enum class Selection { Selected, NotAvailable, LinkLost };
    Selection select(const QByteArray& storage);
    Selection selectForReading(const QByteArray& storage);
    NameLengths nameLengths(const QByteArray& storage) const;
    std::optional<AtReply::RecordFormat> askFormat();
    AtResponse send(const QByteArray& command, const std::function<void(const QByteArray&)>& onLine = {});
    bool readRange(const QByteArray& storage, const QByteArray& command, QList<AtReply::RawRecord>* raw,
                   const std::function<void()>& onRecord);
    bool readLocations(const QByteArray& storage, int first, int last, QList<AtReply::RawRecord>* raw,
                       const std::function<void()>& onRecord);
    bool answersInHex(const QList<AtReply::RawRecord>& raw, PhoneCharset charset) const;
    bool rereadDamaged(const QByteArray& storage, PhoneCharset charset, QList<AtReply::RawRecord>* raw,
                       QSet<qint64>* unreadable);
    void describe(const QByteArray& storage, DirectoryRead* result) const;
    QList<PhoneRecord> recordsOf(const QList<AtReply::RawRecord>& raw, PhoneCharset charset,
                                 const QSet<qint64>& unreadable, const DirectoryRead& lengths) const;
    bool continuesWriteRun(const QByteArray& storage) const;
    void startWriteRun(const QByteArray& storage);
    void endWriteRun() { m_runStorage.clear(); }

    AtChannel& m_channel;
    bool m_ready = false;
    bool m_usable = true;
    QList<PhoneCharset> m_offered;        // the sets the phone lists (AT+CSCS=?) less those it refused
    std::optional<PhoneCharset> m_current; // the set the phone is in; unknown at the start of a request
    PhoneCharset m_charset = PhoneCharset::Ira; // the set names are read in
    bool m_identified = false;
    QByteArray m_maker;
    QByteArray m_model;
    PhoneQuirks m_quirks;
    QStringList m_storages; // empty when the phone did not list them
    QByteArray m_selected;
    AtReply::RecordFormat m_format;
    QMap<QByteArray, NameLengths> m_asked; // name lengths of the storages asked in both sets
    QMap<QByteArray, int> m_totals;        // locations of the storages read whole, as AT+CPBS? gave them
    int m_writeRunPauseMs;
    QByteArray m_runStorage; // storage of the run of writes going on; empty when none
    QElapsedTimer m_sinceRunWrite; // since the last write of the run was answered
};
