#include "link/PhonebookRecords.h"

#include "link/DialNumber.h"
#include "res/GsmAlphabet.h"

#include <algorithm>

namespace {
// Some phones in UCS2 send the number in UCS2 as well ("002B0034009..."). Only a field of at least two
// units that decodes entirely to dialling characters is taken as such, so ordinary numbers stay as sent.
QByteArray decodeNumber(const QByteArray& field, PhoneCharset charset, bool alwaysUcs2)
{
    if (alwaysUcs2) charset = PhoneCharset::Ucs2;
    if (charset == PhoneCharset::Ucs2 && field.size() >= 8 && field.size() % 4 == 0) {
        const QString text = PhoneCharsets::decodeName(field, charset);
        bool dialOnly = text.size() == field.size() / 4;
        for (QChar ch : text) dialOnly = dialOnly && ch.unicode() < 128 && DialNumber::isDialCharacter(char(ch.unicode()));
        if (dialOnly) return text.toLatin1();
    }
    return DialNumber::dialCharactersOnly(field);
}

QString cutName(const QString& name, int nameLength)
{
    if (nameLength <= 0) return name;
    QString out;
    int used = 0;
    for (QChar ch : name) {
        bool extension = false;
        GsmAlphabet::codeOf(ch.unicode(), &extension);
        const int width = extension ? 2 : 1;
        if (used + width > nameLength) break;
        used += width;
        out.append(ch);
    }
    return out;
}

void appendField(QByteArray& block, const QByteArray& text, int length)
{
    QByteArray field = text.left(length);
    field.append(QByteArray(length - field.size(), '\0'));
    block.append(field);
}
}

namespace PhonebookRecords {
std::optional<PhoneRecord> fromRaw(const AtReply::RawRecord& raw, PhoneCharset charset, int nameLength, int numberLength)
{
    return fromRaw(raw, charset, NameDecoding::Hints{}, nameLength, numberLength);
}

std::optional<PhoneRecord> fromRaw(const AtReply::RawRecord& raw, PhoneCharset charset, const NameDecoding::Hints& hints,
                                   int nameLength, int numberLength)
{
    PhoneRecord record;
    record.index = int(std::clamp<qint64>(raw.index, -1, kMaxIndex + 1));
    record.name = cutName(NameDecoding::decode(raw.name, charset, hints), nameLength);
    record.number = decodeNumber(raw.number, charset, hints.alwaysUcs2);
    if (raw.type == 145 && !record.number.isEmpty() && !record.number.startsWith('+')) record.number.prepend('+');
    if (numberLength > 0) {
        const int keep = numberLength + (record.number.startsWith('+') ? 1 : 0);
        record.number = record.number.left(keep);
    }
    if (record.name.isEmpty() && record.number.isEmpty()) return std::nullopt;
    return record;
}

QList<PhoneRecord> keepValid(QList<PhoneRecord> records, int first, int last)
{
    QList<PhoneRecord> kept;
    for (const PhoneRecord& r : records) {
        if (r.index < std::max(first, 1) || r.index > std::min(last, kMaxIndex)) continue;
        const bool seen = std::any_of(kept.begin(), kept.end(), [&](const PhoneRecord& k) { return k.index == r.index; });
        if (!seen) kept.append(r);
    }
    std::stable_sort(kept.begin(), kept.end(), [](const PhoneRecord& a, const PhoneRecord& b) { return a.index < b.index; });
    if (kept.size() > kMaxRecords) kept.resize(kMaxRecords);
    return kept;
}

int nameFieldSize(int nameLength)
{
    return 4 * std::max(nameLength, 1);
}

int numberFieldSize(int numberLength)
{
    return std::max(numberLength, 0) + 1;
}

QByteArray blockName(const QString& name, int fieldSize)
{
    QByteArray bytes = name.toUtf8();
    if (bytes.size() <= fieldSize) return bytes;
    bytes.truncate(fieldSize);
    // Never end the field inside a character: drop the continuation bytes and the lead byte of a cut one.
    qsizetype end = bytes.size();
    while (end > 0 && (static_cast<unsigned char>(bytes[end - 1]) & 0xC0) == 0x80) --end;
    if (end > 0 && static_cast<unsigned char>(bytes[end - 1]) >= 0xC0) {
        const auto lead = static_cast<unsigned char>(bytes[end - 1]);
        const qsizetype length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        if (bytes.size() - (end - 1) < length) bytes.truncate(end - 1);
    }
    return bytes;
}

QByteArray buildBlock(const QList<PhoneRecord>& records, int nameLength, int numberLength)
{
    const int nameSize = nameFieldSize(nameLength);
    const int numberSize = numberFieldSize(numberLength);
    QByteArray block;
    block.reserve(records.size() * (2 + nameSize + numberSize));
    for (const PhoneRecord& r : records) {
        const auto index = static_cast<quint16>((r.index & 0x7FFF) | (r.nameUnreadable ? 0x8000 : 0));
        block.append(char(index & 0xFF));
        block.append(char(index >> 8));
        appendField(block, blockName(r.name, nameSize), nameSize);
        appendField(block, r.number, numberSize);
    }
    return block;
}
}
