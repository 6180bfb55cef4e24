// telephone-link: reads or writes one telephone directory through the link library, so that users can
// check their phone connection, and backs a directory up to a file or restores it from one.
//   telephone-link --device PATH read CODE
//   telephone-link --device PATH write CODE INDEX NAME NUMBER
//   telephone-link --device PATH backup CODE FILE
//   telephone-link --device PATH restore CODE FILE
//   telephone-link list [--dev-root DIR] [--timeout MS]
#include "link/Cellbus.h"
#include "link/TelephoneLinkSetup.h"
#include "link/tools/DirectoryRestore.h"
#include "link/tools/LinkCommand.h"
#include "link/tools/PortListing.h"

#include "res/ProgramNames.h"

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

// The number of arguments each command takes, its own name included.
bool wellFormed(const QStringList& args)
{
    if (args.size() < 2 || !kCodes.contains(args[1].toUpper())) return false;
    const QString& command = args[0];
    return (command == "read" && args.size() == 2) || (command == "write" && args.size() == 5)
        || ((command == "backup" || command == "restore") && args.size() == 3);
}

// list asks every serial device and needs no telephone of its own: it runs before the link is started.
int listPorts(const QCommandLineParser& parser, const QCommandLineOption& root, const QCommandLineOption& timeout)
{
    bool timeoutOk = true;
    const int timeoutMs = parser.isSet(timeout) ? parser.value(timeout).toInt(&timeoutOk) : PortProbe::kDefaultTimeoutMs;
    if (!timeoutOk || timeoutMs < 1 || timeoutMs > 60000) {
        std::fprintf(stderr, "telephone-link: --timeout must be a whole number of milliseconds from 1 to 60000\n");
        return 2;
    }
    return PortListing::run(parser.value(root), timeoutMs);
}

int runCommand(const QStringList& args, int index)
{
    LinkCommand link;
    const QString& command = args[0];
    const QByteArray code = args[1].toUpper().toLatin1();
    if (command == "read") return link.read(code);
    // toLatin1 would turn a character it lacks into "?", itself a dial character: such a number must be refused.
    if (command == "write") return link.write(code, index, args[3], args[4].toUtf8());
    if (command == "backup") return link.backup(code, args[2]);
    return DirectoryRestore(link).run(code, args[2]);
}
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // The program's names, so that the tool finds the same settings, built-in phone and backup folder.
    ProgramNames::Apply();
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Reads, writes, backs up or restores a telephone directory. CODE: SM, ME, LD, OW, FD, MC, CD.\n"
        "restore writes every record of FILE and erases every other record of the directory, keeping the "
        "directory as it was in the backup folder first.\n"
        "The command list (list [--dev-root DIR] [--timeout MS]) probes the serial devices and names the telephone "
        "that answers on each."));
    parser.addHelpOption();
    parser.addVersionOption();
    AddTelephoneLinkOptions(parser);
    const QCommandLineOption root("dev-root", "list: the folder the device scan starts from instead of / (DIR/dev/...).",
                                  "DIR", "/");
    const QCommandLineOption timeout("timeout", "list: how long each device has for each answer (default 2000).", "MS");
    parser.addOptions({root, timeout});
    parser.addPositionalArgument("command",
                                 "read CODE | write CODE INDEX NAME NUMBER | backup CODE FILE | restore CODE FILE");
    parser.process(app);
    const QStringList args = parser.positionalArguments();
    if (args == QStringList{"list"}) return listPorts(parser, root, timeout);
    if (!wellFormed(args)) return usage(parser);
    bool indexOk = false;
    const int index = args[0] == "write" ? args[2].toInt(&indexOk) : 0;
    if (args[0] == "write" && (!indexOk || index < 1 || index > 32767)) {
        std::fprintf(stderr, "telephone-link: INDEX must be a whole number from 1 to 32767\n");
        return 2;
    }

    QString error;
    if (!StartTelephoneLink(TelephoneLinkDeviceOption(parser), &error)) {
        std::fprintf(stderr, "telephone-link: %s\n", qPrintable(error));
        return 1;
    }
    const int status = runCommand(args, index);
    StopTelephoneLink();
    return status;
}
