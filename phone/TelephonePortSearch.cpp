#include "phone/TelephonePortSearch.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>

TelephonePortSearch::TelephonePortSearch(QString root, int timeoutMs, QObject* parent)
    : QObject(parent), m_root(std::move(root)), m_timeoutMs(timeoutMs)
{
}

bool TelephonePortSearch::start()
{
    if (m_running) return false;
    m_running = true;
    const QPointer<TelephonePortSearch> self(this);
    const QString root = m_root;
    const int timeoutMs = m_timeoutMs;
    // The global pool is waited for when the application ends, so a search never outlives the program.
    QThreadPool::globalInstance()->start([self, root, timeoutMs] {
        const QList<TelephonePort> ports = PortProbe::probeAll(root, PortProbe::kDefaultBaud, timeoutMs);
        // The search's owner is looked at on its own thread only: delivered through the application object.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, ports] {
                if (!self) return;
                self->m_running = false;
                emit self->finished(ports);
            },
            Qt::QueuedConnection);
    });
    return true;
}
