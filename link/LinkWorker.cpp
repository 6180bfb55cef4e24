#include "link/LinkWorker.h"

#include "link/Cellbus.h"
#include "link/PortDiagnosis.h"

#include <QSerialPort>
#include <QThread>

namespace {
// Progress is worth a repaint every few records, not every record.
constexpr int kProgressStep = 20;
constexpr unsigned long kReopenDelayMs = 200;
}

LinkWorker::LinkWorker() = default;

LinkWorker::~LinkWorker()
{
    dropConnection();
}

void LinkWorker::configure(const LinkOptions& options)
{
    dropConnection();
    m_options = options;
}

bool LinkWorker::openPort()
{
    m_port = std::make_unique<QSerialPort>();
    m_port->setPortName(m_options.device);
    m_port->setBaudRate(m_options.baud);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    // A device that was just plugged in, or a serial lock another process is just giving up, may refuse the
    // first open: one more try after a moment.
    if (m_port->open(QIODevice::ReadWrite)) return true;
    QThread::msleep(kReopenDelayMs);
    m_port->clearError();
    if (m_port->open(QIODevice::ReadWrite)) return true;
    qWarning("telephone link: cannot open %s: %s", qPrintable(m_options.device), qPrintable(m_port->errorString()));
    m_diagnosis = PortDiagnosis().openFailure(m_options.device, m_port->errorString());
    m_port.reset();
    return false;
}

bool LinkWorker::connectPhone()
{
    if (m_session && m_session->usable()) return true;
    dropConnection();
    if (m_options.device.isEmpty() || !openPort()) return false;
    m_channel = std::make_unique<AtChannel>(m_port.get(), m_options.silenceTimeoutMs);
    m_answers = PhoneAnswers{};
    m_channel->setObserver([this](const QByteArray& command, const AtResponse& response) { m_answers.note(command, response); });
    m_session = std::make_unique<PhonebookSession>(*m_channel, m_options.writeRunPauseMs);
    return true;
}

void LinkWorker::judge(bool notAvailable)
{
    const PortDiagnosis diagnosis;
    if (notAvailable && m_answers.lacksPhonebook()) {
        m_diagnosis = diagnosis.noPhonebook(m_options.device);
    } else if (!m_session->usable()) {
        m_diagnosis = m_answers.acceptedAt()
            ? diagnosis.lineLost(m_options.device)
            : diagnosis.noAnswer(m_options.device, m_options.baud, m_options.silenceTimeoutMs, m_channel->bytesReceived() > 0);
    }
}

void LinkWorker::collectCounters()
{
    if (!m_channel) return;
    m_counters.commands += m_channel->commandsSent();
    m_counters.bytesSent += m_channel->bytesSent();
    m_counters.bytesReceived += m_channel->bytesReceived();
}

void LinkWorker::dropConnection()
{
    collectCounters();
    m_session.reset();
    m_channel.reset();
    if (m_port) m_port->close();
    m_port.reset();
}

LinkCounters LinkWorker::counters() const
{
    LinkCounters total = m_counters;
    if (m_channel) {
        total.commands += m_channel->commandsSent();
        total.bytesSent += m_channel->bytesSent();
        total.bytesReceived += m_channel->bytesReceived();
    }
    return total;
}

void LinkWorker::read(const QByteArray& code, const ProgressSink& progress, const ReadDone& done)
{
    m_diagnosis.clear();
    if (!connectPhone()) {
        done(DirectoryRead{});
        return;
    }
    int lastReported = 0;
    DirectoryRead result = m_session->read(code, [&](int read, int expected) {
        if (read - lastReported < kProgressStep) return;
        lastReported = read;
        progress(read, expected);
    });
    judge(result.result == PB_READ_NOT_AVAILABLE);
    if (!m_session->usable()) dropConnection();
    done(std::move(result));
}

void LinkWorker::readSpan(const QByteArray& code, int first, int last, const ReadDone& done)
{
    m_diagnosis.clear();
    if (!connectPhone()) {
        done(DirectoryRead{});
        return;
    }
    DirectoryRead result = m_session->readSpan(code, first, last);
    judge(result.result == PB_READ_NOT_AVAILABLE);
    if (!m_session->usable()) dropConnection();
    done(std::move(result));
}

void LinkWorker::write(const QByteArray& code, int index, const QString& name, const QByteArray& number,
                       const WriteDone& done)
{
    m_diagnosis.clear();
    if (!connectPhone()) {
        done(PhonebookSession::kWriteLinkLost);
        return;
    }
    const int result = m_session->writeText(code, index, name, number);
    judge(result == PhonebookSession::kWriteNotAvailable);
    if (!m_session->usable()) dropConnection();
    done(result);
}
