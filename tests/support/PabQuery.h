#pragma once
// Reads the address-book file as it is on disk, past the program and its MAPI layer: what a test checks there is
// what a user would find after the program ends.
#include <QString>
#include <QStringList>

// The first column of every row a query yields, with ?1 bound to the text given.
QStringList QueryPab(const QString& file, const char* sql, const QString& boundText = {});
// The display names (property 12289) of every mail user and list in the file, sorted.
QStringList PabDisplayNames(const QString& file);
