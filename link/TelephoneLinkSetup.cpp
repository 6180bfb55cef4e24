#include "link/TelephoneLinkSetup.h"

#include "link/LinkService.h"
#include "link/PhoneEmulator.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
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

const QString kDeviceKey = QStringLiteral("Link/Device");

LinkOptions optionsFromSettings(const QString& device)
{
    LinkOptions options;
    const QSettings settings;
    options.device = ResolveTelephoneDevice(device);
    bool baudOk = false;
    const int baud = settings.value(QStringLiteral("Link/Baud")).toInt(&baudOk);
    if (baudOk && baud > 0) options.baud = baud;
    return options;
}
}

bool StartTelephoneLink(const QString& deviceOption, QString* error)
{
    LinkOptions options = optionsFromSettings(deviceOption.isEmpty() ? QSettings().value(kDeviceKey).toString() : deviceOption);
    QString failure;
    if (options.device.isEmpty() && !startEmbeddedPhone(&options.device, &failure)) {
        if (error) *error = failure;
        return false;
    }
    ConnectTelephoneLink(options);
    return true;
}

bool SwitchTelephoneLink(const QString& device, QString* error)
{
    LinkOptions options = optionsFromSettings(device);
    std::unique_ptr<PhoneEmulator> previousPhone = std::move(embeddedPhone());
    QString failure;
    if (device.isEmpty() && !startEmbeddedPhone(&options.device, &failure)) {
        embeddedPhone() = std::move(previousPhone);
        if (error) *error = failure;
        return false;
    }
    // The worker ends after its current request and the next request starts one on the new device; only
    // then does the old built-in phone go.
    LinkService::instance().shutdown();
    ConnectTelephoneLink(options);
    if (previousPhone) previousPhone->stop();
    QSettings settings;
    if (device.isEmpty())
        settings.remove(kDeviceKey);
    else
        settings.setValue(kDeviceKey, options.device); // absolute: the next start may run in another folder
    return true;
}

QString ChosenTelephoneDevice()
{
    return embeddedPhone() ? QString() : currentDevice();
}

void StopTelephoneLink()
{
    LinkService::instance().shutdown();
    if (embeddedPhone()) embeddedPhone()->stop();
    embeddedPhone().reset();
    currentDevice().clear();
}

QString ResolveTelephoneDevice(const QString& device)
{
    if (device.isEmpty() || QDir::isAbsolutePath(device)) return device;
    const QFileInfo here(device);
    // A dangling link here is still the file the user means: its report then says what is missing.
    if (device.contains(QLatin1Char('/')) || here.exists() || here.isSymLink())
        return QDir::cleanPath(QDir::current().absoluteFilePath(device));
    return QStringLiteral("/dev/") + device;
}

void ConnectTelephoneLink(const LinkOptions& options)
{
    LinkOptions resolved = options;
    resolved.device = ResolveTelephoneDevice(options.device);
    currentDevice() = resolved.device;
    LinkService::instance().configure(resolved);
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

QString TelephoneLinkDiagnosis()
{
    return LinkService::instance().lastDiagnosis();
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
