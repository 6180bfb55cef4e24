#include "app/InstanceHandover.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>

#include <utility>

namespace {
// One line each way: a later start's request and the running copy's answer.
constexpr char kShowRequest[] = "SHOW\n";
constexpr char kShownAnswer[] = "SHOWN\n";
constexpr qint64 kMaxLine = 64;
}

InstanceHandover::InstanceHandover(QString socketPath, QObject* parent)
    : QObject(parent), m_socketPath(std::move(socketPath)), m_server(new QLocalServer(this))
{
    // Only this user's later starts may ask: the socket lies in the user's own runtime folder anyway.
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &InstanceHandover::OnNewConnection);
}

InstanceHandover::~InstanceHandover() = default;

QString InstanceHandover::SocketPathFor(const QString& lockFilePath)
{
    QString path = lockFilePath;
    if (path.endsWith(QStringLiteral(".lock"))) path.chop(5);
    return path + QStringLiteral(".socket");
}

bool InstanceHandover::Listen()
{
    QLocalServer::removeServer(m_socketPath);
    return m_server->listen(m_socketPath);
}

void InstanceHandover::OnNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // Answered once its line is in; anything else, or a line too long, closes the connection.
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kMaxLine) socket->abort();
                return;
            }
            const QByteArray line = socket->readLine(kMaxLine);
            if (line != kShowRequest) {
                socket->abort();
                return;
            }
            emit showRequested();
            socket->write(kShownAnswer);
            socket->disconnectFromServer();
        });
    }
}

bool InstanceHandover::AskRunningCopyToShow(const QString& socketPath, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(int(deadline.remainingTime()))) return false;
    socket.write(kShowRequest);
    if (!socket.waitForBytesWritten(int(deadline.remainingTime()))) return false;
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(int(deadline.remainingTime()))) return false;
    }
    return socket.readLine(kMaxLine) == kShownAnswer;
}
