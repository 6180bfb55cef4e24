#pragma once
// One synchronization of the address book in the background: a worker thread opens the book for writing (the
// window has let it go), runs the synchronization and closes the book again, while the window stays usable.
// Progress and the end arrive as signals on the window's thread; Cancel asks the run to end soon.
#include "pab/AddressBookSync.h"

#include <QObject>
#include <QThread>

#include <memory>
#include <mutex>

class CSyncRun : public QObject {
    Q_OBJECT
public:
    explicit CSyncRun(QObject* parent = nullptr);
    ~CSyncRun() override; // cancels a run going on and waits for it

    // bookFile: the file the window's book lives in. False when a run is going on already.
    bool Start(const QString& bookFile, const SyncAccount& account, const QString& password);
    bool IsRunning() const { return m_thread && m_thread->isRunning(); }
    void Cancel();
    // Cancels and waits at most timeoutMs for the run to end; true when it has ended.
    bool CancelAndWait(int timeoutMs);
    // Waits at most timeoutMs for the worker thread to end (it ends right after `finished`).
    bool Wait(int timeoutMs) { return !m_thread || m_thread->wait(QDeadlineTimer(timeoutMs)); }

signals:
    void progress(int done, int total);
    void finished(const AddressBookSyncResult& result);

private:
    void Run(const QString& bookFile, const SyncAccount& account, const QString& password);

    std::unique_ptr<QThread> m_thread;
    std::mutex m_mutex;
    AddressBookSync* m_pSync = nullptr; // the run going on, for Cancel
    bool m_bCancelled = false;
};
