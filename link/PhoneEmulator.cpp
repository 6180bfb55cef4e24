#include "link/PhoneEmulator.h"

#include "link/EmulatorEngine.h"
#include "link/PseudoTerminal.h"
#include "link/StorageCodes.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <poll.h>
#include <unistd.h>

namespace {
constexpr int kPollMs = 50;
constexpr qsizetype kMaxCommandLength = 4096;

// The program's directory codes name two storages differently from the phone.
QStringList phoneStorageNames(const QStringList& codes)
{
    QStringList names;
    for (const QString& code : codes) {
        const QByteArray mapped = StorageCodes::phoneStorage(code.toUpper().toLatin1());
        names.append(mapped.isEmpty() ? code.toUpper() : QString::fromLatin1(mapped));
    }
    return names;
}
}

struct PhoneEmulator::Private {
    PhoneEmulatorOptions options;
    EmulatorState state;
    std::unique_ptr<EmulatorEngine> engine;
    PseudoTerminal pty;
    int wake[2] = {-1, -1};
    QFile logFile;
    mutable std::mutex mutex; // guards state and engine against snapshots from other threads
};

PhoneEmulator::PhoneEmulator() : d(std::make_unique<Private>()) {}

PhoneEmulator::~PhoneEmulator()
{
    stop();
}

bool PhoneEmulator::writeState(const QString& path, const EmulatorState& state, QString* error)
{
    return state.save(path, error);
}

bool PhoneEmulator::running() const
{
    return m_thread.joinable();
}

EmulatorState PhoneEmulator::state() const
{
    std::lock_guard lock(d->mutex);
    return d->state;
}

bool PhoneEmulator::start(const PhoneEmulatorOptions& options, QString* devicePath, QString* error)
{
    stop();
    d->options = options;
    d->state = EmulatorState::seeded();
    if (!options.stateFile.isEmpty()) {
        if (QFileInfo::exists(options.stateFile)) {
            if (!d->state.load(options.stateFile, error)) return false;
        } else if (!d->state.save(options.stateFile, error)) {
            return false;
        }
    }
    EmulatorFaults faults;
    faults.failWrite = options.failWrite;
    faults.without = phoneStorageNames(options.without);
    faults.garblePercent = options.garblePercent;
    faults.garbleSeed = options.garbleSeed;
    d->engine = std::make_unique<EmulatorEngine>(d->state, faults, [this] {
        QString saveError;
        if (!d->options.stateFile.isEmpty() && !d->state.save(d->options.stateFile, &saveError))
            std::fprintf(stderr, "telephone-emulator: cannot save state: %s\n", qPrintable(saveError));
    }, options.identity);
    if (!options.logFile.isEmpty()) {
        d->logFile.setFileName(options.logFile);
        if (!d->logFile.open(QIODevice::Append | QIODevice::Text)) {
            *error = d->logFile.errorString();
            return false;
        }
    }
    if (!d->pty.open(error)) return false;
    if (!options.linkPath.isEmpty()) {
        QFile::remove(options.linkPath);
        if (!QFile::link(d->pty.slavePath(), options.linkPath)) {
            *error = QStringLiteral("cannot create the link %1").arg(options.linkPath);
            d->pty.close();
            return false;
        }
    }
    if (pipe(d->wake) != 0) {
        *error = QStringLiteral("cannot create a pipe");
        d->pty.close();
        return false;
    }
    m_stop = false;
    m_commands = 0;
    m_keypadDone = false;
    *devicePath = d->pty.slavePath();
    m_thread = std::thread([this] { serve(); });
    return true;
}

void PhoneEmulator::stop()
{
    if (!m_thread.joinable()) return;
    m_stop = true;
    const char byte = 0;
    if (write(d->wake[1], &byte, 1) < 0) { /* the poll timeout ends the loop as well */ }
    m_thread.join();
    ::close(d->wake[0]);
    ::close(d->wake[1]);
    d->wake[0] = d->wake[1] = -1;
    d->pty.close();
    d->logFile.close();
    if (!d->options.linkPath.isEmpty()) QFile::remove(d->options.linkPath);
}

void PhoneEmulator::log(const QByteArray& command)
{
    if (!d->logFile.isOpen()) return;
    d->logFile.write(QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toUtf8() + ' ' + command + '\n');
    d->logFile.flush();
}

void PhoneEmulator::serve()
{
    QByteArray pending;
    while (!m_stop && d->pty.masterFd() >= 0) {
        pollfd fds[2] = {{d->pty.masterFd(), POLLIN, 0}, {d->wake[0], POLLIN, 0}};
        if (poll(fds, 2, kPollMs) <= 0) continue;
        if (fds[1].revents) break;
        char buffer[1024];
        const ssize_t n = read(d->pty.masterFd(), buffer, sizeof buffer);
        if (n <= 0) {
            // No client on the line (EIO) or nothing after all; wait for the next one.
            if (n < 0 && errno != EAGAIN && errno != EIO) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
            continue;
        }
        pending.append(buffer, n);
        qsizetype end;
        while ((end = pending.indexOf('\r')) >= 0) {
            const QByteArray lineText = pending.left(end);
            pending.remove(0, end + 1);
            if (!answerLine(lineText)) return;
        }
        if (pending.size() > kMaxCommandLength) pending.clear();
    }
}

bool PhoneEmulator::answerLine(const QByteArray& rawLine)
{
    const QByteArray lineText = rawLine.trimmed(); // a stray LF of the previous line stays out of the command
    if (lineText.isEmpty()) return true;
    log(lineText);
    typeOnKeypad();
    QByteArray echo;
    QByteArray reply;
    bool dropAnswer = false;
    {
        std::lock_guard lock(d->mutex);
        if (d->engine->echo()) echo = lineText + '\r';
        const int writesBefore = d->engine->writesTaken();
        reply = d->engine->answer(lineText);
        const int drop = d->options.dropWriteAnswer;
        dropAnswer = drop > 0 && writesBefore < drop && d->engine->writesTaken() >= drop;
    }
    if (!echo.isEmpty() && !sendPaced(echo, -1)) return false;
    for (int waited = 0; waited < d->options.latencyMs && !m_stop; waited += 5)
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(5, d->options.latencyMs - waited)));
    if (dropAnswer) {
        hangUpAfter({});
        return false;
    }
    if (d->options.hangupAfter > 0 && m_commands.load() >= d->options.hangupAfter) {
        hangUpAfter(reply.left(reply.size() / 2));
        return false;
    }
    ++m_commands;
    return sendPaced(reply, -1);
}

void PhoneEmulator::typeOnKeypad()
{
    if (m_keypadDone || d->options.keypadAfter < 0 || m_commands.load() < d->options.keypadAfter) return;
    m_keypadDone = true;
    std::lock_guard lock(d->mutex);
    if (!d->engine->storeFromKeypad(d->options.keypadAdd))
        std::fprintf(stderr, "telephone-emulator: no place for the keypad record in %s\n",
                     qPrintable(d->options.keypadAdd.storage));
}

void PhoneEmulator::hangUpAfter(const QByteArray& partOfAnswer)
{
    sendPaced(partOfAnswer, -1);
    // Closing the master discards what the client has not read yet; give it a moment to take what was sent,
    // as a cable pulled mid-transfer leaves the bytes already sent.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    d->pty.hangUp();
}

bool PhoneEmulator::sendPaced(const QByteArray& bytes, qsizetype stopAfter)
{
    using Clock = std::chrono::steady_clock;
    const qsizetype total = stopAfter < 0 ? bytes.size() : std::min(stopAfter, bytes.size());
    const double bytesPerSecond = d->options.baud > 0 ? d->options.baud / 10.0 : 0.0;
    const qsizetype step = bytesPerSecond > 0 ? std::max<qsizetype>(1, qsizetype(bytesPerSecond / 200)) : total;
    const auto begin = Clock::now();
    qsizetype sent = 0;
    while (sent < total && !m_stop) {
        const qsizetype chunk = std::min(step, total - sent);
        const ssize_t n = write(d->pty.masterFd(), bytes.constData() + sent, size_t(chunk));
        if (n < 0) {
            if (errno != EAGAIN) return false;
            pollfd out {d->pty.masterFd(), POLLOUT, 0};
            poll(&out, 1, kPollMs);
            continue;
        }
        sent += n;
        if (bytesPerSecond > 0) {
            const auto due = begin + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(sent / bytesPerSecond));
            std::this_thread::sleep_until(due);
        }
    }
    return !m_stop;
}
