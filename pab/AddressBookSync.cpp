#include "pab/AddressBookSync.h"

#include "dav/CardDavClient.h"
#include "dav/DavHref.h"
#include "model/VCardEntryCard.h"
#include "model/VCardMerge.h"
#include "model/VCardOwnedFields.h"
#include "model/VCardRawCard.h"
#include "pab/SyncFolders.h"
#include "pab/SyncState.h"

#include <QUuid>

#include <map>
#include <optional>

namespace {
constexpr int kMultigetBatch = 100;
// A card that changes on the server between our fetch and our write, again and again, is left for the next run.
constexpr int kWriteAttempts = 3;
// The namespace of conflict copies' UIDs: a copy's UID follows from its contact and its local card.
const QUuid kConflictNamespace = QUuid::fromString(QLatin1String("6f0d3c8e-2b1a-4c57-9d0e-5a7b3c2e1f40"));

// The server's card of a contact as this run knows it; no card when the server has none.
struct ServerSide {
    QString href;
    QString etag;
    std::optional<VCardRawCard> card;
};

AddressBookSyncResult::Failure FailureOf(DavError::Kind kind)
{
    switch (kind) {
    case DavError::Kind::Authentication: return AddressBookSyncResult::Failure::Authentication;
    case DavError::Kind::Certificate: return AddressBookSyncResult::Failure::Certificate;
    case DavError::Kind::Network: return AddressBookSyncResult::Failure::Network;
    case DavError::Kind::Cancelled: return AddressBookSyncResult::Failure::Cancelled;
    default: return AddressBookSyncResult::Failure::Refused;
    }
}

QString FileNameOf(const QString& href)
{
    QString name = href.section(QLatin1Char('/'), -1);
    if (name.endsWith(QLatin1String(".vcf"), Qt::CaseInsensitive)) name.chop(4);
    return name;
}

// The UID a server card is known by: its own, else its file name (a card without UID gets that one from us).
QString UidOf(const VCardRawCard& card, const QString& href)
{
    const QString uid = VCardOwnedFields::of(card).uid;
    return uid.isEmpty() ? FileNameOf(href) : uid;
}

void SetUid(VCardRawCard& card, const QString& uid)
{
    const QByteArray line = "UID:" + uid.toUtf8();
    const qsizetype at = card.findFirst("UID");
    if (at >= 0) card.replace(at, line);
    else card.append(line);
}
}

QString AddressBookSyncResult::Summary() const
{
    return QStringLiteral("%1 sent, %2 received, %3 deleted, %4 conflicts kept").arg(sent).arg(received).arg(deleted).arg(conflicts);
}

// One run: the state of the book, the server and the state file while it goes on.
class AddressBookSync::Runner {
public:
    explicit Runner(AddressBookSync& sync)
        : m_sync(sync), m_folders(sync.m_book, sync.m_store, sync.m_questions, sync.m_host),
          m_date(sync.m_date.isValid() ? sync.m_date : QDate::currentDate())
    {
    }

    AddressBookSyncResult Run();

private:
    bool Fail(AddressBookSyncResult::Failure failure, const QString& error);
    bool Fail(const DavError& error);
    bool Connect();
    void UseClient(std::unique_ptr<CardDavClient> client);
    bool Cancelled();
    // The server's changes since the last run: the hrefs changed (with their ETags) and those removed.
    bool AskChanges();
    bool AskIncremental();
    bool AskEverything();
    bool FetchChanged(const std::map<QString, QString>& changed);
    bool Fetch(const QStringList& hrefs, std::map<QString, ServerSide>* byHref);
    std::optional<VCardRawCard> LocalCard(const QString& uid, const VCardRawCard* base) const;
    // Merges and writes one contact; false when the run must stop.
    bool SyncContact(const QString& uid);
    bool SyncContactWith(const QString& uid, ServerSide server, const std::optional<VCardRawCard>& base,
                         const std::optional<VCardRawCard>& local);
    bool HasRoom(const std::set<int>& folders, const QString& uid);
    bool PutConflictCopy(const QString& uid, const VCardRawCard& local, VCardRawCard copy);
    QString NewHref(const QString& uid) const;
    void PlanLocal(const QString& uid, const VCardRawCard& card);
    bool Commit(bool withToken);

    AddressBookSync& m_sync;
    std::unique_ptr<CardDavClient> m_client;
    SyncFolders m_folders;
    SyncState m_state;
    QDate m_date;
    AddressBookSyncResult m_result;
    QString m_newToken;
    std::map<QString, ServerSide> m_serverChanges; // by UID
    std::map<QString, std::optional<SyncedCard>> m_stateChanges; // by UID; none: forget the card
    std::vector<SyncLocalChange> m_localChanges;
    std::map<int, int> m_reserved; // entries planned into each folder
};

bool AddressBookSync::Runner::Fail(AddressBookSyncResult::Failure failure, const QString& error)
{
    if (m_result.ok()) {
        m_result.failure = failure;
        m_result.error = error;
    }
    return false;
}

bool AddressBookSync::Runner::Fail(const DavError& error)
{
    if (m_sync.m_cancelled) return Fail(AddressBookSyncResult::Failure::Cancelled, QStringLiteral("The synchronization was cancelled."));
    if (m_result.ok()) m_result.certificateFingerprint = error.certificateFingerprint;
    return Fail(FailureOf(error.kind), error.message);
}

bool AddressBookSync::Runner::Cancelled()
{
    return m_sync.m_cancelled && !Fail(AddressBookSyncResult::Failure::Cancelled, QStringLiteral("The synchronization was cancelled."));
}

void AddressBookSync::Runner::UseClient(std::unique_ptr<CardDavClient> client)
{
    if (m_client) m_result.requests += m_client->RequestsSent();
    client->SetTimeoutMs(m_sync.m_timeoutMs);
    const std::lock_guard lock(m_sync.m_clientMutex);
    m_client = std::move(client);
    m_sync.m_client = m_client.get();
    if (m_sync.m_cancelled) m_client->Cancel();
}

bool AddressBookSync::Runner::Connect()
{
    const SyncAccount& account = m_sync.m_account;
    DavAccount dav;
    dav.user = account.m_strUser;
    dav.password = m_sync.m_password;
    dav.acceptedCertificates = account.m_acceptedCertificates;
    dav.allowPlainHttp = account.m_bAllowPlainHttp;
    dav.url = QUrl(account.m_strAddressBook.isEmpty() ? account.m_strServer : account.m_strAddressBook);
    if (!dav.url.isValid() || dav.url.host().isEmpty())
        return Fail(AddressBookSyncResult::Failure::Refused, QStringLiteral("The server address \"%1\" is no URL.").arg(dav.url.toString()));
    if (account.m_strAddressBook.isEmpty()) {
        // The first run finds the address book from the server's address; the caller keeps it for the next ones.
        UseClient(std::make_unique<CardDavClient>(dav));
        const DavResult<QList<DavAddressBook>> books = m_client->Discover();
        if (!books.ok()) return Fail(books.error);
        if (books.value.isEmpty())
            return Fail(AddressBookSyncResult::Failure::Refused, QStringLiteral("The server has no address book for %1.").arg(dav.user));
        dav.url = DavHref::ToUrl(dav.url, books.value.front().path);
    }
    m_result.collection = dav.url.toString();
    UseClient(std::make_unique<CardDavClient>(dav));
    return true;
}

bool AddressBookSync::Runner::AskChanges()
{
    if (!m_state.Token().isEmpty()) {
        if (AskIncremental()) return true;
        if (!m_result.ok() || m_sync.m_cancelled) return false;
    }
    return AskEverything();
}

// Changes since the token, answer after answer while the server says it sent only part of them. An unknown token
// returns false with no failure set: the caller compares everything instead.
bool AddressBookSync::Runner::AskIncremental()
{
    std::map<QString, QString> changed; // href -> ETag
    QString token = m_state.Token();
    std::map<QString, QString> uidOfHref;
    for (const auto& [uid, card] : m_state.Cards()) uidOfHref[card.href] = uid;
    for (;;) {
        const DavResult<DavSyncResult> answer = m_client->SyncCollection(token);
        if (!answer.ok()) return answer.error.kind == DavError::Kind::InvalidSyncToken ? false : Fail(answer.error);
        for (const DavEtag& etag : answer.value.changed) changed[etag.href] = etag.etag;
        for (const QString& href : answer.value.removed) {
            changed.erase(href);
            if (const auto known = uidOfHref.find(href); known != uidOfHref.end())
                m_serverChanges[known->second] = ServerSide{href, {}, std::nullopt};
        }
        token = answer.value.token;
        if (!answer.value.truncated || token.isEmpty()) break;
    }
    // Our own writes of the last run come back as changes: the ETag the state holds says they are none.
    for (const auto& [uid, card] : m_state.Cards()) {
        const auto found = changed.find(card.href);
        if (found != changed.end() && found->second == card.etag) changed.erase(found);
    }
    m_newToken = token;
    return FetchChanged(changed);
}

// Every card's ETag compared with the state's: for a first run, a token the server forgot, or a server without
// sync-collection. The token is taken before the listing, so that a change made meanwhile is seen next time.
bool AddressBookSync::Runner::AskEverything()
{
    m_serverChanges.clear();
    const DavResult<DavCollectionState> collection = m_client->CollectionState();
    if (!collection.ok()) return Fail(collection.error);
    const DavResult<QList<DavEtag>> listed = m_client->ListEtags();
    if (!listed.ok()) return Fail(listed.error);
    std::map<QString, QString> changed;
    for (const DavEtag& etag : listed.value) changed[etag.href] = etag.etag;
    for (const auto& [uid, card] : m_state.Cards()) {
        const auto found = changed.find(card.href);
        if (found == changed.end()) m_serverChanges[uid] = ServerSide{card.href, {}, std::nullopt};
        else if (found->second == card.etag) changed.erase(found);
    }
    m_newToken = collection.value.syncToken;
    return FetchChanged(changed);
}

bool AddressBookSync::Runner::Fetch(const QStringList& hrefs, std::map<QString, ServerSide>* byHref)
{
    for (qsizetype at = 0; at < hrefs.size(); at += kMultigetBatch) {
        if (Cancelled()) return false;
        const DavResult<DavMultigetResult> answer = m_client->Multiget(hrefs.mid(at, kMultigetBatch));
        if (!answer.ok()) return Fail(answer.error);
        for (const DavCard& card : answer.value.cards) {
            std::optional<VCardRawCard> parsed = VCardRawCard::parse(card.vcard);
            // A card that cannot be read is no deletion: it is left alone, on both sides.
            if (parsed) (*byHref)[card.href] = {card.href, card.etag, std::move(parsed)};
            else m_result.notes << QStringLiteral("The card %1 on the server cannot be read; it was left out.").arg(card.href);
        }
        for (const QString& href : answer.value.missing) (*byHref)[href] = {href, {}, std::nullopt};
    }
    return true;
}

bool AddressBookSync::Runner::FetchChanged(const std::map<QString, QString>& changed)
{
    QStringList hrefs;
    for (const auto& [href, etag] : changed) hrefs << href;
    std::map<QString, ServerSide> byHref;
    if (!Fetch(hrefs, &byHref)) return false;
    std::map<QString, QString> uidOfHref;
    for (const auto& [uid, card] : m_state.Cards()) uidOfHref[card.href] = uid;
    for (auto& [href, side] : byHref) {
        // A card that went between the listing and the fetch is a removal.
        if (side.card) m_serverChanges[UidOf(*side.card, href)] = std::move(side);
        else if (const auto known = uidOfHref.find(href); known != uidOfHref.end()) m_serverChanges[known->second] = std::move(side);
    }
    return true;
}

std::optional<VCardRawCard> AddressBookSync::Runner::LocalCard(const QString& uid, const VCardRawCard* base) const
{
    const auto held = m_folders.ByUid().find(uid.toStdString());
    if (held == m_folders.ByUid().end()) return std::nullopt;
    const QStringList lists = m_folders.ListsOf(held->first);
    std::optional<VCardRawCard> first;
    // Entries of one contact in several folders: the one edited since the last run speaks for it.
    for (const SyncLocalEntry& entry : held->second) {
        VCardRawCard card = VCardEntryCard::cardOf(entry.entry, lists, m_folders.ListNames(), base);
        if (!base || !card.sameContent(*base)) return card;
        if (!first) first = std::move(card);
    }
    return first;
}

QString AddressBookSync::Runner::NewHref(const QString& uid) const
{
    QString path = m_client->CollectionPath();
    if (!path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
    // Kept to characters every server takes in a path; the file name of a UID is always the same.
    return path + QString::fromLatin1(QUrl::toPercentEncoding(uid)) + QStringLiteral(".vcf");
}

bool AddressBookSync::Runner::HasRoom(const std::set<int>& folders, const QString& uid)
{
    const auto held = m_folders.ByUid().find(uid.toStdString());
    std::vector<int> needed;
    for (const int folder : folders) {
        bool present = false;
        if (held != m_folders.ByUid().end())
            for (const SyncLocalEntry& entry : held->second) present = present || entry.folder == folder;
        if (present) continue;
        if (m_folders.Room(folder) - m_reserved[folder] <= 0) return false;
        needed.push_back(folder);
    }
    for (const int folder : needed) ++m_reserved[folder];
    return true;
}

void AddressBookSync::Runner::PlanLocal(const QString& uid, const VCardRawCard& card)
{
    QStringList lists;
    DirEntry entry = VCardEntryCard::entryOf(card, m_folders.ListNames(), &lists);
    entry.m_strUid = uid.toStdString();
    m_localChanges.push_back({uid.toStdString(), entry, m_folders.FoldersFor(lists)});
}

bool AddressBookSync::Runner::SyncContact(const QString& uid)
{
    const auto synced = m_state.Cards().find(uid);
    std::optional<VCardRawCard> base;
    if (synced != m_state.Cards().end()) base = VCardRawCard::parse(synced->second.card);
    const std::optional<VCardRawCard> local = LocalCard(uid, base ? &*base : nullptr);
    const auto changed = m_serverChanges.find(uid);
    ServerSide server;
    if (changed != m_serverChanges.end()) server = changed->second;
    else if (synced != m_state.Cards().end()) server = {synced->second.href, synced->second.etag, base};
    // Unchanged on both sides: nothing to do.
    if (changed == m_serverChanges.end() && local && base && local->sameContent(*base)) return true;
    if (changed == m_serverChanges.end() && !local && !base) return true;
    return SyncContactWith(uid, std::move(server), base, local);
}

bool AddressBookSync::Runner::SyncContactWith(const QString& uid, ServerSide server, const std::optional<VCardRawCard>& base,
                                              const std::optional<VCardRawCard>& local)
{
    using Server = VCardMergeResult::ServerAction;
    using Local = VCardMergeResult::LocalAction;
    for (int attempt = 0; attempt < kWriteAttempts; ++attempt) {
        if (Cancelled()) return false;
        VCardMergeResult merged = VCardMerge::merge(base ? &*base : nullptr, local ? &*local : nullptr,
                                                    server.card ? &*server.card : nullptr, m_date);
        if (merged.merged) {
            QStringList lists;
            VCardEntryCard::entryOf(*merged.merged, m_folders.ListNames(), &lists);
            if (!HasRoom(m_folders.FoldersFor(lists), uid)) {
                // Left as it is on both sides and not recorded: a later run takes it when there is room.
                ++m_result.notTaken;
                return true;
            }
        }
        const QString href = !server.href.isEmpty() ? server.href
                             : m_state.Cards().count(uid) ? m_state.Cards().at(uid).href : NewHref(uid);
        QString etag = server.etag;
        if (merged.server == Server::Put) {
            const DavResult<QString> put = m_client->Put(href, merged.merged->toBytes(), server.card ? server.etag : QString());
            if (put.error.kind == DavError::Kind::PreconditionFailed) {
                std::map<QString, ServerSide> again;
                if (!Fetch({href}, &again)) return false;
                server = again[href];
                continue; // changed on the server meanwhile: merged again with what it holds now
            }
            if (!put.ok()) return Fail(put.error);
            ++m_result.sent;
            etag = put.value;
            if (etag.isEmpty()) { // the server gave no ETag: the card's own tells the next run it is ours
                std::map<QString, ServerSide> written;
                if (!Fetch({href}, &written)) return false;
                etag = written[href].etag;
            }
        } else if (merged.server == Server::Delete) {
            const DavResult<bool> gone = m_client->Delete(href, server.etag);
            if (gone.error.kind == DavError::Kind::PreconditionFailed) {
                std::map<QString, ServerSide> again;
                if (!Fetch({href}, &again)) return false;
                server = again[href];
                continue;
            }
            if (!gone.ok() && gone.error.kind != DavError::Kind::NotFound) return Fail(gone.error);
            ++m_result.deleted;
        }
        if (merged.conflictCopy && !PutConflictCopy(uid, *local, *merged.conflictCopy)) return false;
        if (merged.local == Local::Delete) {
            ++m_result.deleted;
            m_localChanges.push_back({uid.toStdString(), std::nullopt, {}});
        } else if (merged.merged && (merged.local != Local::Nothing || local)) {
            if (merged.local != Local::Nothing) ++m_result.received;
            PlanLocal(uid, *merged.merged);
        }
        if (merged.merged) m_stateChanges[uid] = SyncedCard{href, etag, merged.merged->toBytes()};
        else m_stateChanges[uid] = std::nullopt;
        return true;
    }
    m_result.notes << QStringLiteral("The card %1 changed on the server during the synchronization; it is left for the next one.").arg(uid);
    return true;
}

// The local version of a contact both sides changed goes to both sides under a UID of its own. The UID follows
// from the contact and its local card: a run repeated after a cut finds the copy it put already.
bool AddressBookSync::Runner::PutConflictCopy(const QString& uid, const VCardRawCard& local, VCardRawCard copy)
{
    const QString copyUid = QUuid::createUuidV5(kConflictNamespace, uid.toUtf8() + '\n' + local.toBytes()).toString(QUuid::WithoutBraces);
    SetUid(copy, copyUid);
    QStringList lists;
    VCardEntryCard::entryOf(copy, m_folders.ListNames(), &lists);
    if (!HasRoom(m_folders.FoldersFor(lists), copyUid)) {
        ++m_result.notTaken;
        return true;
    }
    const QString href = NewHref(copyUid);
    const DavResult<QString> put = m_client->Put(href, copy.toBytes(), QString());
    QString etag = put.value;
    if (put.error.kind == DavError::Kind::PreconditionFailed || (put.ok() && etag.isEmpty())) {
        // Put by a run that was cut off, or written without an ETag: the server's copy is the one.
        std::map<QString, ServerSide> held;
        if (!Fetch({href}, &held)) return false;
        if (!held[href].card) return Fail(AddressBookSyncResult::Failure::Refused, QStringLiteral("The server refused the conflict copy %1.").arg(href));
        if (!put.ok()) copy = *held[href].card;
        etag = held[href].etag;
    } else if (!put.ok()) {
        return Fail(put.error);
    } else {
        ++m_result.sent;
    }
    ++m_result.conflicts;
    ++m_result.received;
    PlanLocal(copyUid, copy);
    m_stateChanges[copyUid] = SyncedCard{href, etag, copy.toBytes()};
    return true;
}

// The book first, then the state: a cut between them leaves an older base, which the next run merges again
// without a conflict.
bool AddressBookSync::Runner::Commit(bool withToken)
{
    QString error;
    if (!m_folders.Apply(m_localChanges, error)) return Fail(AddressBookSyncResult::Failure::Book, error);
    for (auto& [uid, card] : m_stateChanges) {
        if (card) m_state.Put(uid, *card);
        else m_state.Remove(uid);
    }
    if (withToken) m_state.SetToken(m_newToken);
    if (!m_state.Save(m_sync.m_stateFile, error)) return Fail(AddressBookSyncResult::Failure::State, error);
    return true;
}

AddressBookSyncResult AddressBookSync::Runner::Run()
{
    QString error;
    if (!m_state.Load(m_sync.m_stateFile, error)) {
        Fail(AddressBookSyncResult::Failure::State, error);
    } else if (Connect() && !Cancelled()) {
        m_state.BindTo(m_result.collection);
        if (!m_folders.ReadAll(error)) Fail(AddressBookSyncResult::Failure::Book, error);
        else if (AskChanges()) {
            std::set<QString> uids;
            for (const auto& [uid, entries] : m_folders.ByUid()) uids.insert(QString::fromStdString(uid));
            for (const auto& [uid, card] : m_state.Cards()) uids.insert(uid);
            for (const auto& [uid, side] : m_serverChanges) uids.insert(uid);
            int done = 0;
            bool going = true;
            for (const QString& uid : uids) {
                going = going && SyncContact(uid);
                if (!going) break;
                if (m_sync.m_progress) m_sync.m_progress(++done, int(uids.size()));
            }
            // What was done on the server is written down even when the run stopped half way; the token only when
            // every change it stands for was taken.
            const bool complete = going && m_result.ok();
            Commit(complete);
        }
    }
    if (m_result.notTaken > 0)
        m_result.notes << QStringLiteral("%1 cards could not be taken: the address book is full.").arg(m_result.notTaken);
    if (m_client) m_result.requests += m_client->RequestsSent();
    {
        const std::lock_guard lock(m_sync.m_clientMutex);
        m_sync.m_client = nullptr;
    }
    return m_result;
}

AddressBookSync::AddressBookSync(AddressBook& book, EntryStore& store, IQuestions& questions, IAddressBookHost& host,
                                 SyncAccount account, QString password, QString stateFile)
    : m_book(book), m_store(store), m_questions(questions), m_host(host), m_account(std::move(account)),
      m_password(std::move(password)), m_stateFile(std::move(stateFile))
{
}

AddressBookSync::~AddressBookSync() = default;

AddressBookSyncResult AddressBookSync::Run()
{
    // A cancel that came before the run began ends it at once: the window may cancel while the worker starts.
    return Runner(*this).Run();
}

void AddressBookSync::Cancel()
{
    m_cancelled = true;
    const std::lock_guard lock(m_clientMutex);
    if (m_client) m_client->Cancel();
}
