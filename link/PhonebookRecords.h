#pragma once
// Turning the records a phone answered into the record block that ATPBGet hands out.
#include "link/AtReply.h"
#include "link/NameDecoding.h"
#include "link/PhoneCharset.h"

#include <QByteArray>
#include <QList>
#include <QString>

struct PhoneRecord {
    int index = 0;
    QString name;      // readable text
    QByteArray number; // dialling characters, "+" first for international numbers
    bool nameUnreadable = false; // the name came damaged over the line, also when read again
};

namespace PhonebookRecords {
constexpr int kMaxRecords = 1000;
constexpr int kMaxIndex = 32767; // the block's index has 15 bits

// One answered record as text; the name is cut to nameLength positions (an extension character counts two)
// and the number to numberLength characters plus a leading "+". Nothing when the location is empty.
// The name is decoded by what the field is (NameDecoding.h), then cut: the announced length counts characters
// of the decoded name, never digits or bytes of the field.
std::optional<PhoneRecord> fromRaw(const AtReply::RawRecord& raw, PhoneCharset charset, int nameLength, int numberLength);
// The same with what is known of the phone beforehand.
std::optional<PhoneRecord> fromRaw(const AtReply::RawRecord& raw, PhoneCharset charset, const NameDecoding::Hints& hints,
                                   int nameLength, int numberLength);
// Records worth keeping: inside first..last and 1..32767, one per index (the first answer wins), sorted by
// index, at most 1000 (the lowest indices).
QList<PhoneRecord> keepValid(QList<PhoneRecord> records, int first, int last);
// The record block (Cellbus.h): per record a 16-bit little-endian index (bit 15 for an unreadable name), the
// name as UTF-8 in nameFieldSize(nameLength) bytes, the number in numberFieldSize(numberLength) bytes; a text
// shorter than its field ends with a zero byte, one that fills it has none.
QByteArray buildBlock(const QList<PhoneRecord>& records, int nameLength, int numberLength);
// Bytes of the block's name field for a name length: room for every name the phone can hold.
int nameFieldSize(int nameLength);
// Bytes of the block's number field: every digit the phone holds and the "+" of an international number.
int numberFieldSize(int numberLength);
// A name as UTF-8 that fits fieldSize bytes without splitting a character.
QByteArray blockName(const QString& name, int fieldSize);
}
