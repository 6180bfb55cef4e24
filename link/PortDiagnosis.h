#pragma once
// The link's clear word on what is wrong with the serial device of the telephone, for the detail of its error
// report and for the telephone-link tool: which device is missing and which are there, whose group a user must
// join, who holds the device, or what a device that opened did (not) answer. Each text ends with what to do.
#include <QString>

class PortDiagnosis {
public:
    // root: where the file system starts, "/" but for tests that build a tree of their own.
    explicit PortDiagnosis(QString root = QStringLiteral("/"));

    // Why the device does not open for the link, from the error of an open tried here and now. reason: what
    // the link's own open said, for a device that opens here but not as a serial port.
    QString openFailure(const QString& device, const QString& reason = {}) const;
    // The same for a given errno of open(2), 0 when the device opens.
    QString openFailure(const QString& device, int error, const QString& reason = {}) const;
    // The device opened, but "AT" was not answered OK within waitedMs. heardBytes: something came back,
    // though not an answer.
    QString noAnswer(const QString& device, int baud, int waitedMs, bool heardBytes) const;
    // The device takes AT commands but offers no phone book.
    QString noPhonebook(const QString& device) const;
    // The telephone answered before, then the line went quiet or away in the middle of the work.
    QString lineLost(const QString& device) const;

    // errno of opening the device for reading and writing as the link does; 0 when it opens.
    static int tryOpen(const QString& device);

private:
    QString missing(const QString& device) const;
    QString denied(const QString& device) const;
    QString busy(const QString& device) const;
    QString notSerial(const QString& device, const QString& reason) const;
    QString noDevice(const QString& device) const;
    QString holdersOf(const QString& device) const;
    QString locksOf(const QString& device) const;
    QString modemManagerAdvice(const QString& device) const;

    QString m_root;
};
