// Synchronizing the address book with its CardDAV server. The window lets the book go (a worker opens it for
// writing and takes its writer lock), keeps the telephone side usable, counts the contacts in the status line and
// in a progress window that can cancel, and opens the book again on the folder shown before when the run ends.
#include "model/EntryStore.h"
#include "model/Questions.h"
#include "pab/AddressBook.h"
#include "pab/AddressBookFile.h"
#include "pab/KeyringPassword.h"
#include "res/CommandIds.h"
#include "res/StringTable.h"
#include "ui/CFolderCombo.h"
#include "ui/CFormCommands.h"
#include "ui/CFormControls.h"
#include "ui/CFormHost.h"
#include "ui/CFormLists.h"
#include "ui/CPreviewRow.h"
#include "ui/CSyncRun.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QTreeWidget>

namespace {
QString PasswordFromKeyring(const SyncAccount& account, QString& error)
{
    const KeyringPassword::Result kept = KeyringPassword(account.KeyringKey()).Read();
    if (kept.ok) return kept.password;
    error = kept.notFound ? QStringLiteral("no password is kept for %1; enter it in the preferences.").arg(account.KeyringKey())
                          : kept.error;
    return {};
}

std::string Formatted(int id, const QString& argument)
{
    return StringTable::LoadQString(id).arg(argument).toStdString();
}
}

CFormCommands::CFormCommands(Parts parts)
    : m_parts(std::move(parts)), m_passwordSource(PasswordFromKeyring), m_sync(std::make_unique<CSyncRun>())
{
    // The end is handled in the context of the run itself, so that the way out can take it at once.
    QObject::connect(m_sync.get(), &CSyncRun::finished, m_sync.get(),
                     [this](const AddressBookSyncResult& result) { OnSyncFinished(result); });
    QObject::connect(m_sync.get(), &CSyncRun::progress, m_sync.get(), [this](int done, int total) {
        m_parts.host.SetStatusText(StringTable::LoadQString(Ids::IDS_SYNC_PROGRESS).arg(done).arg(total).toStdString());
        if (auto* dialog = m_parts.form->findChild<QProgressDialog*>(QStringLiteral("syncProgress"))) {
            dialog->setMaximum(std::max(total, 1));
            dialog->setValue(std::min(done, std::max(total, 1)));
        }
    });
}

CFormCommands::~CFormCommands() = default;

bool CFormCommands::IsSynchronizing() const
{
    return m_sync->IsRunning() || !m_strBookFile.isEmpty();
}

void CFormCommands::OnSynchronize()
{
    if (IsSynchronizing()) return;
    EntryStore& store = m_parts.store;
    if (store.HasFlag(VF_AB_MODIFIED)) {
        const IQuestions::Answer answer = m_parts.questions.AskYesNoOrStay(
            Ids::IDS_SAVE_AB_BEFORE_SYNC, StringTable::LoadString(Ids::IDS_SAVE_AB_BEFORE_SYNC));
        if (answer != IQuestions::Answer::Yes) return; // a synchronization never starts over unsaved changes
        OnSaveAddressBook();
        if (store.HasFlag(VF_AB_MODIFIED)) return; // the save failed and said why
    }
    QSettings settings;
    const SyncAccount account = SyncAccount::Read(settings);
    if (!account.IsSet()) {
        m_parts.questions.ShowMessage(Ids::IDS_SYNC_NO_ACCOUNT, StringTable::LoadString(Ids::IDS_SYNC_NO_ACCOUNT));
        return;
    }
    QString error;
    const QString password = m_passwordSource(account, error);
    if (password.isEmpty()) {
        m_parts.questions.ShowMessage(Ids::IDS_SYNC_FAILED, Formatted(Ids::IDS_SYNC_FAILED, error));
        return;
    }
    m_strBookFile = AddressBookFile::Current();
    m_strFolderBeforeSync = m_parts.controls.m_cbFolder->currentText();
    m_parts.book.CloseSession(); // the worker takes the book's writer lock
    ShowSynchronizing(true);
    m_sync->Start(m_strBookFile, account, password);
}

void CFormCommands::ShowSynchronizing(bool running)
{
    CFormControls& controls = m_parts.controls;
    if (running && m_parts.store.m_nActiveList == LIST_AB) m_parts.preview.ClearPreviewRow();
    for (QWidget* control : std::initializer_list<QWidget*>{controls.m_lcAddressBook, controls.m_cbFolder,
                                                            controls.m_btnSaveAddressBook})
        control->setEnabled(!running);
    if (running) {
        m_parts.host.SetStatusText(StringTable::LoadQString(Ids::IDS_SYNC_PROGRESS).arg(0).arg(0).toStdString());
        // Not modal: the telephone side stays usable while the book is synchronized.
        auto* dialog = new QProgressDialog(StringTable::LoadQString(32803).section(u'\n', 1) + QStringLiteral("..."),
                                           QStringLiteral("Cancel"), 0, 0, m_parts.form);
        dialog->setObjectName(QStringLiteral("syncProgress"));
        dialog->setWindowModality(Qt::NonModal);
        dialog->setMinimumDuration(0);
        dialog->setAutoClose(false);
        dialog->setAutoReset(false);
        CSyncRun* run = m_sync.get();
        QObject::connect(dialog, &QProgressDialog::canceled, run, [run] { run->Cancel(); });
        dialog->show();
    } else if (auto* dialog = m_parts.form->findChild<QProgressDialog*>(QStringLiteral("syncProgress"))) {
        dialog->deleteLater();
        dialog->hide();
    }
}

void CFormCommands::OnSyncFinished(const AddressBookSyncResult& result)
{
    m_sync->Wait(30000);
    AddressBookFile::Use(m_strBookFile); // the worker's book chose its file for the time it was open
    m_strBookFile.clear();
    ShowSynchronizing(false);
    ReopenBook(m_strFolderBeforeSync);

    QSettings settings;
    SyncAccount account = SyncAccount::Read(settings);
    if (result.ok()) {
        if (account.m_strAddressBook.isEmpty() && !result.collection.isEmpty()) {
            account.m_strAddressBook = result.collection; // found once, used from now on
            account.Write(settings);
        }
        m_parts.host.SetStatusText(Formatted(Ids::IDS_SYNC_ENDED, result.Summary()));
        if (!result.notes.isEmpty())
            m_parts.questions.ShowMessage(Ids::IDS_SYNC_ENDED,
                                          Formatted(Ids::IDS_SYNC_ENDED, result.Summary() + u'\n' + result.notes.join(u'\n')));
        return;
    }
    m_parts.host.SetStatusText(Formatted(Ids::IDS_SYNC_FAILED, result.error.section(u'\n', 0, 0)));
    if (result.failure == AddressBookSyncResult::Failure::Cancelled) return;
    if (result.failure == AddressBookSyncResult::Failure::Certificate && !result.certificateFingerprint.isEmpty()) {
        if (!m_parts.questions.AskYesNo(Ids::IDS_SYNC_TRUST_CERTIFICATE,
                                        Formatted(Ids::IDS_SYNC_TRUST_CERTIFICATE, result.certificateFingerprint)))
            return;
        account.m_acceptedCertificates << result.certificateFingerprint.toLower();
        account.Write(settings);
        OnSynchronize();
        return;
    }
    m_parts.questions.ShowMessage(Ids::IDS_SYNC_FAILED, Formatted(Ids::IDS_SYNC_FAILED, result.error));
}

void CFormCommands::ReopenBook(const QString& folderShown)
{
    if (!m_parts.book.OpenAtStartUp()) return; // reported; the program ends as without its book at start-up
    m_parts.lists.FillAbList(true);
    m_parts.host.FillFolderCombo();
    CFolderCombo* combo = m_parts.controls.m_cbFolder;
    const int item = combo->findText(folderShown, Qt::MatchExactly);
    if (item <= 0) return; // the book itself, or a list that went away
    combo->setCurrentIndex(item);
    m_parts.book.ChangeFolder();
}

bool CFormCommands::StopSynchronizing(int timeoutMs)
{
    if (!IsSynchronizing()) return true;
    if (!m_sync->CancelAndWait(timeoutMs)) return false;
    // The run's end waits as a queued call: taken now, so that the book is open again before the way out asks.
    QCoreApplication::sendPostedEvents(m_sync.get(), QEvent::MetaCall);
    return !IsSynchronizing();
}
