#include "pab/UnsavedEntriesFile.h"

#include "model/VCardWriter.h"
#include "model/VCardExport.h"
#include "pab/VCardFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace {
QByteArray DeletedList(const DirTable& table)
{
    QByteArray text;
    const int live = std::clamp(table.m_nCount, 0, kTableSlots);
    for (int slot = live; slot < kTableSlots && table[slot].m_nState == ENTRY_REMOVED; ++slot) {
        const DirEntry& entry = table[slot];
        text += QStringLiteral("%1\t%2\t%3\n")
                    .arg(entry.m_nIndex)
                    .arg(QString::fromStdString(entry.m_strName), QString::fromStdString(entry.m_strNumber))
                    .toUtf8();
    }
    if (text.isEmpty()) return text;
    return "Entries deleted in the list and not yet deleted in the address book (index, name, number):\n" + text;
}
}

QStringList UnsavedEntriesFile::Folders()
{
    return {QStandardPaths::writableLocation(QStandardPaths::AppDataLocation), QDir::tempPath()};
}

QString UnsavedEntriesFile::Write(const DirTable& table, const QDateTime& when)
{
    std::vector<int> unsaved;
    const int live = std::clamp(table.m_nCount, 0, kTableSlots);
    for (int slot = 0; slot < live; ++slot)
        if (table[slot].m_nState == ENTRY_NEW || table[slot].m_nState == ENTRY_CHANGED) unsaved.push_back(slot);
    const QByteArray deleted = DeletedList(table);
    if (unsaved.empty() && deleted.isEmpty()) return QStringLiteral("No entries of the list were left unsaved.");
    const QByteArray cards = VCardWriter::write(VCardExport::Cards(table, unsaved));
    const QString baseName = QStringLiteral("Unsaved address book %1").arg(when.toString(QStringLiteral("yyyy-MM-dd HH.mm.ss")));
    for (const QString& folder : Folders()) {
        QString cardsPath;
        if (folder.isEmpty() || !WriteInto(folder, baseName, cards, deleted, &cardsPath)) continue;
        QString where = QStringLiteral("The %1 new or changed entries not saved are kept in \"%2\"; import it when the "
                                       "address book can be written again.")
                            .arg(unsaved.size())
                            .arg(cardsPath);
        if (!deleted.isEmpty())
            where += QStringLiteral(" The entries deleted but not yet removed from the book are listed in \"%1\".")
                         .arg(cardsPath.chopped(4) + QStringLiteral(" - deleted.txt"));
        return where;
    }
    return QStringLiteral("The entries not saved could not be kept in a file either (%1): they are lost.")
        .arg(Folders().join(QStringLiteral(", ")));
}

bool UnsavedEntriesFile::WriteInto(const QString& folder, const QString& baseName, const QByteArray& cards,
                                   const QByteArray& deleted, QString* cardsPath)
{
    if (!QDir().mkpath(folder)) return false;
    // Two failed saves in one second keep both files.
    QString stem = QDir(folder).filePath(baseName);
    for (int n = 2; QFileInfo::exists(stem + QStringLiteral(".vcf")); ++n)
        stem = QDir(folder).filePath(QStringLiteral("%1 (%2)").arg(baseName).arg(n));
    QString error;
    if (!VCardFile::Write(stem + QStringLiteral(".vcf"), cards, &error)) return false;
    if (!deleted.isEmpty() && !VCardFile::Write(stem + QStringLiteral(" - deleted.txt"), deleted, &error)) return false;
    *cardsPath = stem + QStringLiteral(".vcf");
    return true;
}
