// The program's entry: options, the single-instance start-up, the frame and the form.
#include "app/CMainFrame.h"
#include "app/CVRD2EditApp.h"
#include "app/CVRD2EditDoc.h"
#include "link/Cellbus.h"
#include "link/TelephoneLinkSetup.h"
#include "mapi/Mapi.h"
#include "ui/CDlgView.h"
#include "ui/DialogQuestions.h"

#include <QCommandLineParser>
#include <QSettings>

#include <cstdio>
#include <memory>

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
bool SetUpBackends(const QCommandLineParser& parser)
{
    const QSettings settings;
    QString pab = parser.value(QStringLiteral("pab"));
    if (pab.isEmpty()) pab = settings.value(QStringLiteral("AddressBook/File")).toString();
    MAPISetAddressBookFile(pab.toStdString()); // empty: pab.sqlite in the user's data folder

    QString error;
    if (!StartTelephoneLink(parser.value(QStringLiteral("device")), &error)) {
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
            std::printf("Telephone Directory 1.1.03\n");
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
    if (!SetUpBackends(parser))
        return 1;

    // The document holds nothing; it stands for the program's one open "file", the form.
    [[maybe_unused]] CVRD2EditDoc document;
    CMainFrame frame;
    DialogQuestions questions(&frame);
    SetErrorReportHandler([&questions](int errorClass, int messageId) { questions.ReportError(errorClass, messageId); });
    // The form goes before the questions it keeps a pointer to; the frame it sits in outlives both.
    auto view = std::make_unique<CDlgView>(&frame, &questions);
    frame.SetView(view.get(), view.get());
    frame.show();
    view->OnInitialUpdate();
    const int status = app.exec();
    view.reset();
    SetErrorReportHandler(nullptr);
    StopTelephoneLink();
    return status;
}
