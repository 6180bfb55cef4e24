#include "link/PhonebookSession.h"

#include "link/DialNumber.h"
#include "res/GsmAlphabet.h"
#include "link/StorageCodes.h"

#include <QThread>

#include <algorithm>

namespace {
constexpr int kDefaultNameLength = 16;
constexpr int kDefaultNumberLength = 20;

QByteArray quoted(const QByteArray& text)
{
    return '"' + text + '"';
}
}

PhonebookSession::PhonebookSession(AtChannel& channel, int writeRunPauseMs)
    : m_channel(channel), m_writeRunPauseMs(writeRunPauseMs)
{
}

QByteArray PhonebookSession::storageFor(const QByteArray& code)
{
    return StorageCodes::phoneStorage(code);
}

AtResponse PhonebookSession::send(const QByteArray& command, const std::function<void(const QByteArray&)>& onLine)
{
    AtResponse response = m_channel.send(command, onLine);
    if (response.linkLost()) m_usable = false;
    return response;
}

bool PhonebookSession::setUp()
{
    if (m_ready) return reassert();
    // A phone that was busy or in the middle of a line may swallow the first AT; one retry settles it.
    AtResponse hello = send("AT");
    if (!hello.ok()) {
        m_usable = true;
        hello = send("AT");
    }
    if (!hello.ok()) {
        m_usable = false;
        return false;
    }
    // Numbered errors make the failures readable; a phone that refuses still works with plain ERROR.
    if (send("AT+CMEE=1").linkLost()) return false;
    if (!identify()) return false;
    negotiateCharset();
    if (!m_usable) return false;
    const AtResponse storages = send("AT+CPBS=?");
    if (!m_usable) return false;
    for (const QByteArray& line : storages.lines)
        if (const auto payload = AtReply::payloadOf(line, "+CPBS")) m_storages = AtReply::parseList(*payload);
    m_ready = true;
    return true;
}

bool PhonebookSession::reassert()
{
    // Between two requests the phone may have been reset or used by another program, which changes the
    // character set and the selected storage; a name sent in the wrong set would be stored garbled.
    m_selected.clear();
    const AtResponse response = send("AT+CSCS=" + quoted(PhoneCharsets::name(m_charset).toLatin1()));
    if (response.linkLost()) return false;
    if (!response.ok()) {
        m_ready = false;
        return setUp();
    }
    return true;
}

bool PhonebookSession::askIdentity(const QByteArray& command, const char* prefix, QByteArray* answer)
{
    const AtResponse response = send(command);
    if (response.outcome == AtResponse::Outcome::Disconnected) return false;
    // Silence here is no lost link: some phones never answer what they do not know. The next command tells.
    m_usable = true;
    // A phone that refuses is simply not in the table; lines before its ERROR are not trusted.
    *answer = response.ok() ? AtReply::parseIdentity(response.lines, prefix) : QByteArray();
    return true;
}

bool PhonebookSession::identify()
{
    // Once per connection: the phone does not change while it stays connected, and each answer costs a
    // round trip on every later set-up otherwise.
    if (m_identified) return true;
    if (!askIdentity("AT+CGMI", "+CGMI", &m_maker) || !askIdentity("AT+CGMM", "+CGMM", &m_model)) return false;
    m_quirks = PhoneQuirkTable::lookup(m_maker, m_model);
    m_identified = true;
    return true;
}

void PhonebookSession::negotiateCharset()
{
    const AtResponse offered = send("AT+CSCS=?");
    QStringList sets;
    for (const QByteArray& line : offered.lines)
        if (const auto payload = AtReply::payloadOf(line, "+CSCS")) sets = AtReply::parseList(*payload);
    while (m_usable && !sets.isEmpty()) {
        const PhoneCharset best = PhoneCharsets::choose(sets);
        const AtResponse chosen = send("AT+CSCS=" + quoted(PhoneCharsets::name(best).toLatin1()));
        if (chosen.ok()) {
            m_charset = best;
            return;
        }
        sets.removeIf([&](const QString& s) {
            PhoneCharset known;
            return !PhoneCharsets::fromName(s, &known) || known == best;
        });
    }
    // Nothing offered or accepted: keep whatever the phone uses, if it says.
    const AtResponse current = send("AT+CSCS?");
    for (const QByteArray& line : current.lines) {
        if (const auto payload = AtReply::payloadOf(line, "+CSCS")) {
            PhoneCharset known;
            if (PhoneCharsets::fromName(QString::fromLatin1(AtReply::unquote(*payload)), &known)) m_charset = known;
        }
    }
}

PhonebookSession::Selection PhonebookSession::select(const QByteArray& storage)
{
    if (storage.isEmpty()) return Selection::NotAvailable;
    if (!m_storages.isEmpty() && !m_storages.contains(QString::fromLatin1(storage), Qt::CaseInsensitive))
        return Selection::NotAvailable;
    if (m_selected == storage) return Selection::Selected;
    const AtResponse response = send("AT+CPBS=" + quoted(storage));
    if (response.linkLost()) return Selection::LinkLost;
    if (!response.ok()) return Selection::NotAvailable;
    m_selected = storage;
    const AtResponse format = send("AT+CPBR=?");
    if (format.linkLost()) return Selection::LinkLost;
    std::optional<AtReply::RecordFormat> parsed;
    for (const QByteArray& line : format.lines)
        if (!parsed) parsed = AtReply::parseRecordFormat(line);
    if (!format.ok() || !parsed) {
        m_selected.clear();
        return Selection::NotAvailable;
    }
    m_format = *parsed;
    return Selection::Selected;
}

int PhonebookSession::rangeChunk() const
{
    return m_quirks.readBatch > 0 ? m_quirks.readBatch : kRangeChunk;
}

bool PhonebookSession::recoverFromMissingFinal()
{
    // Records arrived, then silence: some phones end a long range without its OK. A phone that still answers
    // is not lost, and the records it sent are good.
    m_usable = true;
    const AtResponse probe = send("AT");
    return !probe.linkLost();
}

bool PhonebookSession::readRange(const QByteArray& storage, int first, int last, QList<AtReply::RawRecord>* raw,
                                 const std::function<void()>& onRecord)
{
    if (m_quirks.pauseBeforeReadMs > 0) QThread::msleep(static_cast<unsigned long>(m_quirks.pauseBeforeReadMs));
    if (m_quirks.selectBeforeEachRead && send("AT+CPBS=" + quoted(storage)).linkLost()) return false;
    const QByteArray command = "AT+CPBR=" + QByteArray::number(first) + ',' + QByteArray::number(last);
    int received = 0;
    const AtResponse response = send(command, [&](const QByteArray& line) {
        if (const auto record = AtReply::parseRecord(line)) {
            raw->append(*record);
            ++received;
            onRecord();
        }
    });
    if (response.outcome == AtResponse::Outcome::TimedOut && received > 0) return recoverFromMissingFinal();
    // A range without a single entry is answered with an error by several phones ("not found"); only a
    // lost link makes the read fail.
    return !response.linkLost();
}

DirectoryRead PhonebookSession::read(const QByteArray& directoryCode, const Progress& progress)
{
    DirectoryRead result;
    const QByteArray storage = storageFor(directoryCode);
    endWriteRun();
    if (!setUp()) return result;
    switch (select(storage)) {
    case Selection::LinkLost: return result;
    case Selection::NotAvailable: result.result = -4; return result;
    case Selection::Selected: break;
    }
    int used = -1;
    int total = -1;
    const AtResponse status = send("AT+CPBS?");
    if (status.linkLost()) return result;
    for (const QByteArray& line : status.lines) {
        if (const auto parsed = AtReply::parseStorageStatus(line)) {
            used = parsed->used;
            total = parsed->total;
        }
    }
    result.nameLength = m_format.nameLength > 0 ? m_format.nameLength : kDefaultNameLength;
    result.numberLength = m_format.numberLength > 0 ? m_format.numberLength : kDefaultNumberLength;
    // A SIM stores a UCS2 name in the name's bytes, two to a character, after one byte that marks the coding.
    result.ucs2NameLength = m_charset == PhoneCharset::Ucs2 ? (result.nameLength - 1) / 2 : 0;
    result.maxEntries = total > 0 ? total : m_format.last - m_format.first + 1;
    QList<AtReply::RawRecord> raw;
    const int first = std::max(m_format.first, 1);
    const int last = std::min(m_format.last, PhonebookRecords::kMaxIndex);
    const int step = rangeChunk();
    for (int chunk = first; chunk <= last; chunk += step) {
        const int chunkLast = std::min(last, chunk + step - 1);
        const bool read = readRange(storage, chunk, chunkLast, &raw, [&] {
            if (progress) progress(int(raw.size()), used);
        });
        if (!read) return DirectoryRead{};
        if (raw.size() > 4 * PhonebookRecords::kMaxRecords) break; // a phone repeating itself without end
    }
    QList<PhoneRecord> records;
    for (const AtReply::RawRecord& r : raw)
        if (auto record = PhonebookRecords::fromRaw(r, m_charset, m_quirks.nameHints(), result.nameLength, result.numberLength))
            records.append(*record);
    result.records = PhonebookRecords::keepValid(records, m_format.first, m_format.last);
    result.result = 0;
    return result;
}

bool PhonebookSession::continuesWriteRun(const QByteArray& storage) const
{
    return m_writeRunPauseMs > 0 && m_ready && !m_runStorage.isEmpty() && m_runStorage == storage
        && m_selected == storage && m_sinceRunWrite.isValid() && !m_sinceRunWrite.hasExpired(m_writeRunPauseMs);
}

void PhonebookSession::startWriteRun(const QByteArray& storage)
{
    m_runStorage = storage;
    m_sinceRunWrite.start();
}

int PhonebookSession::write(const QByteArray& directoryCode, int index, const QByteArray& utf8Name, const QByteArray& number)
{
    return writeText(directoryCode, index, QString::fromUtf8(utf8Name), number);
}

int PhonebookSession::writeText(const QByteArray& directoryCode, int index, const QString& name, const QByteArray& number)
{
    const QByteArray storage = storageFor(directoryCode);
    const bool continuing = continuesWriteRun(storage);
    endWriteRun(); // whatever happens below but an OK ends the run
    if (index < 1 || index > PhonebookRecords::kMaxIndex || !DialNumber::isWritable(number)) return kWriteInvalidInput;
    const bool erase = name.isEmpty() && number.isEmpty();
    QByteArray encodedName;
    if (!continuing && !setUp()) return kWriteLinkLost;
    switch (select(storage)) {
    case Selection::LinkLost: return kWriteLinkLost;
    case Selection::NotAvailable: return kWriteNotAvailable;
    case Selection::Selected: break;
    }
    if (index < m_format.first || index > m_format.last) return kWriteInvalidInput;
    if (!erase && !PhoneCharsets::encodeName(name, m_charset, &encodedName)) return kWriteInvalidInput;
    QByteArray command = "AT+CPBW=" + QByteArray::number(index);
    if (!erase) {
        const int type = number.startsWith('+') ? 145 : 129;
        command += ',' + quoted(number) + ',' + QByteArray::number(type) + ',' + quoted(encodedName);
    }
    const AtResponse response = send(command);
    if (response.linkLost()) return kWriteLinkLost;
    if (!response.ok()) return kWriteRefused;
    startWriteRun(storage);
    return 0;
}
