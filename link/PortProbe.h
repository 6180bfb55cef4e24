#pragma once
// Which serial device has a telephone on it: each device is opened, asked "AT", and when it answers, asked
// for its maker and model (AT+CGMI, AT+CGMM). For the telephone-link tool's "list" and the program's choice
// of a port. Nothing here prints; every call is bounded in time and may run on any thread. A device that
// another program holds or has locked is reported as busy and left alone: nothing is written to it.
#include "link/SerialDevices.h"

#include <QList>
#include <QString>

struct PortProbeResult {
    QString device;      // the node opened, e.g. "/dev/ttyUSB0"
    QString byId;        // its /dev/serial/by-id name; empty when it has none
    bool answers = false; // a phone (or modem) answered "AT" with OK
    QString maker;       // AT+CGMI; empty when not told
    QString model;       // AT+CGMM; empty when not told
    QString problem;     // why nothing answers, short: "missing", "no permission", "busy, held by ...", "no answer"
};

class PortProbe {
public:
    static constexpr int kDefaultBaud = 115200;
    static constexpr int kDefaultTimeoutMs = 2000;

    // Asks one device; timeoutMs bounds the wait for each of the (at most three) answers.
    static PortProbeResult probe(const QString& device, int baud = kDefaultBaud, int timeoutMs = kDefaultTimeoutMs);
    // Every serial device found under root (see SerialDevices::scan), asked at the same time on threads of
    // their own, so the whole scan takes about as long as one device. In the order of the scan.
    static QList<PortProbeResult> probeAll(const QString& root = QStringLiteral("/"), int baud = kDefaultBaud,
                                           int timeoutMs = kDefaultTimeoutMs);

private:
    static PortProbeResult probeListed(const QString& root, const SerialDevice& listed, int baud, int timeoutMs);
    static QString busyText(const QString& device);
};
