#include "ui/CSyncRun.h"

#include "pab/SyncState.h"
#include "pab/tools/OpenedAddressBook.h"

#include <QMetaObject>

CSyncRun::CSyncRun(QObject* parent) : QObject(parent)
{
    qRegisterMetaType<AddressBookSyncResult>("AddressBookSyncResult");
}

CSyncRun::~CSyncRun()
{
    CancelAndWait(60000);
}

bool CSyncRun::Start(const QString& bookFile, const SyncAccount& account, const QString& password)
{
    if (IsRunning()) return false;
    m_bCancelled = false;
    m_thread.reset(QThread::create([this, bookFile, account, password] { Run(bookFile, account, password); }));
    m_thread->start();
    return true;
}

void CSyncRun::Run(const QString& bookFile, const SyncAccount& account, const QString& password)
{
    AddressBookSyncResult result;
    {
        OpenedAddressBook book(bookFile, OpenedAddressBook::Access::Write, false);
        QString error;
        if (!book.Open(QString(), &error)) {
            result.failure = AddressBookSyncResult::Failure::Book;
            result.error = error;
        } else {
            AddressBookSync sync(book.Book(), book.Store(), book.Questions(), book.Host(), account, password,
                                 SyncState::PathFor(bookFile));
            sync.SetProgress([this](int done, int total) { emit progress(done, total); });
            {
                std::lock_guard<std::mutex> guard(m_mutex);
                m_pSync = &sync;
                if (m_bCancelled) sync.Cancel();
            }
            result = sync.Run();
            {
                std::lock_guard<std::mutex> guard(m_mutex);
                m_pSync = nullptr;
            }
            // What the book reported on its way (a save refused, a file that cannot be read) belongs to the cause.
            if (!result.ok() && !book.Questions().Reports().isEmpty())
                result.error = book.Questions().Reports().join(u'\n') + u'\n' + result.error;
        }
    } // the book is closed, its writer lock given back, before the window hears of the end
    emit finished(result);
}

void CSyncRun::Cancel()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_bCancelled = true;
    if (m_pSync) m_pSync->Cancel();
}

bool CSyncRun::CancelAndWait(int timeoutMs)
{
    if (!m_thread) return true;
    Cancel();
    return m_thread->wait(QDeadlineTimer(timeoutMs));
}
