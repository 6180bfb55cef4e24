// The program's entry: options, the single-instance start-up, the frame and the form.
#include "app/CVRD2EditApp.h"
#include "app/ProgramWiring.h"
#include "res/ProgramNames.h"

#include <QCommandLineParser>
#include <QSettings>

#include <cstdio>

namespace {
void DefineOptions(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QStringLiteral("Edits the directories of a GSM telephone beside the Personal Address Book."));
    parser.addHelpOption();
    parser.addOption(QCommandLineOption(QStringLiteral("version"), QStringLiteral("Shows the program's version.")));
    parser.addOption(QCommandLineOption(QStringLiteral("device"), QStringLiteral("Serial device of the telephone."),
                                        QStringLiteral("PATH")));
    parser.addOption(QCommandLineOption(QStringLiteral("pab"), QStringLiteral("File of the Personal Address Book."),
                                        QStringLiteral("FILE")));
}

// ---------------------------------------------------------------------------------------------------------
// SetUpBackends: connects the telephone link (--device or the setting Link/Device) and the address-book file
// (--pab or the setting AddressBook/File) before the form starts. false ends the program.
// ---------------------------------------------------------------------------------------------------------
bool SetUpBackends(const QCommandLineParser& parser, ProgramWiring& program)
{
    const QSettings settings;
    QString pab = parser.value(QStringLiteral("pab"));
    if (pab.isEmpty()) pab = settings.value(QStringLiteral("AddressBook/File")).toString();
    program.UseAddressBookFile(pab); // empty: pab.sqlite in the user's data folder

    QString error;
    if (!program.StartTelephoneLink(parser.value(QStringLiteral("device")), &error)) {
        // The program still edits the address book; reading the telephone then reports what is wrong.
        std::fprintf(stderr, "telephone-directory: %s\n", qPrintable(error));
    }
    return true;
}

// --help and --version answer without a window system, so they work on a machine without a display.
bool AnswerInformationOptions(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--version" || arg == "-v") {
            std::printf("Telephone Directory %s\n", qPrintable(ProgramNames::Version()));
            return true;
        }
        if (arg == "--help" || arg == "-h" || arg == "-?") {
            QCoreApplication core(argc, argv);
            QCommandLineParser parser;
            DefineOptions(parser);
            std::printf("%s", qPrintable(parser.helpText()));
            return true;
        }
    }
    return false;
}
}

int main(int argc, char* argv[])
{
    if (AnswerInformationOptions(argc, argv)) return 0;
    CVRD2EditApp app(argc, argv);
    QCommandLineParser parser;
    DefineOptions(parser);
    parser.process(app);
    // A second copy ends here, silently, leaving the first as it is.
    if (!app.InitInstance())
        return 0;
    // Taken apart before the application object: the form goes first, the telephone link last.
    ProgramWiring program;
    if (!SetUpBackends(parser, program))
        return 1;
    program.ShowForm(); // the program's own dialogs answer the form's questions
    return app.exec();
}
