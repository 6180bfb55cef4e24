#include "RadicaleServer.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>

RadicaleServer::RadicaleServer()
{
    QFile users(m_dir.filePath(QStringLiteral("users")));
    if (users.open(QIODevice::WriteOnly)) users.close();
}

RadicaleServer::~RadicaleServer()
{
    Stop();
}

void RadicaleServer::AddUser(const QString& user, const QString& password)
{
    QFile users(m_dir.filePath(QStringLiteral("users")));
    if (users.open(QIODevice::Append)) users.write((user + u':' + password + u'\n').toUtf8());
}

quint16 RadicaleServer::FreePort()
{
    // The kernel picks a port no one uses; it stays free for the moment between closing it here and the server
    // binding it.
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0)) return 0;
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

QUrl RadicaleServer::RootUrl() const
{
    return QUrl(QStringLiteral("%1://127.0.0.1:%2/").arg(m_tls ? QStringLiteral("https") : QStringLiteral("http")).arg(m_port));
}

QString RadicaleServer::CertificatePath() const
{
    return m_dir.filePath(QStringLiteral("cert.pem"));
}

bool RadicaleServer::EnableTls()
{
    QProcess openssl;
    openssl.setProcessChannelMode(QProcess::MergedChannels);
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("rsa:2048"),
                   QStringLiteral("-nodes"), QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
                   QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-keyout"), m_dir.filePath(QStringLiteral("key.pem")),
                   QStringLiteral("-out"), CertificatePath()});
    if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0) {
        m_problem = QStringLiteral("openssl made no certificate: %1").arg(QString::fromLocal8Bit(openssl.readAll()));
        return false;
    }
    m_tls = true;
    return true;
}

bool RadicaleServer::Start()
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("radicale"));
    if (program.isEmpty()) {
        m_problem = QStringLiteral("radicale is not installed (scripts/install-deps.sh installs it)");
        return false;
    }
    m_port = FreePort();
    const QString config = m_dir.filePath(QStringLiteral("config"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) {
        m_problem = QStringLiteral("cannot write %1").arg(config);
        return false;
    }
    file.write(QStringLiteral("[server]\nhosts = 127.0.0.1:%1\n%4"
                              "[auth]\ntype = htpasswd\nhtpasswd_filename = %2\nhtpasswd_encryption = plain\n"
                              "[rights]\ntype = owner_only\n"
                              "[storage]\nfilesystem_folder = %3\n"
                              "[web]\ntype = none\n"
                              "[logging]\nlevel = warning\n")
                   .arg(m_port)
                   .arg(m_dir.filePath(QStringLiteral("users")), m_dir.filePath(QStringLiteral("collections")),
                        m_tls ? QStringLiteral("ssl = True\ncertificate = %1\nkey = %2\n")
                                    .arg(CertificatePath(), m_dir.filePath(QStringLiteral("key.pem")))
                              : QString())
                   .toUtf8());
    file.close();
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.start(program, {QStringLiteral("--config"), config});
    if (!m_process.waitForStarted()) {
        m_problem = QStringLiteral("radicale did not start: %1").arg(m_process.errorString());
        return false;
    }
    return WaitUntilAnswering();
}

bool RadicaleServer::WaitUntilAnswering()
{
    const QDeadlineTimer deadline(kStartTimeoutMs);
    while (!deadline.hasExpired()) {
        if (m_process.state() != QProcess::Running) {
            m_problem = QStringLiteral("radicale ended before it answered (exit code %1)").arg(m_process.exitCode());
            return false;
        }
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, m_port);
        if (socket.waitForConnected(1000)) return true;
        // Refused at once while the server is still loading: wait for the process a little rather than spin.
        m_process.waitForFinished(50);
    }
    m_problem = QStringLiteral("radicale did not answer on port %1 within %2 ms").arg(m_port).arg(kStartTimeoutMs);
    return false;
}

void RadicaleServer::Stop()
{
    if (m_process.state() == QProcess::NotRunning) return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

QUrl RadicaleServer::CreateAddressBook(const QString& user, const QString& password, const QString& name,
                                       const QString& displayName)
{
    QUrl url = RootUrl();
    url.setPath(QStringLiteral("/%1/%2/").arg(user, name));
    const QString shown = displayName.isEmpty() ? name : displayName.toHtmlEscaped();
    const QByteArray body = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                                           "<d:mkcol xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:carddav\">"
                                           "<d:set><d:prop><d:resourcetype><d:collection/><c:addressbook/></d:resourcetype>"
                                           "<d:displayname>%1</d:displayname></d:prop></d:set></d:mkcol>")
                                .arg(shown)
                                .toUtf8();
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setRawHeader("Content-Type", "application/xml; charset=utf-8");
    request.setRawHeader("Authorization", "Basic " + (user + u':' + password).toUtf8().toBase64());
    QNetworkReply* reply = manager.sendCustomRequest(request, "MKCOL", body);
    // The fixture trusts its own self-signed certificate.
    QObject::connect(reply, &QNetworkReply::sslErrors, reply, [reply] { reply->ignoreSslErrors(); });
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished()) loop.exec();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    reply->deleteLater();
    if (status != 201) {
        m_problem = QStringLiteral("MKCOL %1 answered %2").arg(url.path()).arg(status);
        return QUrl();
    }
    return url;
}
