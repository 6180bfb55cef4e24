#pragma once
// The telephone link behind the Cellbus calls: a worker thread that talks to the phone, and the delivery of
// each request's end to its window on the user-interface thread. A window deleted before its request ends
// is simply not told.
#include "link/Cellbus.h"
#include "link/LinkOptions.h"
#include "link/LinkWorker.h"

#include <QObject>
#include <QPointer>
#include <QThread>

#include <memory>

class LinkService : public QObject {
    Q_OBJECT
public:
    // Created on first use, on the user-interface thread.
    static LinkService& instance();
    ~LinkService() override;

    void configure(const LinkOptions& options);
    void read(QObject* window, int message, const QByteArray& code);
    // The records of first..last only; ends like read().
    void readSpan(QObject* window, int message, const QByteArray& code, int first, int last);
    // name as UTF-8, as ATPBWrite hands it.
    void write(QObject* window, int message, const QByteArray& code, int index, const QByteArray& name,
               const QByteArray& number);
    // The same with the name as text, as the tools hand over the names of a backup.
    void writeText(QObject* window, int message, const QByteArray& code, int index, const QString& name,
                   const QByteArray& number);
    // The records of the read whose end is being (or was last) delivered.
    PhonebookData* currentData();
    // The same records with their names as text, exactly as the phone holds them.
    QList<PhoneRecord> currentRecords() const;
    // What the link found wrong with the serial device at the request whose end was delivered last (see
    // LinkWorker::diagnosis); empty when it went well. Fehler_Melden shows it with the report of that end.
    QString lastDiagnosis() const { return m_diagnosis; }
    // Waits for the requests made so far, then counts what went over the line since start.
    LinkCounters counters();
    // Ends the worker after the request it is working on; requests still queued are dropped. A later
    // request starts a new worker.
    void shutdown();

private:
    struct ReadBlock {
        QByteArray bytes;
        PhonebookData data;
        QList<PhoneRecord> records;
    };
    LinkService();
    void ensureStarted();
    LinkWorker::ReadDone readEnd(LinkWorker* worker, QObject* window, int message);
    void deliver(const QPointer<QObject>& window, int message, intptr_t lParam, std::shared_ptr<ReadBlock> block,
                 const QString& diagnosis);

    QThread m_thread;
    LinkWorker* m_worker = nullptr;
    LinkOptions m_options;
    std::shared_ptr<ReadBlock> m_current;
    PhonebookData m_empty;
    QString m_diagnosis;
};
