#pragma once
// Which file the address book lives in, for the program's shell: it names the file from its options and
// settings, without reaching the storage layer below the address book.
#include <QString>

class AddressBookFile {
public:
    // The file every address-book session opens from now on; empty: pab.sqlite in the user's data folder.
    static void Use(const QString& path);
    // Back to the user's data folder.
    static void UseDefault();
    // The file sessions open now, the user's data folder's one resolved to its path.
    static QString Current();
};
