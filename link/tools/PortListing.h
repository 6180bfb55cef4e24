#pragma once
// telephone-link list: one line per serial device with what answered on it, for a user looking for the port
// of the telephone.
#include "link/PortProbe.h"

#include <QList>
#include <QString>

class PortListing {
public:
    // Probes the devices under root and prints the lines; the exit code, 0 once the scan ran.
    static int run(const QString& root, int timeoutMs);
    // One device's line, e.g. "/dev/ttyUSB0: phone answers: Nokia 6230i".
    static QString line(const PortProbeResult& result);
};
