#include "link/PhonebookSession.h"

#include "link/DialNumber.h"
#include "link/NameDecoding.h"
#include "link/StorageCodes.h"
#include "res/GsmAlphabet.h"

#include <QThread>

#include <algorithm>

namespace {
constexpr int kDefaultNameLength = 16;
constexpr int kDefaultNumberLength = 20;

QByteArray quoted(const QByteArray& text)
{
    return '"' + text + '"';
}

// The sets that may carry a name, best first. A name of the GSM alphabet goes in the phone's GSM codes, raw or
// in HEX, so that the phone keeps it in its alphabet with the full name length; UCS2 carries it where neither
// can, and the single-byte sets serve phones that offer nothing else. Any other name needs UCS2.
QList<PhoneCharset> setsFor(const QString& name)
{
    if (!GsmAlphabet::holdsAll(name)) return {PhoneCharset::Ucs2};
    return {PhoneCharset::Gsm, PhoneCharset::Hex, PhoneCharset::Ucs2, PhoneCharset::Latin1, PhoneCharset::Ira};
}

bool inGsmCodes(PhoneCharset charset)
{
    return charset == PhoneCharset::Gsm || charset == PhoneCharset::Hex;
}

QStringList namesOf(const QList<PhoneCharset>& sets)
{
    QStringList names;
    for (PhoneCharset set : sets) names.append(PhoneCharsets::name(set));
    return names;
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
    // character set and the selected storage; a name sent in the wrong set would be stored garbled. The next
    // request therefore asserts both again.
    m_selected.clear();
    m_current.reset();
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
    // Only asked here; each request puts the phone into the set it needs when it needs it.
    m_offered.clear();
    m_current.reset();
    const AtResponse offered = send("AT+CSCS=?");
    for (const QByteArray& line : offered.lines) {
        const auto payload = AtReply::payloadOf(line, "+CSCS");
        if (!payload) continue;
        for (const QString& name : AtReply::parseList(*payload)) {
            PhoneCharset known;
            if (PhoneCharsets::fromName(name, &known) && !m_offered.contains(known)) m_offered.append(known);
        }
    }
}

bool PhonebookSession::useCharset(PhoneCharset charset)
{
    if (m_current == charset) return true;
    const AtResponse response = send("AT+CSCS=" + quoted(PhoneCharsets::name(charset).toLatin1()));
    if (response.ok()) {
        m_current = charset;
        return true;
    }
    // Some phones list sets they do not take; a refused one stays out for this connection, and the phone
    // keeps the set it had.
    if (!response.linkLost()) m_offered.removeAll(charset);
    return false;
}

bool PhonebookSession::useReadingCharset()
{
    while (!m_offered.isEmpty()) {
        const PhoneCharset best = PhoneCharsets::choose(namesOf(m_offered));
        if (useCharset(best)) {
            m_charset = best;
            return true;
        }
        if (!m_usable) return false;
    }
    return adoptCurrentCharset();
}

bool PhonebookSession::adoptCurrentCharset()
{
    // Nothing offered or taken: keep whatever the phone uses, if it says.
    const AtResponse current = send("AT+CSCS?");
    if (current.linkLost()) return false;
    for (const QByteArray& line : current.lines) {
        if (const auto payload = AtReply::payloadOf(line, "+CSCS")) {
            PhoneCharset known;
            if (PhoneCharsets::fromName(QString::fromLatin1(AtReply::unquote(*payload)), &known)) {
                m_charset = known;
                m_current = known;
            }
        }
    }
    return true;
}

std::optional<PhoneCharset> PhonebookSession::charsetFor(const QString& name, QByteArray* field) const
{
    const QList<PhoneCharset> wanted = setsFor(name);
    // GSM and HEX both carry the phone's codes: the one the phone is in serves as well as the other.
    if (m_current && inGsmCodes(*m_current) && wanted.contains(*m_current) && m_offered.contains(*m_current)
        && PhoneCharsets::encodeName(name, *m_current, field))
        return m_current;
    for (PhoneCharset charset : wanted)
        if (m_offered.contains(charset) && PhoneCharsets::encodeName(name, charset, field)) return charset;
    return std::nullopt;
}

PhonebookSession::NameCharset PhonebookSession::enterCharsetFor(const QString& name, QByteArray* field)
{
    if (m_offered.isEmpty()) {
        // A phone that lists no set it takes stays in the one it is in.
        if (!m_current && !adoptCurrentCharset()) return NameCharset::LinkLost;
        return PhoneCharsets::encodeName(name, m_charset, field) ? NameCharset::Ready : NameCharset::Invalid;
    }
    for (;;) {
        const std::optional<PhoneCharset> chosen = charsetFor(name, field);
        if (!chosen) return NameCharset::Invalid;
        if (useCharset(*chosen)) return NameCharset::Ready;
        if (!m_usable) return NameCharset::LinkLost;
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
    const std::optional<AtReply::RecordFormat> format = askFormat();
    if (!m_usable) return Selection::LinkLost;
    if (!format) {
        m_selected.clear();
        return Selection::NotAvailable;
    }
    m_format = *format;
    return Selection::Selected;
}

std::optional<AtReply::RecordFormat> PhonebookSession::askFormat()
{
    const AtResponse format = send("AT+CPBR=?");
    std::optional<AtReply::RecordFormat> parsed;
    for (const QByteArray& line : format.lines)
        if (!parsed) parsed = AtReply::parseRecordFormat(line);
    return format.ok() ? parsed : std::nullopt;
}

PhonebookSession::Selection PhonebookSession::selectForReading(const QByteArray& storage)
{
    // Once per storage and connection, a phone that takes UCS2 beside a set of GSM codes is asked for its
    // record format in both: a text length under UCS2 other than the one in GSM codes is its own limit for
    // UCS2 names. The GSM set goes first, so that the read itself needs only one switch.
    std::optional<int> gsmLength;
    const bool askBoth = !m_asked.contains(storage) && m_offered.contains(PhoneCharset::Ucs2);
    const PhoneCharset gsmCodes = m_offered.contains(PhoneCharset::Gsm) ? PhoneCharset::Gsm : PhoneCharset::Hex;
    if (askBoth && m_offered.contains(gsmCodes)) {
        if (useCharset(gsmCodes)) {
            const Selection selected = select(storage);
            if (selected != Selection::Selected) return selected;
            gsmLength = m_format.nameLength;
        }
        if (!m_usable) return Selection::LinkLost;
    }
    if (!useReadingCharset()) return Selection::LinkLost;
    const Selection selected = select(storage);
    if (selected != Selection::Selected || !gsmLength) return selected;
    const std::optional<AtReply::RecordFormat> underUcs2 = askFormat();
    if (!m_usable) return Selection::LinkLost;
    NameLengths lengths;
    lengths.gsm = *gsmLength > 0 ? *gsmLength : kDefaultNameLength;
    const int reported = underUcs2 && m_charset == PhoneCharset::Ucs2 ? underUcs2->nameLength : 0;
    if (m_charset == PhoneCharset::Ucs2)
        // A UCS2 name never holds more characters than a GSM one: a larger number counts something else (hex
        // digits, bytes) and is not taken for the limit.
        lengths.ucs2 = reported > 0 && reported < lengths.gsm ? reported : (lengths.gsm - 1) / 2;
    m_asked.insert(storage, lengths);
    return Selection::Selected;
}

PhonebookSession::NameLengths PhonebookSession::nameLengths(const QByteArray& storage) const
{
    if (m_asked.contains(storage)) return m_asked.value(storage);
    NameLengths lengths;
    lengths.gsm = m_format.nameLength > 0 ? m_format.nameLength : kDefaultNameLength;
    // A SIM stores a UCS2 name in the name's bytes, two to a character, after one byte that marks the coding.
    lengths.ucs2 = m_offered.contains(PhoneCharset::Ucs2) ? (lengths.gsm - 1) / 2 : 0;
    return lengths;
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

bool PhonebookSession::readRange(const QByteArray& storage, const QByteArray& command, QList<AtReply::RawRecord>* raw,
                                 const std::function<void()>& onRecord)
{
    if (m_quirks.pauseBeforeReadMs > 0) QThread::msleep(static_cast<unsigned long>(m_quirks.pauseBeforeReadMs));
    if (m_quirks.selectBeforeEachRead && send("AT+CPBS=" + quoted(storage)).linkLost()) return false;
    int received = 0;
    const AtResponse response = send(command, [&](const QByteArray& line) {
        if (const auto record = AtReply::parseRecord(line)) {
            raw->append(*record);
            ++received;
            if (onRecord) onRecord();
        }
    });
    if (response.outcome == AtResponse::Outcome::TimedOut && received > 0) return recoverFromMissingFinal();
    // A range without a single entry is answered with an error by several phones ("not found"); only a
    // lost link makes the read fail.
    return !response.linkLost();
}

bool PhonebookSession::answersInHex(const QList<AtReply::RawRecord>& raw, PhoneCharset charset) const
{
    if (m_quirks.ignoresCharset) return true;
    if (charset != PhoneCharset::Ucs2 && charset != PhoneCharset::Hex) return false;
    // Some phones answer plain text although a hex set was selected; their names are no damaged hex.
    qsizetype hex = 0;
    qsizetype text = 0;
    for (const AtReply::RawRecord& r : raw) {
        switch (NameDecoding::shapeOf(r.name)) {
        case NameDecoding::Shape::Hex:
        case NameDecoding::Shape::NearHex: ++hex; break;
        case NameDecoding::Shape::Text: ++text; break;
        case NameDecoding::Shape::Empty: break;
        }
    }
    return hex > text;
}

bool PhonebookSession::rereadDamaged(const QByteArray& storage, PhoneCharset charset, QList<AtReply::RawRecord>* raw,
                                     QSet<qint64>* unreadable)
{
    if (!answersInHex(*raw, charset)) return true;
    const NameDecoding::Hints hints = m_quirks.nameHints();
    const PhoneCharset answeredIn = m_quirks.ignoresCharset ? PhoneCharset::Ucs2 : charset;
    const qint64 first = std::max(m_format.first, 1);
    const qint64 last = std::min(m_format.last, PhonebookRecords::kMaxIndex);
    QList<qint64> damaged;
    for (const AtReply::RawRecord& r : *raw) {
        if (r.index >= first && r.index <= last && NameDecoding::isDamagedHex(r.name, answeredIn, hints)
            && !damaged.contains(r.index) && damaged.size() < PhonebookRecords::kMaxRecords)
            damaged.append(r.index);
    }
    // A name damaged on the line is asked for once more; one still damaged keeps what arrived and is marked.
    for (qint64 index : damaged) {
        QList<AtReply::RawRecord> again;
        if (!readRange(storage, "AT+CPBR=" + QByteArray::number(index), &again, {})) return false;
        const auto atIndex = [index](const AtReply::RawRecord& r) { return r.index == index; };
        const auto fresh = std::find_if(again.begin(), again.end(), atIndex);
        if (fresh != again.end() && !NameDecoding::isDamagedHex(fresh->name, answeredIn, hints))
            *std::find_if(raw->begin(), raw->end(), atIndex) = *fresh;
        else
            unreadable->insert(index);
    }
    return true;
}

bool PhonebookSession::readLocations(const QByteArray& storage, int first, int last, QList<AtReply::RawRecord>* raw,
                                     const std::function<void()>& onRecord)
{
    const int step = rangeChunk();
    for (int chunk = first; chunk <= last; chunk += step) {
        const int chunkLast = std::min(last, chunk + step - 1);
        const QByteArray command = "AT+CPBR=" + QByteArray::number(chunk) + ',' + QByteArray::number(chunkLast);
        if (!readRange(storage, command, raw, onRecord)) return false;
        if (raw->size() > 4 * PhonebookRecords::kMaxRecords) break; // a phone repeating itself without end
        if (chunkLast == last) break; // never step past the largest int
    }
    return true;
}

void PhonebookSession::describe(const QByteArray& storage, DirectoryRead* result) const
{
    const NameLengths lengths = nameLengths(storage);
    result->nameLength = lengths.gsm;
    result->ucs2NameLength = lengths.ucs2;
    result->numberLength = m_format.numberLength > 0 ? m_format.numberLength : kDefaultNumberLength;
    const int total = m_totals.value(storage, -1);
    result->maxEntries = total > 0 ? total : m_format.last - m_format.first + 1;
}

QList<PhoneRecord> PhonebookSession::recordsOf(const QList<AtReply::RawRecord>& raw, PhoneCharset charset,
                                               const QSet<qint64>& unreadable, const DirectoryRead& lengths) const
{
    QList<PhoneRecord> records;
    for (const AtReply::RawRecord& r : raw) {
        auto record = PhonebookRecords::fromRaw(r, charset, m_quirks.nameHints(), lengths.nameLength, lengths.numberLength);
        if (!record) continue;
        record->nameUnreadable = unreadable.contains(r.index);
        records.append(*record);
    }
    return records;
}

DirectoryRead PhonebookSession::read(const QByteArray& directoryCode, const Progress& progress)
{
    DirectoryRead result;
    const QByteArray storage = storageFor(directoryCode);
    endWriteRun();
    if (!setUp()) return result;
    switch (selectForReading(storage)) {
    case Selection::LinkLost: return result;
    case Selection::NotAvailable: result.result = -4; return result;
    case Selection::Selected: break;
    }
    int used = -1;
    const AtResponse status = send("AT+CPBS?");
    if (status.linkLost()) return result;
    m_totals.remove(storage);
    for (const QByteArray& line : status.lines) {
        if (const auto parsed = AtReply::parseStorageStatus(line)) {
            used = parsed->used;
            m_totals.insert(storage, parsed->total);
        }
    }
    describe(storage, &result);
    QList<AtReply::RawRecord> raw;
    const int first = std::max(m_format.first, 1);
    const int last = std::min(m_format.last, PhonebookRecords::kMaxIndex);
    const bool read = readLocations(storage, first, last, &raw, [&] {
        if (progress) progress(int(raw.size()), used);
    });
    if (!read) return DirectoryRead{};
    QSet<qint64> unreadable;
    if (!rereadDamaged(storage, m_charset, &raw, &unreadable)) return DirectoryRead{};
    result.records = PhonebookRecords::keepValid(recordsOf(raw, m_charset, unreadable, result), m_format.first, m_format.last);
    result.result = 0;
    return result;
}

DirectoryRead PhonebookSession::readSpan(const QByteArray& directoryCode, int first, int last)
{
    DirectoryRead result;
    const QByteArray storage = storageFor(directoryCode);
    const bool continuing = continuesWriteRun(storage);
    endWriteRun(); // only a span read to its end keeps the run going
    if (!continuing) {
        if (!setUp()) return result;
        switch (selectForReading(storage)) {
        case Selection::LinkLost: return result;
        case Selection::NotAvailable: result.result = -4; return result;
        case Selection::Selected: break;
        }
    } else if (!m_current && !useReadingCharset()) {
        return result; // a run of erasures leaves the set as it was asserted: unknown
    }
    describe(storage, &result);
    const int from = std::max({first, m_format.first, 1});
    const int to = std::min({last, m_format.last, PhonebookRecords::kMaxIndex});
    PhoneCharset answeredIn = m_current.value_or(m_charset);
    QList<AtReply::RawRecord> raw;
    if (from <= to && !readLocations(storage, from, to, &raw, {})) return DirectoryRead{};
    if (!raw.isEmpty() && answeredIn != m_charset) {
        // A set chosen for writing may not carry every name the phone holds: what was found is read again.
        if (!useReadingCharset()) return DirectoryRead{};
        answeredIn = m_current.value_or(m_charset);
        raw.clear();
        if (!readLocations(storage, from, to, &raw, {})) return DirectoryRead{};
    }
    QSet<qint64> unreadable;
    if (!rereadDamaged(storage, answeredIn, &raw, &unreadable)) return DirectoryRead{};
    result.records = PhonebookRecords::keepValid(recordsOf(raw, answeredIn, unreadable, result), from, to);
    result.result = 0;
    startWriteRun(storage);
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
    if (!continuing && !setUp()) return kWriteLinkLost;
    QByteArray encodedName;
    if (!name.isEmpty()) {
        switch (enterCharsetFor(name, &encodedName)) {
        case NameCharset::LinkLost: return kWriteLinkLost;
        case NameCharset::Invalid: return kWriteInvalidInput;
        case NameCharset::Ready: break;
        }
    }
    switch (select(storage)) {
    case Selection::LinkLost: return kWriteLinkLost;
    case Selection::NotAvailable: return kWriteNotAvailable;
    case Selection::Selected: break;
    }
    if (index < m_format.first || index > m_format.last) return kWriteInvalidInput;
    QByteArray command = "AT+CPBW=" + QByteArray::number(index);
    if (!erase) {
        const int type = number.startsWith('+') ? 145 : 129;
        command += ',' + quoted(number) + ',' + QByteArray::number(type) + ',' + quoted(encodedName);
    }
    const AtResponse response = send(command);
    if (response.linkLost()) return response.sent ? kWriteUnanswered : kWriteLinkLost;
    if (!response.ok()) return kWriteRefused;
    startWriteRun(storage);
    return 0;
}
