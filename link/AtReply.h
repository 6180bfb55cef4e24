#pragma once
// Small pure functions that read the lines a phone answers to AT commands. Each is tolerant: phones of
// different makers quote differently, add fields, leave fields empty or send lines nobody asked for.
#include <QByteArray>
#include <QList>
#include <QStringList>

#include <optional>

namespace AtReply {
enum class Final { None, Ok, Error, CmeError };
struct FinalResult {
    Final kind = Final::None;
    int cmeCode = -1; // for +CME ERROR / +CMS ERROR with a number; -1 when given as text
};
// Whether a line ends a command, and how.
FinalResult classifyFinal(const QByteArray& line);
// Lines the phone sends on its own (RING, +CREG: ..., +CMTI: ...) that belong to no command.
bool isUnsolicited(const QByteArray& line);

// The fields after "+XXX: ", split at commas outside quotes and parentheses; quotes are kept.
QList<QByteArray> splitFields(const QByteArray& payload);
QByteArray unquote(const QByteArray& field);
// The payload of a line with the given prefix ("+CPBR"), or nothing when the line has another prefix.
std::optional<QByteArray> payloadOf(const QByteArray& line, const char* prefix);
// The answer of an identification command (AT+CGMI, AT+CGMM): the first line that is not empty, without a
// "+CGMI: " style prefix and without quotes. Empty when the phone gave none (or answered ERROR).
QByteArray parseIdentity(const QList<QByteArray>& lines, const char* prefix);
// Every quoted or bare word in a list such as ("SM","ME") or "SM","ME" or (SM,ME).
QStringList parseList(const QByteArray& payload);

struct StorageStatus {
    QByteArray storage;
    int used = -1;
    int total = -1;
};
std::optional<StorageStatus> parseStorageStatus(const QByteArray& line); // +CPBS: "SM",24,250

struct RecordFormat {
    int first = 1;
    int last = 0;
    int numberLength = 0; // 0 when the phone left it out
    int nameLength = 0;
};
std::optional<RecordFormat> parseRecordFormat(const QByteArray& line); // +CPBR: (1-250),20,16

struct RawRecord {
    qint64 index = 0;
    QByteArray number;
    int type = -1; // -1 when absent
    QByteArray name;
};
// One +CPBR: record line. Accepts a missing closing quote, an unquoted name and fields after the name.
std::optional<RawRecord> parseRecord(const QByteArray& line);
}
