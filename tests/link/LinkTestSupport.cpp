#include "LinkTestSupport.h"
#include "tests/support/TestSeed.h"

#include <QCoreApplication>
#include <QFile>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

bool RecordingWindow::event(QEvent* event)
{
    if (event->type() == PhonebookProgress::EventType()) {
        auto* p = static_cast<PhonebookProgress*>(event);
        progress.append({p->recordsRead, p->recordsExpected});
        return true;
    }
    if (event->type() != PhonebookMessage::EventType()) return QObject::event(event);
    auto* m = static_cast<PhonebookMessage*>(event);
    ReceivedMessage received;
    received.message = m->message;
    received.lParam = m->lParam;
    received.onOwnThread = QThread::currentThread() == thread();
    // As the program does: the block is fetched for every read end but the one without data.
    const bool read = m->message == UM_PHONEBOOK_READ || m->message == UM_PHONEBOOK_SPAN_READ;
    if (read && m->lParam != PB_READ_NO_DATA) {
        received.data = *ATPBGet();
        const qsizetype size = qsizetype(received.data.nCount) * (2 + received.data.nNameFieldSize + received.data.nNumberFieldSize);
        if (size > 0) received.records = QByteArray(reinterpret_cast<const char*>(received.data.pRecords), size);
    }
    messages.append(received);
    return true;
}

QList<ReadRecord> RecordingWindow::recordsOf(const ReceivedMessage& message)
{
    QList<ReadRecord> records;
    const int nameLength = message.data.nNameFieldSize;
    const int numberLength = message.data.nNumberFieldSize;
    const int stride = 2 + nameLength + numberLength;
    for (int k = 0; k < message.data.nCount; ++k) {
        const QByteArray r = message.records.mid(qsizetype(k) * stride, stride);
        ReadRecord record;
        const int word = uchar(r[0]) | (uchar(r[1]) << 8);
        record.index = word & 0x7FFF;
        record.nameUnreadable = (word & kRecordNameUnreadable) != 0;
        const QByteArray name = r.mid(2, nameLength);
        const QByteArray number = r.mid(2 + nameLength, numberLength);
        record.name = name.left(name.indexOf('\0') < 0 ? name.size() : name.indexOf('\0'));
        record.number = number.left(number.indexOf('\0') < 0 ? number.size() : number.indexOf('\0'));
        records.append(record);
    }
    return records;
}

EmulatedPhone::EmulatedPhone(PhoneEmulatorOptions options, int silenceTimeoutMs, const EmulatorState* initial)
{
    if (options.stateFile.isEmpty()) options.stateFile = stateFile();
    if (options.logFile.isEmpty()) options.logFile = m_dir.filePath("commands.log");
    m_commandLog = options.logFile;
    QString error;
    if (initial && !PhoneEmulator::writeState(options.stateFile, *initial, &error)) qWarning("%s", qPrintable(error));
    if (!m_phone.start(options, &m_path, &error)) {
        qWarning("emulator did not start: %s", qPrintable(error));
        m_path.clear();
        return;
    }
    LinkOptions link;
    link.device = m_path;
    link.silenceTimeoutMs = silenceTimeoutMs;
    ConnectTelephoneLink(link);
}

void ChainedWriter::start()
{
    writeNext();
}

void ChainedWriter::writeNext()
{
    if (results.size() == m_requests.size()) {
        m_finished = true;
        return;
    }
    const WriteRequest& r = m_requests[results.size()];
    ATPBWrite(this, UM_PHONEBOOK_WRITTEN, r.code.constData(), r.index, r.name.constData(), r.number.constData());
}

bool ChainedWriter::event(QEvent* event)
{
    if (event->type() != PhonebookMessage::EventType()) return QObject::event(event);
    const intptr_t result = static_cast<PhonebookMessage*>(event)->lParam;
    results.append(result);
    if (result != 0) m_finished = true;
    else writeNext();
    return true;
}

QList<QByteArray> loggedCommands(const QString& logFile)
{
    QFile file(logFile);
    QList<QByteArray> commands;
    if (!file.open(QIODevice::ReadOnly)) return commands;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const qsizetype space = line.indexOf(' ');
        if (space > 0) commands.append(line.mid(space + 1));
    }
    return commands;
}

bool switchPhoneBehindTheLink(EmulatedPhone& phone, int timeoutMs)
{
    const int before = phone.emulator().commandsAnswered();
    const int fd = ::open(phone.path().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    if (fd < 0) return false;
    const QByteArray commands = "AT+CSCS=\"HEX\"\rAT+CPBS=\"ME\"\r";
    const bool sent = ::write(fd, commands.constData(), size_t(commands.size())) == ssize_t(commands.size());
    const bool answered = sent && QTest::qWaitFor([&] { return phone.emulator().commandsAnswered() == before + 2; }, timeoutMs);
    ::close(fd);
    return answered;
}

quint64 seedOfTheRun(const char* program, const char* test)
{
    const quint64 seed = TestSeed();
    qInfo("seed %llu (replay: TD_SEED=%llu %s %s)", static_cast<unsigned long long>(seed),
          static_cast<unsigned long long>(seed), program, test);
    return seed;
}
