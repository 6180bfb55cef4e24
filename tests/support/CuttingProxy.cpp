#include "CuttingProxy.h"

#include <QTcpSocket>

#include <cstdio>
#include <memory>

CuttingProxy::CuttingProxy(quint16 targetPort, quint64 seed, double cutChance, int maxBytes)
    : m_targetPort(targetPort), m_random(seed), m_cutChance(cutChance), m_maxBytes(maxBytes)
{
    std::printf("CuttingProxy: seed %llu (replay with TD_SEED=%llu)\n", static_cast<unsigned long long>(seed),
                static_cast<unsigned long long>(seed));
    std::fflush(stdout);
    connect(&m_server, &QTcpServer::newConnection, this, &CuttingProxy::Accept);
    m_server.listen(QHostAddress::LocalHost, 0);
}

void CuttingProxy::Accept()
{
    while (QTcpSocket* client = m_server.nextPendingConnection()) {
        ++m_connections;
        auto* upstream = new QTcpSocket(client);
        // Bytes left before the cut, shared by both directions; -1: this connection is never cut.
        auto budget = std::make_shared<qint64>(-1);
        if (std::uniform_real_distribution<double>(0.0, 1.0)(m_random) < m_cutChance) {
            *budget = std::uniform_int_distribution<qint64>(0, m_maxBytes)(m_random);
            ++m_cuts;
        }
        connect(client, &QTcpSocket::readyRead, upstream, [=, this] { Forward(client, upstream, budget.get()); });
        connect(upstream, &QTcpSocket::readyRead, client, [=, this] { Forward(upstream, client, budget.get()); });
        connect(upstream, &QTcpSocket::connected, client, [=, this] { Forward(client, upstream, budget.get()); });
        connect(upstream, &QTcpSocket::disconnected, client, [=] { client->disconnectFromHost(); });
        connect(client, &QTcpSocket::disconnected, client, [=] {
            upstream->abort();
            client->deleteLater();
        });
        upstream->connectToHost(QHostAddress::LocalHost, m_targetPort);
    }
}

void CuttingProxy::Forward(QTcpSocket* from, QTcpSocket* to, qint64* budget)
{
    if (to->state() != QAbstractSocket::ConnectedState) return; // kept in from's buffer until connected
    QByteArray data = from->readAll();
    if (*budget >= 0 && data.size() >= *budget) {
        to->write(data.left(*budget));
        *budget = 0;
        // The cut: what was let through arrives, then both connections end.
        to->disconnectFromHost();
        from->disconnectFromHost();
        return;
    }
    if (*budget >= 0) *budget -= data.size();
    to->write(data);
}
