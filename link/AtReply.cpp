#include "link/AtReply.h"

#include <cstring>

namespace {
bool parseInt(const QByteArray& text, qint64* value)
{
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok);
    if (ok) *value = v;
    return ok;
}

int intOr(const QByteArray& text, int fallback)
{
    qint64 v = 0;
    return parseInt(text, &v) && v >= 0 && v <= 100000 ? int(v) : fallback;
}

// The position of the quote that closes a string opened at 'open': the first quote followed by the end
// or a comma, so that a stray quote inside a name does not end it. -1 when the string is never closed.
qsizetype closingQuote(const QByteArray& text, qsizetype open)
{
    for (qsizetype j = open + 1; j < text.size(); ++j) {
        if (text[j] != '"') continue;
        if (j + 1 == text.size() || text[j + 1] == ',') return j;
    }
    return -1;
}
}

namespace AtReply {
FinalResult classifyFinal(const QByteArray& rawLine)
{
    const QByteArray line = rawLine.trimmed();
    if (line == "OK") return {Final::Ok, -1};
    if (line == "ERROR" || line == "NO CARRIER" || line == "COMMAND NOT SUPPORT" || line == "+CME ERROR"
        || line == "TOO MANY PARAMETERS")
        return {Final::Error, -1};
    for (const char* prefix : {"+CME ERROR:", "+CMS ERROR:"}) {
        if (line.startsWith(prefix)) {
            qint64 code = -1;
            parseInt(line.mid(qsizetype(strlen(prefix))), &code);
            return {Final::CmeError, code >= 0 && code < 100000 ? int(code) : -1};
        }
    }
    return {};
}

bool isUnsolicited(const QByteArray& rawLine)
{
    const QByteArray line = rawLine.trimmed();
    static const char* const kPrefixes[] = {"RING", "+CRING", "+CREG:", "+CGREG:", "+CMTI:", "+CDSI:", "+CBM:",
                                            "+CLIP:", "+CCWA:", "+CIEV:", "^RSSI", "^BOOT", "^MODE", "+CUSD:",
                                            "+CSQ:", "*ECAV", "+PBREADY", "^SYSSTART", "+STIN"};
    for (const char* prefix : kPrefixes)
        if (line.startsWith(prefix)) return true;
    return false;
}

QList<QByteArray> splitFields(const QByteArray& payload)
{
    QList<QByteArray> fields;
    QByteArray current;
    bool quoted = false;
    int depth = 0;
    for (char c : payload) {
        if (c == '"') quoted = !quoted;
        if (!quoted && c == '(') ++depth;
        if (!quoted && c == ')' && depth > 0) --depth;
        if (c == ',' && !quoted && depth == 0) {
            fields.append(current.trimmed());
            current.clear();
        } else {
            current.append(c);
        }
    }
    fields.append(current.trimmed());
    return fields;
}

QByteArray unquote(const QByteArray& field)
{
    QByteArray f = field.trimmed();
    if (f.startsWith('"')) f.remove(0, 1);
    if (f.endsWith('"')) f.chop(1);
    return f;
}

std::optional<QByteArray> payloadOf(const QByteArray& rawLine, const char* prefix)
{
    const QByteArray line = rawLine.trimmed();
    if (!line.startsWith(prefix)) return std::nullopt;
    QByteArray rest = line.mid(qsizetype(strlen(prefix)));
    if (!rest.startsWith(':')) return std::nullopt;
    return rest.mid(1).trimmed();
}

QByteArray parseIdentity(const QList<QByteArray>& lines, const char* prefix)
{
    for (const QByteArray& raw : lines) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || isUnsolicited(line) || classifyFinal(line).kind != Final::None) continue;
        const auto payload = payloadOf(line, prefix);
        return unquote(payload ? *payload : line).trimmed();
    }
    return {};
}

QStringList parseList(const QByteArray& payload)
{
    QByteArray inner = payload.trimmed();
    if (inner.startsWith('(')) inner.remove(0, 1);
    if (inner.endsWith(')')) inner.chop(1);
    QStringList words;
    for (const QByteArray& field : splitFields(inner)) {
        const QByteArray word = unquote(field).trimmed();
        if (!word.isEmpty()) words.append(QString::fromLatin1(word));
    }
    return words;
}

std::optional<StorageStatus> parseStorageStatus(const QByteArray& line)
{
    const auto payload = payloadOf(line, "+CPBS");
    if (!payload || payload->isEmpty() || payload->startsWith('(')) return std::nullopt;
    const QList<QByteArray> fields = splitFields(*payload);
    StorageStatus status;
    status.storage = unquote(fields[0]).trimmed();
    if (fields.size() > 1) status.used = intOr(fields[1], -1);
    if (fields.size() > 2) status.total = intOr(fields[2], -1);
    return status;
}

std::optional<RecordFormat> parseRecordFormat(const QByteArray& line)
{
    const auto payload = payloadOf(line, "+CPBR");
    if (!payload) return std::nullopt;
    const QList<QByteArray> fields = splitFields(*payload);
    QByteArray range = fields[0].trimmed();
    if (range.startsWith('(')) range.remove(0, 1);
    if (range.endsWith(')')) range.chop(1);
    const qsizetype dash = range.indexOf('-');
    if (dash <= 0) return std::nullopt;
    qint64 first = 0, last = 0;
    if (!parseInt(range.left(dash), &first) || !parseInt(range.mid(dash + 1), &last)) return std::nullopt;
    if (first < 0 || last < first || last > 1000000) return std::nullopt;
    RecordFormat format;
    format.first = int(first);
    format.last = int(last);
    if (fields.size() > 1) format.numberLength = intOr(fields[1], 0);
    if (fields.size() > 2) format.nameLength = intOr(fields[2], 0);
    return format;
}

std::optional<RawRecord> parseRecord(const QByteArray& line)
{
    const auto payload = payloadOf(line, "+CPBR");
    if (!payload || payload->startsWith('(')) return std::nullopt;
    // Index, number and type are split normally; the name is taken from what follows the third comma so
    // that commas and stray quotes inside it survive.
    const QByteArray& p = *payload;
    qsizetype commas[3] = {-1, -1, -1};
    int found = 0;
    bool quoted = false;
    for (qsizetype i = 0; i < p.size() && found < 3; ++i) {
        if (p[i] == '"') quoted = !quoted;
        else if (p[i] == ',' && !quoted) commas[found++] = i;
    }
    if (found < 2) return std::nullopt;
    RawRecord record;
    if (!parseInt(p.left(commas[0]), &record.index)) return std::nullopt;
    const qsizetype numberEnd = found >= 2 ? commas[1] : p.size();
    record.number = unquote(p.mid(commas[0] + 1, numberEnd - commas[0] - 1));
    const qsizetype typeEnd = found == 3 ? commas[2] : p.size();
    qint64 type = -1;
    if (parseInt(p.mid(commas[1] + 1, typeEnd - commas[1] - 1), &type) && type >= 0 && type < 256) record.type = int(type);
    if (found < 3) return record;
    const QByteArray rest = p.mid(commas[2] + 1).trimmed();
    if (rest.startsWith('"')) {
        const qsizetype close = closingQuote(rest, 0);
        record.name = close < 0 ? rest.mid(1) : rest.mid(1, close - 1);
    } else {
        const qsizetype comma = rest.indexOf(',');
        record.name = (comma < 0 ? rest : rest.left(comma)).trimmed();
    }
    return record;
}
}
