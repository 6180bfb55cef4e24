#pragma once
// The way a second start hands over to the copy that runs: a local socket beside the instance lock. The first
// copy listens; a second start connects, asks it to show its window (restored, raised and active) and ends. A
// first copy that does not answer in time (hanging, stopped) leaves the second one to end all the same.
#include <QObject>
#include <QString>

class QLocalServer;

class InstanceHandover : public QObject {
    Q_OBJECT
public:
    // socketPath: a file path beside the lock (SocketPathFor).
    explicit InstanceHandover(QString socketPath, QObject* parent = nullptr);
    ~InstanceHandover() override;

    // The first copy, holding the lock: listens for later starts. A socket left by a copy that crashed is
    // removed first (the lock proves that no copy uses it). false when it cannot listen; the program runs on.
    bool Listen();
    // A second start: asks the running copy to show itself; true when it answered within timeoutMs.
    static bool AskRunningCopyToShow(const QString& socketPath, int timeoutMs);

    static QString SocketPathFor(const QString& lockFilePath);
    static constexpr int kAnswerTimeoutMs = 3000;

signals:
    // A later start asked for the window; connected to what shows it.
    void showRequested();

private:
    void OnNewConnection();

    QString m_socketPath;
    QLocalServer* m_server;
};
