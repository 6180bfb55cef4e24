#include "link/EmulatorEngine.h"

#include "link/AtReply.h"
#include "link/StorageCodes.h"
#include "res/GsmAlphabet.h"

#include <algorithm>
#include <cctype>

namespace {
// 27.007 error numbers the phone uses.
constexpr int kOperationNotAllowed = 3;
constexpr int kOperationNotSupported = 4;
constexpr int kMemoryFull = 20;
constexpr int kInvalidIndex = 21;
constexpr int kTextTooLong = 24;
constexpr int kInvalidText = 25;
constexpr int kDialStringTooLong = 26;
constexpr int kInvalidDialString = 27;
constexpr int kUnknown = 100;

QByteArray line(const QByteArray& text)
{
    return "\r\n" + text + "\r\n";
}

const char* errorText(int code)
{
    switch (code) {
    case kOperationNotAllowed: return "operation not allowed";
    case kOperationNotSupported: return "operation not supported";
    case kMemoryFull: return "memory full";
    case kInvalidIndex: return "invalid index";
    case kTextTooLong: return "text string too long";
    case kInvalidText: return "invalid characters in text string";
    case kDialStringTooLong: return "dial string too long";
    case kInvalidDialString: return "invalid characters in dial string";
    default: return "unknown";
    }
}

// The command part upper-cased, quoted arguments left as they are.
QByteArray upperOutsideQuotes(const QByteArray& text)
{
    QByteArray out = text;
    bool quoted = false;
    for (char& c : out) {
        if (c == '"') quoted = !quoted;
        else if (!quoted) c = char(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

QList<QByteArray> splitCommands(const QByteArray& body)
{
    QList<QByteArray> commands;
    QByteArray current;
    bool quoted = false;
    for (char c : body) {
        if (c == '"') quoted = !quoted;
        if (c == ';' && !quoted) {
            commands.append(current);
            current.clear();
        } else {
            current.append(c);
        }
    }
    commands.append(current);
    return commands;
}

bool parseIndex(const QByteArray& text, int* value)
{
    bool ok = false;
    *value = text.trimmed().toInt(&ok);
    return ok;
}

// What a SIM can keep of a number: its BCD digits (GSM 11.11) are 0 to 9, "*" (A), "#" (B), the DTMF
// separator (C, a pause that phones take as "p", "w" or ",") and the "wild" value (D), which phones show as
// "?". "+" is the international type of number, which the phone keeps beside the digits.
bool isStorableDialCharacter(QChar c)
{
    static const QString kBcdCharacters = QStringLiteral("0123456789*#pPwW,?+");
    return kBcdCharacters.contains(c);
}

bool isDialString(const QString& number)
{
    return std::all_of(number.begin(), number.end(), isStorableDialCharacter);
}

bool hexDigits(const QByteArray& field, int digitsPerUnit)
{
    return field.size() % digitsPerUnit == 0
        && std::all_of(field.begin(), field.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
}

bool sevenBit(const QByteArray& bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// A name field of AT+CPBW as the selected set reads it; false when the set cannot have produced it.
bool decodeWritten(const QByteArray& field, PhoneCharset charset, QString* text)
{
    switch (charset) {
    case PhoneCharset::Ucs2:
        if (!hexDigits(field, 4)) return false;
        *text = PhoneCharsets::decodeName(field, charset);
        return std::none_of(text->begin(), text->end(), [](QChar c) { return c.isSurrogate(); });
    case PhoneCharset::Hex: {
        if (!hexDigits(field, 2)) return false;
        const QByteArray codes = QByteArray::fromHex(field);
        *text = GsmAlphabet::decodeCodes(codes);
        return sevenBit(codes);
    }
    case PhoneCharset::Gsm:
        *text = GsmAlphabet::decodeCodes(field);
        return sevenBit(field);
    case PhoneCharset::Ira:
    case PhoneCharset::Latin1:
        *text = QString::fromLatin1(field);
        return sevenBit(field);
    }
    return false;
}

// One character of an answer in the set. A phone shows what the set cannot carry, or what would break its
// answer line ("@" as NUL, a quote, a line end, the escape of an extension character), as "?".
QByteArray answerCharacter(QChar ch, PhoneCharset charset)
{
    const char16_t u = ch.unicode();
    QByteArray codes;
    switch (charset) {
    case PhoneCharset::Ucs2: return QByteArray::number(u, 16).rightJustified(4, '0').toUpper();
    case PhoneCharset::Hex: return (GsmAlphabet::encodeCodes(QString(ch), &codes) ? codes : QByteArray("?")).toHex().toUpper();
    case PhoneCharset::Gsm: {
        const bool breaks = !GsmAlphabet::encodeCodes(QString(ch), &codes)
            || codes.contains('\0') || codes.contains('"') || codes.contains('\r') || codes.contains('\n')
            || codes.contains('\x1A') || codes.contains('\x1B');
        return breaks ? QByteArray("?") : codes;
    }
    case PhoneCharset::Ira:
    case PhoneCharset::Latin1: return u >= 0x20 && u < 0x7F && u != '"' ? QByteArray(1, char(u)) : QByteArray("?");
    }
    return "?";
}

QByteArray answerField(const QString& name, PhoneCharset charset)
{
    QByteArray field;
    for (QChar ch : name) field += answerCharacter(ch, charset);
    return field;
}

// Characters that are no hex digit and break no answer line: what a damaged hex digit turns into.
constexpr char kStrangers[] = "GHIJKLMNOPQRSTUVWXYZ";
}

EmulatorEngine::EmulatorEngine(EmulatorState& state, const EmulatorFaults& faults, std::function<void()> onWritten,
                               EmulatorIdentity identity)
    : m_state(state), m_faults(faults), m_identity(std::move(identity)), m_onWritten(std::move(onWritten)),
      m_garbling(faults.garbleSeed)
{
}

QStringList EmulatorEngine::storages() const
{
    QStringList names;
    for (const QString& name : m_state.storageNames())
        if (!m_faults.without.contains(name, Qt::CaseInsensitive)) names.append(name);
    return names;
}

EmulatorStorage* EmulatorEngine::selected()
{
    return storages().contains(m_storage) ? m_state.storage(m_storage) : nullptr;
}

QByteArray EmulatorEngine::error(int cmeCode, bool* failed)
{
    *failed = true;
    if (m_errorMode == 1) m_pendingError = "+CME ERROR: " + QByteArray::number(cmeCode);
    else if (m_errorMode == 2) m_pendingError = QByteArray("+CME ERROR: ") + errorText(cmeCode);
    else m_pendingError = "ERROR";
    return {};
}

QByteArray EmulatorEngine::answer(const QByteArray& commandLine)
{
    const QByteArray text = commandLine.trimmed();
    if (text.size() < 2 || upperOutsideQuotes(text.left(2)) != "AT") return line("ERROR");
    QByteArray reply;
    for (const QByteArray& command : splitCommands(text.mid(2))) {
        bool failed = false;
        m_pendingError.clear();
        reply += run(upperOutsideQuotes(command.trimmed()), &failed);
        if (failed) return reply + line(m_pendingError.isEmpty() ? QByteArray("ERROR") : m_pendingError);
    }
    return reply + line("OK");
}

QByteArray EmulatorEngine::run(const QByteArray& command, bool* failed)
{
    QByteArray c = command;
    if (c.startsWith('+')) {
        if (c == "+CGMI" || c == "+GMI") return line(m_identity.maker);
        if (c == "+CGMM" || c == "+GMM") return line(m_identity.model);
        if (c == "+CGMR" || c == "+GMR") return line("1.1.03");
        if (c == "+CGSN" || c == "+GSN") return line("350000000000017");
        if (c == "+CPIN?") return line("+CPIN: READY");
        if (c == "+CMEE=?") return line("+CMEE: (0-2)");
        if (c == "+CMEE?") return line("+CMEE: " + QByteArray::number(m_errorMode));
        if (c.startsWith("+CMEE=")) {
            int mode = -1;
            if (!parseIndex(c.mid(6), &mode) || mode < 0 || mode > 2) return error(kOperationNotSupported, failed);
            m_errorMode = mode;
            return {};
        }
        if (c.startsWith("+CSCS")) return charsetCommand(c.mid(5), failed);
        if (c.startsWith("+CPBS")) return storageCommand(command.mid(5), failed);
        if (c.startsWith("+CPBR")) return readCommand(c.mid(5), failed);
        if (c.startsWith("+CPBW")) return writeCommand(command.mid(5), failed);
        return error(kOperationNotSupported, failed);
    }
    return basic(c, failed);
}

QByteArray EmulatorEngine::basic(const QByteArray& c, bool* failed)
{
    if (c.isEmpty()) return {};
    if (c == "E" || c == "E0") {
        m_echo = false;
        return {};
    }
    if (c == "E1") {
        m_echo = true;
        return {};
    }
    if (c == "Z" || c == "&F" || c == "Z0" || c == "&F0") {
        m_echo = true;
        m_errorMode = 0;
        m_charset = PhoneCharset::Gsm;
        m_storage = QStringLiteral("SM");
        return {};
    }
    if (c == "I" || c == "I0") return line("Korvane Telvora Phone");
    static const char* const kHarmless[] = {"V1", "Q0", "&C1", "&D2", "&D0", "&C0", "S0=0", "&K0", "&K3", "X4"};
    for (const char* ok : kHarmless)
        if (c == ok) return {};
    *failed = true;
    m_pendingError = "ERROR";
    return {};
}

QByteArray EmulatorEngine::charsetCommand(const QByteArray& args, bool* failed)
{
    if (args == "=?")
        return line(m_identity.ucs2 ? "+CSCS: (\"GSM\",\"IRA\",\"HEX\",\"UCS2\")" : "+CSCS: (\"GSM\",\"IRA\",\"HEX\")");
    if (args == "?") return line("+CSCS: \"" + PhoneCharsets::name(m_charset).toLatin1() + '"');
    if (!args.startsWith('=')) return error(kOperationNotSupported, failed);
    PhoneCharset wanted;
    if (!PhoneCharsets::fromName(QString::fromLatin1(AtReply::unquote(args.mid(1))), &wanted) || wanted == PhoneCharset::Latin1
        || (wanted == PhoneCharset::Ucs2 && !m_identity.ucs2))
        return error(kOperationNotSupported, failed);
    m_charset = wanted;
    return {};
}

QByteArray EmulatorEngine::storageCommand(const QByteArray& args, bool* failed)
{
    if (args == "=?") {
        QByteArray list;
        for (const QString& name : storages()) list += (list.isEmpty() ? "\"" : ",\"") + name.toLatin1() + '"';
        return line("+CPBS: (" + list + ")");
    }
    if (args == "?") {
        EmulatorStorage* s = selected();
        if (!s) return error(kOperationNotAllowed, failed);
        return line("+CPBS: \"" + m_storage.toLatin1() + "\"," + QByteArray::number(s->entries.size()) + ','
                    + QByteArray::number(s->capacity));
    }
    if (!args.startsWith('=')) return error(kOperationNotSupported, failed);
    const QString wanted = QString::fromLatin1(AtReply::unquote(args.mid(1))).toUpper();
    if (!storages().contains(wanted)) return error(kOperationNotAllowed, failed);
    m_storage = wanted;
    return {};
}

QByteArray EmulatorEngine::recordLine(int index, const EmulatorEntry& entry)
{
    const PhoneCharset charset = m_identity.answersUcs2Always ? PhoneCharset::Ucs2 : m_charset;
    QByteArray name = answerField(entry.name, charset);
    if (charset == PhoneCharset::Ucs2 || charset == PhoneCharset::Hex) name = garbled(name);
    const QByteArray number = entry.number.toLatin1();
    const int type = number.startsWith('+') ? 145 : 129;
    return line("+CPBR: " + QByteArray::number(index) + ",\"" + number + "\"," + QByteArray::number(type) + ",\"" + name + '"');
}

QByteArray EmulatorEngine::garbled(QByteArray field)
{
    if (m_faults.garblePercent <= 0 || field.isEmpty()) return field;
    if (int(m_garbling() % 100) >= m_faults.garblePercent) return field;
    const auto at = qsizetype(m_garbling() % quint32(field.size()));
    if (m_garbling() % 2 == 0) field[at] = kStrangers[m_garbling() % (sizeof kStrangers - 1)];
    else field.remove(at, 1);
    return field;
}

int EmulatorEngine::reportedNameLength(const EmulatorStorage& storage) const
{
    return m_charset == PhoneCharset::Ucs2 && m_identity.ucs2NameLength > 0 ? m_identity.ucs2NameLength : storage.nameLength;
}

int EmulatorEngine::ucs2Limit(const EmulatorStorage& storage) const
{
    return m_identity.ucs2NameLength > 0 ? m_identity.ucs2NameLength : (storage.nameLength - 1) / 2;
}

// 0 when the phone keeps the name, else the error it answers. A name of the GSM alphabet is measured in its
// positions (an extension character takes two), any other in UCS2 characters.
int EmulatorEngine::nameProblem(const QByteArray& field, const EmulatorStorage& storage, QString* name) const
{
    if (!decodeWritten(field, m_charset, name)) return kInvalidText;
    if (std::any_of(name->begin(), name->end(), [](QChar c) { return c.unicode() < 0x20; })) return kInvalidText;
    if (GsmAlphabet::holdsAll(*name)) return GsmAlphabet::septetLength(*name) > storage.nameLength ? kTextTooLong : 0;
    if (!m_identity.ucs2) return kInvalidText;
    return name->size() > ucs2Limit(storage) ? kTextTooLong : 0;
}

QByteArray EmulatorEngine::readCommand(const QByteArray& args, bool* failed)
{
    EmulatorStorage* s = selected();
    if (!s) return error(kOperationNotAllowed, failed);
    if (args == "=?")
        return line("+CPBR: (1-" + QByteArray::number(s->capacity) + ")," + QByteArray::number(s->numberLength) + ','
                    + QByteArray::number(reportedNameLength(*s)));
    if (!args.startsWith('=')) return error(kOperationNotSupported, failed);
    const QList<QByteArray> fields = AtReply::splitFields(args.mid(1));
    int first = 0;
    int last = 0;
    if (!parseIndex(fields[0], &first)) return error(kInvalidIndex, failed);
    last = first;
    if (fields.size() > 1 && !parseIndex(fields[1], &last)) return error(kInvalidIndex, failed);
    if (first < 1 || last < first || last > s->capacity) return error(kInvalidIndex, failed);
    QByteArray reply;
    for (auto it = s->entries.lowerBound(first); it != s->entries.end() && it.key() <= last; ++it)
        reply += recordLine(it.key(), it.value());
    return reply;
}

QByteArray EmulatorEngine::writeCommand(const QByteArray& args, bool* failed)
{
    EmulatorStorage* s = selected();
    if (!s) return error(kOperationNotAllowed, failed);
    if (args == "=?")
        return line("+CPBW: (1-" + QByteArray::number(s->capacity) + ")," + QByteArray::number(s->numberLength)
                    + ",(129,145)," + QByteArray::number(reportedNameLength(*s)));
    if (!args.startsWith('=')) return error(kOperationNotSupported, failed);
    if (!s->writable) return error(kOperationNotAllowed, failed);
    ++m_writes;
    if (m_faults.failWrite > 0 && m_writes == m_faults.failWrite) return error(kUnknown, failed);
    const QList<QByteArray> fields = AtReply::splitFields(args.mid(1));
    int index = 0;
    if (fields[0].trimmed().isEmpty()) {
        for (index = 1; index <= s->capacity && s->entries.contains(index); ++index) {}
        if (index > s->capacity) return error(kMemoryFull, failed);
    } else if (!parseIndex(fields[0], &index) || index < 1 || index > s->capacity) {
        return error(kInvalidIndex, failed);
    }
    if (fields.size() == 1) {
        s->entries.remove(index);
        m_onWritten();
        return {};
    }
    QString number = QString::fromLatin1(AtReply::unquote(fields[1]));
    int type = 0;
    if (fields.size() > 2 && parseIndex(fields[2], &type) && type == 145 && !number.startsWith(u'+')) number.prepend(u'+');
    if (!isDialString(number)) return error(kInvalidDialString, failed);
    if (number.size() - (number.startsWith(u'+') ? 1 : 0) > s->numberLength) return error(kDialStringTooLong, failed);
    QString name;
    if (fields.size() > 3) {
        if (const int problem = nameProblem(AtReply::unquote(fields[3]), *s, &name)) return error(problem, failed);
    }
    s->entries.insert(index, EmulatorEntry{name, number});
    m_onWritten();
    return {};
}

bool EmulatorEngine::storeFromKeypad(const EmulatorKeypadRecord& record)
{
    const QByteArray mapped = StorageCodes::phoneStorage(record.storage.toUpper().toLatin1());
    EmulatorStorage* s = m_state.storage(mapped.isEmpty() ? record.storage.toUpper() : QString::fromLatin1(mapped));
    if (!s) return false;
    int index = record.index;
    if (index == 0)
        for (index = 1; index <= s->capacity && s->entries.contains(index); ++index) {}
    if (index < 1 || index > s->capacity) return false;
    s->entries.insert(index, EmulatorEntry{record.name, record.number});
    m_onWritten();
    return true;
}
