#pragma once
// Asks every serial device whether a telephone answers on it, away from the user-interface thread: the
// answers come back as one signal once all devices have answered or timed out. A search whose owner is gone
// before it ends is simply not heard of; the program waits for it at exit (the application's thread pool).
#include "link/PortProbe.h"

#include <QList>
#include <QObject>

// What the search found on one device (maker and model, or why nothing answers).
using TelephonePort = PortProbeResult;

class TelephonePortSearch : public QObject {
    Q_OBJECT
public:
    // root: where the file system starts ("/" but for tests); timeoutMs bounds each answer awaited.
    explicit TelephonePortSearch(QString root = QStringLiteral("/"), int timeoutMs = PortProbe::kDefaultTimeoutMs,
                                 QObject* parent = nullptr);

    // Starts a search unless one is running; false when one was.
    bool start();
    bool isRunning() const { return m_running; }

signals:
    void finished(const QList<TelephonePort>& ports);

private:
    QString m_root;
    int m_timeoutMs;
    bool m_running = false;
};
