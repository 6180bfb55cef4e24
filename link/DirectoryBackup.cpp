#include "link/DirectoryBackup.h"

#include "link/DialNumber.h"
#include "res/GsmAlphabet.h"
#include "link/StorageCodes.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <map>

namespace {
const QString kFormat = QStringLiteral("telephone-directory-backup");
constexpr int kLongestField = 255;
const QString kDamaged = QStringLiteral("The backup is damaged: %1");

QString takenText(const QDateTime& taken)
{
    return taken.toUTC().toString(Qt::ISODate);
}

QList<PhoneRecord> sortedByIndex(QList<PhoneRecord> records)
{
    std::stable_sort(records.begin(), records.end(), [](const PhoneRecord& a, const PhoneRecord& b) { return a.index < b.index; });
    return records;
}

// Each text as its length and bytes, so that no name, however odd, can pass for another field.
void appendField(QByteArray& text, const QByteArray& field)
{
    text += QByteArray::number(field.size()) + ':' + field + '\n';
}

QByteArray checksumOf(const QByteArray& code, const QString& taken, int nameLength, int numberLength,
                      const QList<PhoneRecord>& records)
{
    QByteArray text;
    appendField(text, kFormat.toUtf8());
    appendField(text, QByteArray::number(DirectoryBackup::kFormatVersion));
    appendField(text, code);
    appendField(text, taken.toUtf8());
    appendField(text, QByteArray::number(nameLength));
    appendField(text, QByteArray::number(numberLength));
    for (const PhoneRecord& r : records) {
        appendField(text, QByteArray::number(r.index));
        appendField(text, r.name.toUtf8());
        appendField(text, r.number);
        if (r.nameUnreadable) appendField(text, "name unreadable"); // absent from backups without such names
    }
    return "sha256:" + QCryptographicHash::hash(text, QCryptographicHash::Sha256).toHex();
}

bool wholeNumber(const QJsonValue& value, int* out)
{
    if (!value.isDouble()) return false;
    const double d = value.toDouble();
    if (d != std::floor(d) || d < -2147483648.0 || d > 2147483647.0) return false;
    *out = int(d);
    return true;
}

QString recordProblem(const PhoneRecord& r, int nameLength, int numberLength)
{
    if (r.index < 1 || r.index > PhonebookRecords::kMaxIndex)
        return QStringLiteral("record index %1 lies outside 1 to %2.").arg(r.index).arg(PhonebookRecords::kMaxIndex);
    if (r.name.isEmpty() && r.number.isEmpty()) return QStringLiteral("record %1 holds neither name nor number.").arg(r.index);
    if (GsmAlphabet::septetLength(r.name) > nameLength)
        return QStringLiteral("the name of record %1 is longer than %2 characters.").arg(r.index).arg(nameLength);
    if (!std::all_of(r.number.begin(), r.number.end(), DialNumber::isDialCharacter))
        return QStringLiteral("the number of record %1 holds characters that are not dial characters.").arg(r.index);
    if (r.number.size() - (r.number.startsWith('+') ? 1 : 0) > numberLength)
        return QStringLiteral("the number of record %1 is longer than %2 digits.").arg(r.index).arg(numberLength);
    return {};
}

std::optional<PhoneRecord> recordFromJson(const QJsonValue& value, int position, QString* error)
{
    const QJsonObject o = value.toObject();
    PhoneRecord r;
    if (!value.isObject() || !wholeNumber(o.value("index"), &r.index) || !o.value("name").isString()
        || !o.value("number").isString()) {
        *error = kDamaged.arg(QStringLiteral("record %1 of the list lacks its index, name or number.").arg(position + 1));
        return std::nullopt;
    }
    r.name = o.value("name").toString();
    const QString number = o.value("number").toString();
    // toLatin1 would turn any other character into "?", itself a dial character.
    if (std::any_of(number.begin(), number.end(), [](QChar c) { return c.unicode() > 0x7E; })) {
        *error = kDamaged.arg(QStringLiteral("the number of record %1 holds characters that are not dial characters.").arg(r.index));
        return std::nullopt;
    }
    r.number = number.toLatin1();
    r.nameUnreadable = o.value("nameUnreadable").toBool(false);
    return r;
}

QString describe(const PhoneRecord& r)
{
    return QStringLiteral("\"%1\" %2").arg(r.name, QString::fromLatin1(r.number.isEmpty() ? QByteArray("(no number)") : r.number));
}
}

QString DirectoryBackup::problem() const
{
    if (StorageCodes::phoneStorage(directoryCode).isEmpty())
        return QStringLiteral("\"%1\" is not a directory code (SM, ME, LD, OW, FD, MC, CD).").arg(QString::fromLatin1(directoryCode));
    if (!taken.isValid()) return QStringLiteral("the time it was taken is missing or not a time.");
    if (nameLength < 1 || nameLength > kLongestField || numberLength < 1 || numberLength > kLongestField)
        return QStringLiteral("the field lengths must lie between 1 and %1.").arg(kLongestField);
    QSet<int> seen;
    for (const PhoneRecord& r : records) {
        const QString wrong = recordProblem(r, nameLength, numberLength);
        if (!wrong.isEmpty()) return wrong;
        if (seen.contains(r.index)) return QStringLiteral("record %1 appears twice.").arg(r.index);
        seen.insert(r.index);
    }
    return {};
}

QByteArray DirectoryBackup::toJson() const
{
    const QList<PhoneRecord> sorted = sortedByIndex(records);
    QJsonArray list;
    for (const PhoneRecord& r : sorted) {
        QJsonObject record{{"index", r.index}, {"name", r.name}, {"number", QString::fromLatin1(r.number)}};
        if (r.nameUnreadable) record.insert("nameUnreadable", true);
        list.append(record);
    }
    const QString time = takenText(taken);
    const QJsonObject o{{"format", kFormat},
                        {"version", kFormatVersion},
                        {"directory", QString::fromLatin1(directoryCode)},
                        {"taken", time},
                        {"nameLength", nameLength},
                        {"numberLength", numberLength},
                        {"records", list},
                        {"checksum", QString::fromLatin1(checksumOf(directoryCode, time, nameLength, numberLength, sorted))}};
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

std::optional<DirectoryBackup> DirectoryBackup::fromJson(const QByteArray& json, QString* error)
{
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (doc.isNull()) {
        *error = QStringLiteral("The file is damaged or not a backup: it is not readable JSON (%1 at byte %2).")
                     .arg(parseError.errorString())
                     .arg(parseError.offset);
        return std::nullopt;
    }
    const QJsonObject o = doc.object();
    if (!doc.isObject() || o.value("format").toString() != kFormat) {
        *error = QStringLiteral("The file is not a backup of a telephone directory.");
        return std::nullopt;
    }
    int version = 0;
    if (!wholeNumber(o.value("version"), &version) || version < 1) {
        *error = kDamaged.arg(QStringLiteral("its format version is missing."));
        return std::nullopt;
    }
    if (version > kFormatVersion) {
        *error = QStringLiteral("The backup is in format %1, written by a newer program; this one reads format %2.")
                     .arg(version)
                     .arg(kFormatVersion);
        return std::nullopt;
    }
    DirectoryBackup backup;
    const QString time = o.value("taken").toString();
    backup.directoryCode = o.value("directory").toString().toLatin1();
    backup.taken = QDateTime::fromString(time, Qt::ISODate);
    if (!wholeNumber(o.value("nameLength"), &backup.nameLength) || !wholeNumber(o.value("numberLength"), &backup.numberLength)
        || !o.value("records").isArray() || !o.value("checksum").isString()) {
        *error = kDamaged.arg(QStringLiteral("its field lengths, records or checksum are missing."));
        return std::nullopt;
    }
    const QJsonArray list = o.value("records").toArray();
    for (qsizetype i = 0; i < list.size(); ++i) {
        const std::optional<PhoneRecord> r = recordFromJson(list[i], int(i), error);
        if (!r) return std::nullopt;
        backup.records.append(*r);
    }
    const QByteArray expected = checksumOf(backup.directoryCode, time, backup.nameLength, backup.numberLength, backup.records);
    if (o.value("checksum").toString().toLatin1() != expected) {
        *error = kDamaged.arg(QStringLiteral("its contents do not match their checksum (changed or cut short)."));
        return std::nullopt;
    }
    if (const QString wrong = backup.problem(); !wrong.isEmpty()) {
        *error = kDamaged.arg(wrong);
        return std::nullopt;
    }
    return backup;
}

bool DirectoryBackup::save(const QString& path, QString* error) const
{
    if (const QString wrong = problem(); !wrong.isEmpty()) {
        *error = QStringLiteral("The backup was not written: %1").arg(wrong);
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(toJson()) < 0 || !file.commit()) {
        *error = QStringLiteral("Cannot write the backup %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

std::optional<DirectoryBackup> DirectoryBackup::load(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot read the backup %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QString why;
    std::optional<DirectoryBackup> backup = fromJson(file.readAll(), &why);
    if (!backup) *error = QStringLiteral("%1: %2").arg(path, why);
    return backup;
}

QStringList DirectoryBackup::differencesFrom(const QList<PhoneRecord>& onPhone) const
{
    std::map<int, const PhoneRecord*> kept;
    std::map<int, const PhoneRecord*> found;
    for (const PhoneRecord& r : records) kept[r.index] = &r;
    for (const PhoneRecord& r : onPhone) found[r.index] = &r;
    QSet<int> indices;
    for (const auto& [index, r] : kept) indices.insert(index);
    for (const auto& [index, r] : found) indices.insert(index);
    QList<int> order(indices.begin(), indices.end());
    std::sort(order.begin(), order.end());
    QStringList lines;
    for (int index : order) {
        const auto k = kept.find(index);
        const auto f = found.find(index);
        if (f == found.end()) {
            lines.append(QStringLiteral("Record %1 %2 is missing on the telephone.").arg(QString::number(index), describe(*k->second)));
        } else if (k == kept.end()) {
            lines.append(QStringLiteral("Record %1 %2 is on the telephone but not in the backup.")
                             .arg(QString::number(index), describe(*f->second)));
        } else if (k->second->number != f->second->number
                   || (k->second->name != f->second->name && !k->second->nameUnreadable && !f->second->nameUnreadable)) {
            // A name that could not be read is no name to compare.
            // One pass over the placeholders: a name holding "%2" must not be taken for one.
            lines.append(QStringLiteral("Record %1 is %2 on the telephone but %3 in the backup.")
                             .arg(QString::number(index), describe(*f->second), describe(*k->second)));
        }
    }
    return lines;
}
