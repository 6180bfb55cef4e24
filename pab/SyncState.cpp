#include "pab/SyncState.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace {
constexpr int kFormat = 1;
}

QString SyncState::PathFor(const QString& bookPath)
{
    return bookPath + QStringLiteral(".sync");
}

bool SyncState::Load(const QString& path, QString& error)
{
    *this = SyncState();
    QFile file(path);
    if (!file.exists()) return true;
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("The synchronization state %1 cannot be read: %2").arg(path, file.errorString());
        return false;
    }
    QJsonParseError parse{};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parse);
    const QJsonObject root = document.object();
    if (parse.error != QJsonParseError::NoError || root.value(QStringLiteral("format")).toInt() != kFormat) {
        error = QStringLiteral("The synchronization state %1 is damaged or of another version; remove it to "
                               "compare every card afresh.").arg(path);
        return false;
    }
    m_strCollection = root.value(QStringLiteral("collection")).toString();
    m_strToken = root.value(QStringLiteral("token")).toString();
    for (const QJsonValue& value : root.value(QStringLiteral("cards")).toArray()) {
        const QJsonObject card = value.toObject();
        const QString uid = card.value(QStringLiteral("uid")).toString();
        if (uid.isEmpty()) continue;
        m_cards[uid] = {card.value(QStringLiteral("href")).toString(), card.value(QStringLiteral("etag")).toString(),
                        QByteArray::fromBase64(card.value(QStringLiteral("card")).toString().toLatin1())};
    }
    return true;
}

bool SyncState::Save(const QString& path, QString& error) const
{
    QJsonArray cards;
    for (const auto& [uid, card] : m_cards)
        cards.append(QJsonObject{{QStringLiteral("uid"), uid}, {QStringLiteral("href"), card.href},
                                 {QStringLiteral("etag"), card.etag},
                                 // in Base64: the card's bytes exactly as the server sent them
                                 {QStringLiteral("card"), QString::fromLatin1(card.card.toBase64())}});
    const QJsonObject root{{QStringLiteral("format"), kFormat}, {QStringLiteral("collection"), m_strCollection},
                           {QStringLiteral("token"), m_strToken}, {QStringLiteral("cards"), cards}};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(root).toJson(QJsonDocument::Compact)) < 0 ||
        !file.commit()) {
        error = QStringLiteral("The synchronization state %1 cannot be written: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

void SyncState::BindTo(const QString& collection)
{
    if (collection == m_strCollection) return;
    *this = SyncState();
    m_strCollection = collection;
}
