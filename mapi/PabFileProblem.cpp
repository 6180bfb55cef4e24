#include "mapi/PabFileProblem.h"

#include "mapi/MapiCodes.h"

#include <QFileInfo>

#include <mutex>
#include <sqlite3.h>
#include <unistd.h>

namespace {
struct KeptProblem {
    PabFileProblem::Cause cause = PabFileProblem::Cause::None;
    std::string path;
    HRESULT result = S_OK;
};

std::mutex& problemMutex()
{
    static std::mutex mutex;
    return mutex;
}

KeptProblem& keptProblem()
{
    static KeptProblem problem;
    return problem;
}

std::string folderOf(const std::string& path)
{
    return QFileInfo(QString::fromStdString(path)).absolutePath().toStdString();
}

PabFileProblem::Cause readOnlyCause(const std::string& path)
{
    if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0) return PabFileProblem::Cause::ReadOnlyFile;
    if (::access(folderOf(path).c_str(), W_OK) != 0) return PabFileProblem::Cause::ReadOnlyFolder;
    return PabFileProblem::Cause::ReadOnly;
}

PabFileProblem::Cause fromMapi(HRESULT result, const std::string& path)
{
    if (result == MAPI_E_NOT_ENOUGH_DISK) return PabFileProblem::Cause::DiskFull;
    if (result == MAPI_E_CORRUPT_DATA) return PabFileProblem::Cause::Damaged;
    if (result == MAPI_E_VERSION) return PabFileProblem::Cause::NewerVersion;
    if (result == MAPI_E_DISK_ERROR) return PabFileProblem::Cause::InputOutput;
    if (result == MAPI_E_NOT_FOUND) return PabFileProblem::Cause::Missing;
    if (result == MAPI_E_NO_ACCESS) return readOnlyCause(path);
    return PabFileProblem::Cause::Other;
}
}

void PabFileProblem::Record(Cause cause, const std::string& path, HRESULT result)
{
    std::lock_guard lock(problemMutex());
    keptProblem() = {cause, path, result};
}

void PabFileProblem::RecordSqlite(int sqliteResult, const std::string& path, HRESULT result)
{
    Record(FromSqlite(sqliteResult, path), path, result);
}

void PabFileProblem::RecordIfNone(const std::string& path, HRESULT result)
{
    {
        std::lock_guard lock(problemMutex());
        if (keptProblem().cause != Cause::None && keptProblem().result == result) return;
    }
    Record(fromMapi(result, path), path, result);
}

void PabFileProblem::Clear()
{
    std::lock_guard lock(problemMutex());
    keptProblem() = {};
}

PabFileProblem::Cause PabFileProblem::LastCause()
{
    std::lock_guard lock(problemMutex());
    return keptProblem().cause;
}

std::string PabFileProblem::TakeText(HRESULT result)
{
    KeptProblem problem;
    {
        std::lock_guard lock(problemMutex());
        problem = keptProblem();
        if (problem.cause == Cause::None || problem.result != result) return {};
        keptProblem() = {};
    }
    return Describe(problem.cause, problem.path);
}

PabFileProblem::Cause PabFileProblem::FromSqlite(int sqliteResult, const std::string& path)
{
    switch (sqliteResult & 0xFF) {
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH: return readOnlyCause(path);
    case SQLITE_CANTOPEN:
        if (QFileInfo(QString::fromStdString(path)).isDir()) return Cause::Directory;
        if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), R_OK) != 0) return Cause::Unreadable;
        return readOnlyCause(path);
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return Cause::Busy;
    case SQLITE_CORRUPT:
    case SQLITE_SCHEMA:
    case SQLITE_FORMAT: return Cause::Damaged;
    case SQLITE_NOTADB: return Cause::NotSqlite;
    case SQLITE_FULL: return Cause::DiskFull;
    case SQLITE_IOERR: return Cause::InputOutput;
    default: return Cause::Other;
    }
}

std::string PabFileProblem::Describe(Cause cause, const std::string& path)
{
    const std::string file = "\"" + path + "\"";
    const std::string folder = "\"" + folderOf(path) + "\"";
    switch (cause) {
    case Cause::None: return {};
    case Cause::Missing: return "The address book " + file + " does not exist. Check the name of the file.";
    case Cause::Directory:
        return file + " is a folder, not an address-book file. Name the file itself, for example " +
               "\"" + path + "/pab.sqlite\".";
    case Cause::Unreadable:
        return "The address book " + file + " may not be read by this user. Give the user the right to read it "
               "(chmod u+r), or start the program as the file's owner.";
    case Cause::NotSqlite:
        return file + " is not an address book: it is no SQLite database at all. Check the name of the file, or "
               "restore the address book from a backup copy. The file was left as it is.";
    case Cause::ForeignDatabase:
        return file + " is another program's SQLite database, not an address book of Telephone Directory. Name "
               "the address-book file (pab.sqlite) instead. The file was left as it is.";
    case Cause::Damaged:
        return "The address book " + file + " is damaged: its database check failed. Restore it from a backup "
               "copy. The file was left as it is.";
    case Cause::NewerVersion:
        return "The address book " + file + " was written by a newer version of Telephone Directory. Use that "
               "version, or a backup copy of the address book. The file was left as it is.";
    case Cause::ReadOnlyFile:
        return "The address book " + file + " is read-only: nothing can be saved in it. Make it writable "
               "(chmod u+w), or use a copy of it.";
    case Cause::ReadOnlyFolder:
        return "The folder " + folder + " is read-only: the address book " + file + " cannot be changed, as its "
               "log files are kept beside it. Make the folder writable, or move the address book.";
    case Cause::ReadOnly:
        return "The address book " + file + " cannot be written: the file or its folder is read-only. Check the "
               "rights of both, and that the disk is not mounted read-only.";
    case Cause::DiskFull:
        return "The disk that holds the address book " + file + " is full. Free some space on it, then save "
               "again.";
    case Cause::Busy:
        return "The address book " + file + " is held by another program. Close that program, then try again.";
    case Cause::InputOutput:
        return "The disk reported an error while reading or writing the address book " + file + ". Check the "
               "disk, and keep a backup copy of the address book.";
    case Cause::Other: return "The address book " + file + " could not be used.";
    }
    return {};
}
