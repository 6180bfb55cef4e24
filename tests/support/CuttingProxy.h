#pragma once
// A TCP proxy on 127.0.0.1 that forwards to a server and cuts connections: each new connection, with a chance
// drawn from the seed, is closed after a random number of bytes (both directions counted), possibly in the middle
// of a request or an answer. The seed is printed, so a failing run replays with TD_SEED. It runs in the thread
// that creates it, through that thread's event loop (the client's local loop serves it when both share a thread).
#include <QObject>
#include <QTcpServer>

#include <random>

class QTcpSocket;

class CuttingProxy : public QObject {
    Q_OBJECT
public:
    // cutChance: the share of connections that are cut; maxBytes: a cut comes within the first maxBytes bytes.
    CuttingProxy(quint16 targetPort, quint64 seed, double cutChance, int maxBytes);

    quint16 Port() const { return m_server.serverPort(); }
    // From now on; 0 forwards every connection whole (a clean run through the same address).
    void SetCutChance(double cutChance) { m_cutChance = cutChance; }
    int Connections() const { return m_connections; }
    int Cuts() const { return m_cuts; }

private:
    void Accept();
    void Forward(QTcpSocket* from, QTcpSocket* to, qint64* budget);

    QTcpServer m_server;
    quint16 m_targetPort;
    std::mt19937_64 m_random;
    double m_cutChance;
    int m_maxBytes;
    int m_connections = 0;
    int m_cuts = 0;
};
