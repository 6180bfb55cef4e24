#include "ui/FileDialogStart.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
// Lives as long as the program: a choice is remembered for this run only, never stored.
QString& RememberedFolder()
{
    static QString folder;
    return folder;
}
}

QString FileDialogStart::StartPath(const QString& typed, const QString& suggestedName)
{
    if (!typed.trimmed().isEmpty()) return typed.trimmed();
    const QString folder = StartFolder();
    return suggestedName.isEmpty() ? folder : QDir(folder).filePath(suggestedName);
}

QString FileDialogStart::StartFolder()
{
    const QString remembered = RememberedFolder();
    // A folder removed since it was chosen would leave the dialog in a place that no longer exists.
    if (!remembered.isEmpty() && QFileInfo(remembered).isDir()) return remembered;
    return DocumentsFolder();
}

QString FileDialogStart::DocumentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir()) return documents;
    return QDir::homePath();
}

void FileDialogStart::Remember(const QString& chosenPath)
{
    if (chosenPath.isEmpty()) return;
    const QFileInfo chosen(chosenPath);
    RememberedFolder() = chosen.isDir() ? chosen.absoluteFilePath() : chosen.absolutePath();
}

void FileDialogStart::Forget()
{
    RememberedFolder().clear();
}

QString FileDialogStart::SuggestedFileName(const QString& name, const QString& suffix, const QString& fallback)
{
    // Separators and the characters other systems refuse, so that the file can be copied anywhere.
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    QString cleaned;
    for (const QChar c : name)
        cleaned += (forbidden.contains(c) || c.unicode() < 0x20) ? QLatin1Char('_') : c;
    cleaned = cleaned.trimmed();
    // A name of dots alone would make a hidden file or mean the folder itself.
    while (cleaned.startsWith(QLatin1Char('.'))) cleaned.remove(0, 1);
    if (cleaned.isEmpty()) cleaned = fallback;
    return cleaned + QLatin1Char('.') + suffix;
}
