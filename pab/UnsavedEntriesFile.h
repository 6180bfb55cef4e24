#pragma once
// What the address-book table holds that is not in the book yet, kept in a file when the program has to end
// after a failed save: the new and changed entries as vCards ("Unsaved address book <date time>.vcf", which
// the program and the address-book tool import again), and the entries deleted in the list but still in the
// book as a text list beside it. The file goes to the program's data folder, or to the temporary folder when
// that cannot be written (a full disk is the usual reason a save failed).
#include "model/DirTable.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

class UnsavedEntriesFile {
public:
    // Writes the files; the sentence for the report that says where they are, or that nothing was unsaved,
    // or that they could not be written.
    static QString Write(const DirTable& table, const QDateTime& when = QDateTime::currentDateTime());
    // Where the files are tried, in order.
    static QStringList Folders();

private:
    static bool WriteInto(const QString& folder, const QString& baseName, const QByteArray& cards,
                          const QByteArray& deleted, QString* cardsPath);
};
