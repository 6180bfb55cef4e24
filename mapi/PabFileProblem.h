#pragma once
// Why the address-book file could not be opened, read or written, in words for the user. The layer where
// SQLite answers records it; the address book's error report shows it under its message. Only the last
// problem is kept: each report takes it, so that it never stands under a later, unrelated report.
#include "mapi/MapiTypes.h"

#include <string>

class PabFileProblem {
public:
    enum class Cause {
        None,
        Missing,         // no such file (or no folder for it)
        Directory,       // the name is a folder
        Unreadable,      // no right to read it
        NotSqlite,       // not an SQLite database at all
        ForeignDatabase, // another program's SQLite database
        Damaged,         // the database check failed
        NewerVersion,    // written by a newer version of the program
        ReadOnlyFile,    // the file cannot be written
        ReadOnlyFolder,  // its folder cannot be written (the write-ahead log lives there)
        ReadOnly,        // SQLite refused to write, file and folder look writable
        DiskFull,
        Busy,            // another program holds the database
        InputOutput,     // the disk answered with an error
        Other,
    };

    // Keeps `cause` for the file as the reason of `result`.
    static void Record(Cause cause, const std::string& path, HRESULT result);
    // Keeps the cause that an SQLite result code stands for (the file and its folder are looked at for a
    // refusal to write).
    static void RecordSqlite(int sqliteResult, const std::string& path, HRESULT result);
    // Keeps the cause a MAPI error stands for, unless a cause was kept for it already.
    static void RecordIfNone(const std::string& path, HRESULT result);
    static void Clear();
    // The kept problem's text when it explains `result`, and forgets it; empty otherwise.
    static std::string TakeText(HRESULT result);
    static Cause LastCause();

    static std::string Describe(Cause cause, const std::string& path);
    static Cause FromSqlite(int sqliteResult, const std::string& path);
};
