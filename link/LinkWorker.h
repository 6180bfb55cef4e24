#pragma once
// Lives on the link's worker thread and owns the serial port there. Requests arrive as queued calls and
// are therefore carried out one after the other in the order they were made: a request made while another
// is outstanding waits for it. The port is opened at the first request and closed when the link is lost,
// so that the next request starts afresh.
#include "link/LinkOptions.h"
#include "link/PhoneAnswers.h"
#include "link/PhonebookSession.h"

#include <QObject>

#include <functional>
#include <memory>

class QSerialPort;

struct LinkCounters {
    qint64 commands = 0;
    qint64 bytesSent = 0;
    qint64 bytesReceived = 0;
};

class LinkWorker : public QObject {
    Q_OBJECT
public:
    using ReadDone = std::function<void(DirectoryRead)>;
    using WriteDone = std::function<void(int result)>;
    using ProgressSink = std::function<void(int read, int expected)>;

    LinkWorker();
    ~LinkWorker() override;

    void configure(const LinkOptions& options);
    void read(const QByteArray& code, const ProgressSink& progress, const ReadDone& done);
    // The records of first..last only (PhonebookSession::readSpan).
    void readSpan(const QByteArray& code, int first, int last, const ReadDone& done);
    // name as text (PhonebookSession::writeText).
    void write(const QByteArray& code, int index, const QString& name, const QByteArray& number, const WriteDone& done);
    LinkCounters counters() const;
    // What the request that ended last found wrong with the device (PortDiagnosis); empty when it went well or
    // failed for a reason of the phone book itself. Read it from the request's done callback.
    QString diagnosis() const { return m_diagnosis; }

private:
    bool connectPhone();
    bool openPort();
    void judge(bool notAvailable);
    void dropConnection();
    void collectCounters();

    LinkOptions m_options;
    std::unique_ptr<QSerialPort> m_port;
    std::unique_ptr<AtChannel> m_channel;
    std::unique_ptr<PhonebookSession> m_session;
    LinkCounters m_counters; // of connections already closed
    PhoneAnswers m_answers;  // of the connection open now
    QString m_diagnosis;
};
