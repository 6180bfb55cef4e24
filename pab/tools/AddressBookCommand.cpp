#include "pab/tools/AddressBookCommand.h"

#include "mapi/Mapi.h"
#include "model/EntryStore.h"
#include "pab/AddressBook.h"
#include "pab/AddressBookSync.h"
#include "pab/KeyringPassword.h"
#include "pab/PasswordCommand.h"
#include "pab/SyncState.h"
#include "model/VCardExport.h"
#include "pab/VCardFile.h"
#include "pab/tools/OpenedAddressBook.h"

#include <QSettings>

#include <memory>

namespace {
AddressBookCommandResult Failure(const QString& text, int exitCode = 1)
{
    return {exitCode, {}, text.endsWith(QLatin1Char('\n')) ? text : text + QLatin1Char('\n')};
}

QString EntryLine(const DirEntry& entry)
{
    return QStringLiteral("%1\t%2\t%3\t%4\n")
        .arg(entry.m_nIndex)
        .arg(QString::fromStdString(entry.m_strName), QString::fromStdString(entry.m_strNumber),
             entry.m_strStatus == "!" ? QStringLiteral("VIP") : QString());
}
}

AddressBookCommandResult AddressBookCommand::Run(const QStringList& arguments)
{
    const QString command = arguments.value(0);
    const qsizetype count = arguments.size();
    if (command == QLatin1String("list") && count <= 2) return List(arguments.value(1));
    if (command == QLatin1String("export") && (count == 2 || count == 3))
        return Export(count == 3 ? arguments[1] : QString(), arguments.last());
    if (command == QLatin1String("import") && (count == 2 || count == 3)) return Import(arguments[1], arguments.value(2));
    if (command == QLatin1String("sync") && count == 1) return Sync();
    return Failure(QStringLiteral("Use: list [FOLDER] | export [FOLDER] OUT.vcf | import IN.vcf [FOLDER] | sync"), 2);
}

AddressBookCommandResult AddressBookCommand::List(const QString& folder)
{
    OpenedAddressBook book(m_options.pabFile, OpenedAddressBook::Access::Read, m_options.create);
    QString error;
    if (!book.Open(folder, &error)) return Failure(error);
    AddressBookCommandResult result;
    const DirTable& table = book.Store().m_abTable;
    for (int slot = 0; slot < table.m_nCount; ++slot) result.out += EntryLine(table[slot]);
    return result;
}

AddressBookCommandResult AddressBookCommand::Export(const QString& folder, const QString& file)
{
    OpenedAddressBook book(m_options.pabFile, OpenedAddressBook::Access::Read, m_options.create);
    QString error;
    if (!book.Open(folder, &error)) return Failure(error);
    const QList<VCardCard> cards = VCardExport::Cards(book.Store().m_abTable);
    if (!VCardFile::Write(file, VCardWriter::write(cards, m_options.version), &error)) return Failure(error);
    return {0, QStringLiteral("Exported %1 entries to %2.\n").arg(cards.size()).arg(file), {}};
}

// What went in is always said on stdout, each card left out on stderr. The exit code is 1 only when the address
// book failed the import: it refused an entry (the folder was full) or reported an error; cards that the file
// itself could not give (no number, a name already in the folder) are named but are no failure.
AddressBookCommandResult AddressBookCommand::Import(const QString& file, const QString& folder)
{
    VCardReadResult read;
    QString error;
    if (!VCardFile::Read(file, &read, &error)) return Failure(error);
    QStringList problems;
    std::vector<VCardImportItem> items = VCardImport::Entries(read, m_options.numbers, &problems);

    OpenedAddressBook book(m_options.pabFile, OpenedAddressBook::Access::Write, m_options.create);
    if (!book.Open(folder, &error)) return Failure(error);
    const int offered = int(items.size());
    // A card whose UID the folder holds updates that entry: importing the same file again adds nothing.
    const VCardImportOutcome outcome =
        VCardImport::AddToAddressBook(items, book.Store(), book.Questions(), book.Host(), true);
    problems << outcome.leftOut;
    if (book.Store().HasFlag(VF_AB_MODIFIED)) book.Book().SaveAddressBook();
    AddressBookCommandResult result;
    // A save that fails is undone as a whole: then nothing of the file went in.
    const bool saved = !book.Host().EndedWith();
    result.out = QStringLiteral("Imported %1 of %2 entries from %3").arg(saved ? outcome.added : 0).arg(offered).arg(file)
        + (saved && outcome.updated > 0 ? QStringLiteral("; %1 updated.\n").arg(outcome.updated) : QStringLiteral(".\n"));
    const QStringList reports = book.Questions().Reports();
    if (!reports.isEmpty() || book.Host().EndedWith()) {
        result.exitCode = 1;
        problems << reports;
        if (book.Host().EndedWith())
            problems << QStringLiteral("The import did not complete: the address book reported the error above.");
    }
    if (!problems.isEmpty()) result.err = problems.join(QLatin1Char('\n')) + QLatin1Char('\n');
    return result;
}

// The account of the settings, or the one given; the password from the command given, else from the keyring.
// A first run that found the address book from the server's address keeps it in the settings for the next ones.
AddressBookCommandResult AddressBookCommand::Sync()
{
    QSettings settings;
    SyncAccount account = SyncAccount::Read(settings);
    const bool fromSettings = m_options.url.isEmpty();
    if (!fromSettings) {
        account.m_strServer = m_options.url;
        account.m_strAddressBook.clear();
    }
    if (!m_options.user.isEmpty()) account.m_strUser = m_options.user;
    if (!account.IsSet())
        return Failure(QStringLiteral("No synchronization account is set: give --url and --user, or set them in the program."));
    QString password;
    if (!m_options.passwordCommand.isEmpty()) {
        const PasswordCommand::Result given = PasswordCommand::Run(m_options.passwordCommand);
        if (!given.ok) return Failure(given.error);
        password = given.password;
    } else {
        const KeyringPassword::Result kept = KeyringPassword(account.KeyringKey()).Read();
        if (!kept.ok)
            return Failure(kept.notFound ? QStringLiteral("The keyring holds no password for %1; give --password-command.").arg(account.KeyringKey())
                                         : kept.error);
        password = kept.password;
    }

    OpenedAddressBook book(m_options.pabFile, OpenedAddressBook::Access::Write, m_options.create);
    QString error;
    if (!book.Open(QString(), &error)) return Failure(error);
    const QString stateFile = SyncState::PathFor(QString::fromStdString(MAPIGetAddressBookFile()));
    AddressBookSync sync(book.Book(), book.Store(), book.Questions(), book.Host(), account, password, stateFile);
    const AddressBookSyncResult outcome = sync.Run();
    if (!outcome.ok()) {
        QString cause = outcome.error;
        if (!outcome.certificateFingerprint.isEmpty())
            cause += QStringLiteral("\nThe server's certificate has the SHA-256 fingerprint %1.").arg(outcome.certificateFingerprint);
        if (!book.Questions().Reports().isEmpty()) cause = book.Questions().Reports().join(QLatin1Char('\n')) + QLatin1Char('\n') + cause;
        return Failure(cause);
    }
    if (fromSettings && account.m_strAddressBook.isEmpty() && !outcome.collection.isEmpty()) {
        account.m_strAddressBook = outcome.collection;
        account.Write(settings);
    }
    AddressBookCommandResult result;
    result.out = outcome.Summary() + QLatin1Char('\n');
    if (!outcome.notes.isEmpty()) result.err = outcome.notes.join(QLatin1Char('\n')) + QLatin1Char('\n');
    return result;
}
