#pragma once
// The address-book tool's commands on the program's own layers: list a folder, export it as vCards, import
// vCards into it and save. Output and errors are returned as text so that tests can run the commands in process.
#include "pab/VCardImport.h"
#include "model/VCardWriter.h"

#include <QString>
#include <QStringList>

struct AddressBookCommandResult {
    int exitCode = 0;
    QString out;
    QString err;
};

class AddressBookCommand {
public:
    struct Options {
        QString pabFile;                   // empty: the program's own address-book file
        bool create = false;               // a pabFile that does not exist is created (else an error)
        VCardVersion version = VCardVersion::V3_0;
        VCardNumberChoice numbers = VCardNumberChoice::Preferred;
        // sync: the account when not the one of settings group "Sync", and the command that prints the password
        // (else the keyring gives it).
        QString url;
        QString user;
        QString passwordCommand;
    };

    explicit AddressBookCommand(Options options) : m_options(std::move(options)) {}

    // "list [FOLDER]", "export [FOLDER] OUT.vcf", "import IN.vcf [FOLDER]", "sync"; FOLDER defaults to the book
    // itself.
    AddressBookCommandResult Run(const QStringList& arguments);

private:
    AddressBookCommandResult List(const QString& folder);
    AddressBookCommandResult Export(const QString& folder, const QString& file);
    AddressBookCommandResult Import(const QString& file, const QString& folder);
    AddressBookCommandResult Sync();

    Options m_options;
};
