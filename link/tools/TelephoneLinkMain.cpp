// telephone-link: reads or writes one telephone directory through the link library, so that users can
// check their phone connection.
//   telephone-link --device PATH read CODE
//   telephone-link --device PATH write CODE INDEX NAME NUMBER
#include "link/Cellbus.h"
#include "link/TelephoneLinkSetup.h"
#include "link/tools/LinkCommand.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {
const QStringList kCodes = {"SM", "ME", "LD", "OW", "FD", "MC", "CD"};

int usage(const QCommandLineParser& parser)
{
    std::fprintf(stderr, "%s", qPrintable(parser.helpText()));
    return 2;
}
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // The program's names, so that the tool finds the same settings and the same built-in phone.
    QCoreApplication::setOrganizationName(QStringLiteral("Korvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Telvora PRO"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.1.03"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Reads or writes a telephone directory. CODE: SM, ME, LD, OW, FD, MC, CD."));
    parser.addHelpOption();
    parser.addVersionOption();
    AddTelephoneLinkOptions(parser);
    parser.addPositionalArgument("command", "read CODE | write CODE INDEX NAME NUMBER");
    parser.process(app);
    const QStringList args = parser.positionalArguments();
    if (args.size() < 2 || !kCodes.contains(args[1].toUpper())) return usage(parser);
    const QString command = args[0];
    if (!(command == "read" && args.size() == 2) && !(command == "write" && args.size() == 5)) return usage(parser);
    bool indexOk = false;
    const int index = command == "write" ? args[2].toInt(&indexOk) : 0;
    if (command == "write" && (!indexOk || index < 1 || index > 32767)) {
        std::fprintf(stderr, "telephone-link: INDEX must be a whole number from 1 to 32767\n");
        return 2;
    }

    QString error;
    if (!StartTelephoneLink(TelephoneLinkDeviceOption(parser), &error)) {
        std::fprintf(stderr, "telephone-link: %s\n", qPrintable(error));
        return 1;
    }
    LinkCommand run;
    const QByteArray code = args[1].toUpper().toLatin1();
    const int status = command == "read" ? run.read(code) : run.write(code, index, args[3], args[4].toLatin1());
    StopTelephoneLink();
    return status;
}
