#pragma once
// The serial devices present on this computer, as a user can name them to the link: USB serial adapters and
// USB modems (ttyUSB*), phones on USB that speak ACM (ttyACM*), Bluetooth serial links (rfcomm*) and the
// on-board ports (ttyS*) that really have a port behind them.
#include <QList>
#include <QString>

struct SerialDevice {
    QString path;  // "/dev/ttyUSB0"
    QString alias; // its stable name under /dev/serial/by-id; empty when it has none
};

class SerialDevices {
public:
    // root: where the file system starts, "/" but for tests that build a tree of their own. The paths
    // found are named as they will be seen from "/".
    static QList<SerialDevice> scan(const QString& root = QStringLiteral("/"));
    // One line for a report: the devices with their aliases, or that there are none.
    static QString listing(const QList<SerialDevice>& devices);

private:
    static bool isSerialName(const QString& name);
    static bool isPresentOnboardPort(const QString& root, const QString& name);
    static QString aliasOf(const QString& root, const QString& name);
};
