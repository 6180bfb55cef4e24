#include "pab/tools/OpenedAddressBook.h"

#include "mapi/Mapi.h"
#include "model/EntryStore.h"

#include <QDir>
#include <QFileInfo>

namespace {
QString ReportsThen(const QStringList& reports, const QString& sentence)
{
    return reports.isEmpty() ? sentence : reports.join(QLatin1Char('\n')) + QLatin1Char('\n') + sentence;
}
}

OpenedAddressBook::OpenedAddressBook(const QString& pabFile, Access access, bool create)
    : m_store(std::make_unique<EntryStore>()),
      m_book(std::make_unique<AddressBook>(*m_store, m_questions, m_host)),
      m_pabFile(pabFile),
      m_bCreate(create)
{
    MAPISetAddressBookFile(pabFile.toStdString());
    m_book->SetReadOnly(access == Access::Read);
}

OpenedAddressBook::~OpenedAddressBook()
{
    m_book.reset(); // closes the session while the file is still chosen
    MAPISetAddressBookFile({});
}

bool OpenedAddressBook::Open(const QString& folder, QString* error)
{
    // A mistyped path must not leave an empty book (and its folders) behind and report success.
    const QFileInfo file(m_pabFile);
    if (!m_pabFile.isEmpty() && !m_bCreate && !file.exists()) {
        *error = file.absoluteDir().exists()
                     ? QStringLiteral("The address book %1 does not exist. Check the path, or give --create to start "
                                      "a new, empty address book there.").arg(m_pabFile)
                     : QStringLiteral("The folder %1 of the address book %2 does not exist. Check the path, or give "
                                      "--create to start a new, empty address book there.")
                           .arg(file.absolutePath(), m_pabFile);
        return false;
    }
    // Making the book is a write, asked for with --create or the program's own book on first use: a reader
    // that makes one opens it as a writer.
    if (!QFileInfo::exists(QString::fromStdString(MAPIGetAddressBookFile()))) m_book->SetReadOnly(false);
    if (!m_book->OpenAtStartUp() || m_host.EndedWith()) {
        *error = ReportsThen(m_questions.Reports(), QStringLiteral("The address book cannot be opened."));
        return false;
    }
    if (folder.isEmpty()) return true;
    const std::string wanted = folder.toStdString();
    for (int item = 0; item < m_store->m_nFolderCount; ++item) {
        if (m_store->m_folders[static_cast<size_t>(item)].m_strName != wanted) continue;
        m_host.SelectFolderItem(item);
        m_book->ChangeFolder();
        if (m_host.EndedWith()) {
            *error = ReportsThen(m_questions.Reports(), QStringLiteral("The folder \"%1\" cannot be read.").arg(folder));
            return false;
        }
        return true;
    }
    *error = QStringLiteral("There is no folder \"%1\". Folders: %2.").arg(folder, FolderNames().join(QStringLiteral(", ")));
    return false;
}

QStringList OpenedAddressBook::FolderNames() const
{
    QStringList names;
    for (int item = 0; item < m_store->m_nFolderCount; ++item)
        names.append(QLatin1Char('"') + QString::fromStdString(m_store->m_folders[static_cast<size_t>(item)].m_strName)
                     + QLatin1Char('"'));
    return names;
}
