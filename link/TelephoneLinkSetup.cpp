#include "link/TelephoneLinkSetup.h"

#include "link/LinkService.h"
#include "link/PhoneEmulator.h"

#include <QCommandLineParser>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>

#include <memory>

namespace {
std::unique_ptr<PhoneEmulator>& embeddedPhone()
{
    static std::unique_ptr<PhoneEmulator> phone;
    return phone;
}

QString& currentDevice()
{
    static QString device;
    return device;
}

bool startEmbeddedPhone(QString* device, QString* error)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder)) {
        *error = QStringLiteral("No folder for the telephone emulator's state.");
        return false;
    }
    PhoneEmulatorOptions options;
    options.stateFile = QDir(folder).filePath(QStringLiteral("phone-state.json"));
    auto phone = std::make_unique<PhoneEmulator>();
    if (!phone->start(options, device, error)) return false;
    embeddedPhone() = std::move(phone);
    return true;
}
}

bool StartTelephoneLink(const QString& deviceOption, QString* error)
{
    LinkOptions options;
    QSettings settings;
    options.device = deviceOption.isEmpty() ? settings.value(QStringLiteral("Link/Device")).toString() : deviceOption;
    bool baudOk = false;
    const int baud = settings.value(QStringLiteral("Link/Baud")).toInt(&baudOk);
    if (baudOk && baud > 0) options.baud = baud;
    QString failure;
    if (options.device.isEmpty() && !startEmbeddedPhone(&options.device, &failure)) {
        if (error) *error = failure;
        return false;
    }
    ConnectTelephoneLink(options);
    return true;
}

void StopTelephoneLink()
{
    LinkService::instance().shutdown();
    if (embeddedPhone()) embeddedPhone()->stop();
    embeddedPhone().reset();
    currentDevice().clear();
}

void ConnectTelephoneLink(const LinkOptions& options)
{
    currentDevice() = options.device;
    LinkService::instance().configure(options);
}

QString TelephoneLinkDevice()
{
    return currentDevice();
}

LinkCounters TelephoneLinkCounters()
{
    return LinkService::instance().counters();
}

QList<PhoneRecord> TelephoneLinkReadRecords()
{
    return LinkService::instance().currentRecords();
}

namespace {
// The one definition of the option, for the program and the tools alike.
const QCommandLineOption& deviceOption()
{
    static const QCommandLineOption option(QStringLiteral("device"),
                                           QStringLiteral("Serial device of the telephone (default: setting Link/Device, "
                                                          "else the built-in telephone emulator)."),
                                           QStringLiteral("PATH"));
    return option;
}
}

void AddTelephoneLinkOptions(QCommandLineParser& parser)
{
    parser.addOption(deviceOption());
}

QString TelephoneLinkDeviceOption(const QCommandLineParser& parser)
{
    return parser.value(deviceOption());
}
