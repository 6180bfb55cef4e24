#pragma once
// The telephone link library: reads and writes one telephone directory in the background and posts the end of
// each request to a window (a QObject) as a PhonebookMessage event, handled on the user-interface thread.
#include <QEvent>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>

constexpr int UM_PHONEBOOK_READ = 0x465;
constexpr int UM_PHONEBOOK_WRITTEN = 0x466;
constexpr int UM_PHONEBOOK_SPAN_READ = 0x467;

// Result codes in lParam of UM_PHONEBOOK_READ.
constexpr intptr_t PB_READ_NO_DATA = -1;
constexpr intptr_t PB_READ_NOT_AVAILABLE = -4;
// Result code in lParam of a write's end: the record went out, but its answer never came.
constexpr intptr_t PB_WRITE_UNANSWERED = -2;

// The record block of the last read, valid until the read-end handler has copied it. Records lie back to
// back, 2 + nNameFieldSize + nNumberFieldSize bytes each: a 16-bit little-endian index (low 15 bits = record
// number; bit 15 set when the phone's name for it could not be read: the name field then holds what arrived),
// the name as UTF-8 in nNameFieldSize bytes, then the number in nNumberFieldSize bytes (nNumberLen + 1: room
// for the "+" and every digit); each text ends with a zero byte inside its field unless it fills the field.
// Both fields hold what the phone answered whole: the name as decoded, within the phone's name length.
//
// nNameLen is the name length the phone gives for names of the GSM alphabet, in its positions (an extension
// character takes two). nUcs2NameLen is the number of characters a name outside that alphabet may hold: the
// limit the phone reports for UCS2 names, or (nNameLen - 1) / 2 as on a SIM; 0 when the phone has no UCS2 and
// keeps only names of the GSM alphabet.
struct PhonebookData {
    int32_t nCount = 0;
    int32_t nNameLen = 0;
    int32_t nNumberLen = 0;
    const uint8_t* pRecords = nullptr;
    int32_t nMaxEntries = 0;
    int32_t nNameFieldSize = 0;
    int32_t nUcs2NameLen = 0;
    int32_t nNumberFieldSize = 0;
};
constexpr int kRecordNameUnreadable = 0x8000; // in a record's 16-bit index

// The posted end of a request: message (UM_PHONEBOOK_READ or UM_PHONEBOOK_WRITTEN), wParam, lParam.
class PhonebookMessage : public QEvent {
public:
    PhonebookMessage(int message, intptr_t wParam, intptr_t lParam);
    static QEvent::Type EventType();
    int message;
    intptr_t wParam;
    intptr_t lParam;
};

// Starts reading the directory with the given read code ("SM", "ME", "LD", "OW", "FD", "MC", "CD").
int ATPBRead(QObject* window, int message, const char* storageCode);
// Reads the records of first..last only (clamped to the directory's range) and ends like ATPBRead: lParam the
// number of records found (0 included), ATPBGet() the records and the directory's lengths as after a full
// read. A save uses it to look at locations before writing there; it costs no new set-up of the phone's
// run of writes (PhonebookSession::readSpan).
int ATPBReadSpan(QObject* window, int message, const char* storageCode, int first, int last);
// The records of the read that ended last.
PhonebookData* ATPBGet();
// Writes one record; an empty name and number clear it. name is UTF-8: the link sends a name of the GSM alphabet
// in the phone's GSM set and any other in UCS2, switching the phone's set only when the name needs another one.
int ATPBWrite(QObject* window, int message, const char* storageCode, int index, const char* name, const char* number);
// Shows error report N (with its remedy text) for the error class and returns when it was dismissed.
int Fehler_Melden(int errorClass, int messageId);
// The same with a detail of the caller's under the remedy, in place of what the link found.
int Fehler_Melden(int errorClass, int messageId, const QString& detail);

// Where Fehler_Melden's reports go: the program points it at its question seam. Without one the report is
// written to standard error.
using ErrorReportHandler = std::function<void(int errorClass, int messageId)>;
void SetErrorReportHandler(ErrorReportHandler handler);

// Requests are carried out one after the other in the order they were made: a read or write requested while
// another is outstanding waits for it, and each ends with its own message. Successful reads end with lParam =
// the number of records (0 included); writes end with 0, or -1 (no connection: not sent, the phone holds what
// it held), -2 (sent, but its answer never came: the phone may or may not hold the record), -4 (directory not
// available), 1 (the phone refused the record), 2 (not sent: index, number or name the phone cannot take).

// Posted to the reading window while a long read runs, so that it can show how far the read has come.
class PhonebookProgress : public QEvent {
public:
    PhonebookProgress(int recordsRead, int recordsExpected);
    static QEvent::Type EventType();
    int recordsRead;
    int recordsExpected; // -1 when the phone did not say
};
