#include "link/LinkService.h"

#include "link/PhonebookRecords.h"

#include <QCoreApplication>

LinkService& LinkService::instance()
{
    static LinkService service;
    return service;
}

LinkService::LinkService()
{
    m_thread.setObjectName(QStringLiteral("telephone-link"));
}

LinkService::~LinkService()
{
    shutdown();
}

void LinkService::ensureStarted()
{
    if (m_worker) return;
    // The worker thread must end while the application still stands: a request it works on at exit would
    // otherwise run on into the destruction of the program's statics.
    static const bool stopsWithTheApplication = [] {
        qAddPostRoutine([] { LinkService::instance().shutdown(); });
        return true;
    }();
    Q_UNUSED(stopsWithTheApplication);
    m_worker = new LinkWorker;
    m_worker->configure(m_options);
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start();
}

void LinkService::configure(const LinkOptions& options)
{
    m_options = options;
    if (!m_worker) return;
    LinkWorker* worker = m_worker;
    QMetaObject::invokeMethod(worker, [worker, options] { worker->configure(options); }, Qt::QueuedConnection);
}

void LinkService::deliver(const QPointer<QObject>& window, int message, intptr_t lParam, std::shared_ptr<ReadBlock> block,
                          const QString& diagnosis)
{
    // Kept even when nobody is told: the last word on the device belongs to the last request that ended.
    m_diagnosis = diagnosis;
    if (!window) return;
    if (block) m_current = std::move(block);
    PhonebookMessage event(message, 0, lParam);
    QCoreApplication::sendEvent(window.data(), &event);
}

LinkWorker::ReadDone LinkService::readEnd(LinkWorker* worker, QObject* window, int message)
{
    const QPointer<QObject> target(window);
    return [this, worker, target, message](DirectoryRead result) {
        const QString diagnosis = worker->diagnosis();
        std::shared_ptr<ReadBlock> block;
        intptr_t lParam = result.result;
        if (result.result != PB_READ_NO_DATA) {
            block = std::make_shared<ReadBlock>();
            if (result.result == 0) {
                block->bytes = PhonebookRecords::buildBlock(result.records, result.nameLength, result.numberLength);
                block->records = result.records;
                block->data.nCount = int32_t(result.records.size());
                block->data.nNameLen = result.nameLength;
                block->data.nNumberLen = result.numberLength;
                block->data.nMaxEntries = result.maxEntries;
                block->data.nNameFieldSize = PhonebookRecords::nameFieldSize(result.nameLength);
                block->data.nUcs2NameLen = result.ucs2NameLength;
                block->data.nNumberFieldSize = PhonebookRecords::numberFieldSize(result.numberLength);
                // Success carries the record count; 0 records is a success too, never mistaken for a failure.
                lParam = intptr_t(result.records.size());
            }
        }
        QMetaObject::invokeMethod(this, [this, target, message, lParam, block, diagnosis] {
            if (block) block->data.pRecords = reinterpret_cast<const uint8_t*>(block->bytes.constData());
            deliver(target, message, lParam, block, diagnosis);
        }, Qt::QueuedConnection);
    };
}

void LinkService::read(QObject* window, int message, const QByteArray& code)
{
    const QPointer<QObject> target(window);
    ensureStarted();
    LinkWorker* worker = m_worker;
    auto progress = [this, target](int done, int expected) {
        QMetaObject::invokeMethod(this, [target, done, expected] {
            if (!target) return;
            PhonebookProgress event(done, expected);
            QCoreApplication::sendEvent(target.data(), &event);
        }, Qt::QueuedConnection);
    };
    auto finished = readEnd(worker, window, message);
    QMetaObject::invokeMethod(worker, [worker, code, progress, finished] { worker->read(code, progress, finished); },
                              Qt::QueuedConnection);
}

void LinkService::readSpan(QObject* window, int message, const QByteArray& code, int first, int last)
{
    ensureStarted();
    LinkWorker* worker = m_worker;
    auto finished = readEnd(worker, window, message);
    QMetaObject::invokeMethod(worker, [=] { worker->readSpan(code, first, last, finished); }, Qt::QueuedConnection);
}

void LinkService::write(QObject* window, int message, const QByteArray& code, int index, const QByteArray& name,
                        const QByteArray& number)
{
    writeText(window, message, code, index, QString::fromUtf8(name), number);
}

void LinkService::writeText(QObject* window, int message, const QByteArray& code, int index, const QString& name,
                            const QByteArray& number)
{
    const QPointer<QObject> target(window);
    ensureStarted();
    LinkWorker* worker = m_worker;
    auto finished = [this, worker, target, message](int result) {
        const QString diagnosis = worker->diagnosis();
        QMetaObject::invokeMethod(this, [=, this] { deliver(target, message, result, nullptr, diagnosis); }, Qt::QueuedConnection);
    };
    QMetaObject::invokeMethod(worker, [=] { worker->write(code, index, name, number, finished); }, Qt::QueuedConnection);
}

PhonebookData* LinkService::currentData()
{
    return m_current ? &m_current->data : &m_empty;
}

QList<PhoneRecord> LinkService::currentRecords() const
{
    return m_current ? m_current->records : QList<PhoneRecord>{};
}

LinkCounters LinkService::counters()
{
    if (!m_worker) return {};
    LinkCounters counters;
    LinkWorker* worker = m_worker;
    QMetaObject::invokeMethod(worker, [worker, &counters] { counters = worker->counters(); }, Qt::BlockingQueuedConnection);
    return counters;
}

void LinkService::shutdown()
{
    if (!m_worker) return;
    m_thread.quit();
    m_thread.wait();
    m_worker = nullptr; // deleted by the thread's finished signal
}
