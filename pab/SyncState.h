#pragma once
// What the last synchronization left: the address book (collection) it went to, the server's sync token, and
// for each card the server held then its address, its ETag and the card itself as both sides agreed on it (the
// base of the next three-way merge). It lives in a file beside the book, written whole and atomically, under the
// book's writer lock.
//
// The state is committed after the book: a synchronization cut off between the two leaves an older base, and the
// next one finds the same changes on both sides, which merge without a conflict; nothing is doubled or lost.
#include <QByteArray>
#include <QString>

#include <map>

struct SyncedCard {
    QString href;     // the card's path on the server
    QString etag;     // as the server gave it for `card`
    QByteArray card;  // the vCard text both sides agreed on

    bool operator==(const SyncedCard&) const = default;
};

class SyncState {
public:
    // The file beside the book: "<book>.sync".
    static QString PathFor(const QString& bookPath);

    // An absent file is an empty state (a first synchronization); an unreadable one is an error with its cause,
    // never taken for an empty state, which would make every card look new on both sides.
    bool Load(const QString& path, QString& error);
    bool Save(const QString& path, QString& error) const;

    // The state belongs to one collection: for another one (the account changed) it starts empty.
    void BindTo(const QString& collection);
    const QString& Collection() const { return m_strCollection; }
    const QString& Token() const { return m_strToken; }
    void SetToken(const QString& token) { m_strToken = token; }

    // Cards by UID.
    const std::map<QString, SyncedCard>& Cards() const { return m_cards; }
    void Put(const QString& uid, SyncedCard card) { m_cards[uid] = std::move(card); }
    void Remove(const QString& uid) { m_cards.erase(uid); }

    bool operator==(const SyncState&) const = default;

private:
    QString m_strCollection;
    QString m_strToken;
    std::map<QString, SyncedCard> m_cards;
};
