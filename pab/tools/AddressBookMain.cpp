// address-book: the personal address book from the command line. Lists a folder, exports it as vCards, or
// imports vCards into it and saves, on the same layers as the program.
#include "pab/tools/AddressBookCommand.h"

#include "res/ProgramNames.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {
bool ReadOptions(const QCommandLineParser& parser, AddressBookCommand::Options& options)
{
    options.pabFile = parser.value(QStringLiteral("pab"));
    options.create = parser.isSet(QStringLiteral("create"));
    options.url = parser.value(QStringLiteral("url"));
    options.user = parser.value(QStringLiteral("user"));
    options.passwordCommand = parser.value(QStringLiteral("password-command"));
    const QString version = parser.value(QStringLiteral("vcard-version"));
    if (version == QLatin1String("4.0")) options.version = VCardVersion::V4_0;
    else if (version != QLatin1String("3.0")) return false;
    const QString numbers = parser.value(QStringLiteral("numbers"));
    if (numbers == QLatin1String("first")) options.numbers = VCardNumberChoice::First;
    else if (numbers == QLatin1String("each")) options.numbers = VCardNumberChoice::EachNumber;
    else if (numbers != QLatin1String("preferred")) return false;
    return true;
}

// Folder names and file paths arrive as the terminal typed them, in UTF-8 whatever the locale says.
QStringList Utf8Arguments(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments.append(QString::fromUtf8(argv[i]));
    return arguments;
}

// Names in every script reach the terminal or a pipe intact: the output is UTF-8, even under LC_ALL=C.
void PrintUtf8(const QString& text, std::FILE* stream)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
}
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // The program's own settings and data folder: the address-book file it uses by default.
    ProgramNames::Apply();
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "The personal address book of Telephone Directory from the command line.\n"
        "  list [FOLDER]               the folder's entries: index, name, number, VIP\n"
        "  export [FOLDER] OUT.vcf     the folder's entries as vCards\n"
        "  import IN.vcf [FOLDER]      vCards into the folder, then saved\n"
        "  sync                        two-way synchronization with the CardDAV address book of settings\n"
        "                              group Sync (or --url and --user); prints what went each way\n"
        "FOLDER is a distribution list's name; without it, the address book itself.\n"
        "list and export only read the book, even while the program or an import has it open; an import waits\n"
        "for no one: while another program changes the book it ends with an error naming that program."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        {"pab", "File of the personal address book (default: the program's own). It must exist, unless --create is given.",
         "FILE"},
        {"create", "Creates the file named by --pab, and its folders, as a new, empty address book if it does not exist."},
        {"vcard-version", "vCard version of an export: 3.0 (default) or 4.0.", "VERSION", "3.0"},
        {"numbers", "Which numbers of a card an import takes: preferred (default), first, or each (one entry per number).",
         "WHICH", "preferred"},
        {"url", "sync: the CardDAV server or address book (instead of the one in the settings).", "URL"},
        {"user", "sync: the user name on the server.", "NAME"},
        {"password-command", "sync: a command whose first line of output is the password (else the keyring gives it).",
         "CMD"},
    });
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("list, export, import or sync, and their arguments."));
    parser.process(Utf8Arguments(argc, argv));
    AddressBookCommand::Options options;
    if (!ReadOptions(parser, options)) {
        std::fprintf(stderr, "address-book: --vcard-version takes 3.0 or 4.0, --numbers first, preferred or each\n");
        return 2;
    }
    const AddressBookCommandResult result = AddressBookCommand(options).Run(parser.positionalArguments());
    PrintUtf8(result.out, stdout);
    PrintUtf8(result.err, stderr);
    return result.exitCode;
}
