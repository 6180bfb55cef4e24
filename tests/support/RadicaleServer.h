#pragma once
// A real Radicale CardDAV server for one test: started from the Debian package on 127.0.0.1 at a free port, with
// its storage, configuration and htpasswd file (plain text) in a temporary folder, stopped when the object goes.
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>

class RadicaleServer {
public:
    static constexpr int kStartTimeoutMs = 20000;

    RadicaleServer();
    ~RadicaleServer();
    RadicaleServer(const RadicaleServer&) = delete;
    RadicaleServer& operator=(const RadicaleServer&) = delete;

    // Adds a user that the server accepts (before Start, or at any time: Radicale rereads the file).
    void AddUser(const QString& user, const QString& password);
    // Serves https:// with a fresh self-signed certificate for 127.0.0.1 (made with openssl); before Start. Its
    // PEM file is CertificatePath().
    bool EnableTls();
    QString CertificatePath() const;
    // Starts the server and waits until its port answers; false with Problem() when it does not.
    bool Start();
    void Stop();
    QString Problem() const { return m_problem; }

    quint16 Port() const { return m_port; }
    QUrl RootUrl() const; // http(s)://127.0.0.1:<port>/
    // Creates the address book /<user>/<name>/ (extended MKCOL with the CardDAV resource type); its URL, or an
    // empty URL with Problem() set.
    QUrl CreateAddressBook(const QString& user, const QString& password, const QString& name,
                           const QString& displayName = QString());

private:
    static quint16 FreePort();
    bool WaitUntilAnswering();

    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
    bool m_tls = false;
    QString m_problem;
};
