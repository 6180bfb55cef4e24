#include "phone/TelephoneConnection.h"

#include "link/TelephoneLinkSetup.h"

QString TelephoneConnection::Current()
{
    return ChosenTelephoneDevice();
}

bool TelephoneConnection::Use(const QString& device, QString* error)
{
    return SwitchTelephoneLink(device, error);
}

QString TelephoneConnection::CheckTyped(const QString& device)
{
    // A missing device is allowed: a Bluetooth link or an adapter may appear later, and the read then says
    // what is wrong. A relative path or one with a line break is a typing slip.
    if (device.isEmpty()) return {};
    if (!device.startsWith(QLatin1Char('/')))
        return QStringLiteral("A device is named by its full path, such as /dev/ttyUSB0 or /dev/rfcomm0.");
    if (device.contains(QLatin1Char('\n')) || device.contains(QLatin1Char('\r')))
        return QStringLiteral("A device path is one line.");
    return {};
}
