#include "pab/SyncAccount.h"

#include <QSettings>

namespace {
void WriteOrRemove(QSettings& settings, const QString& key, const QVariant& value, bool empty)
{
    if (empty) settings.remove(key);
    else settings.setValue(key, value);
}
}

QString SyncAccount::KeyringKey() const
{
    return m_strUser + u'@' + m_strServer;
}

SyncAccount SyncAccount::Read(QSettings& settings)
{
    SyncAccount account;
    settings.beginGroup(QStringLiteral("Sync"));
    account.m_strServer = settings.value(QStringLiteral("Server")).toString().trimmed();
    account.m_strUser = settings.value(QStringLiteral("User")).toString();
    account.m_strAddressBook = settings.value(QStringLiteral("AddressBook")).toString().trimmed();
    account.m_bAllowPlainHttp = settings.value(QStringLiteral("AllowPlainHttp"), false).toBool();
    for (const QString& fingerprint : settings.value(QStringLiteral("AcceptedCertificates")).toStringList())
        if (!fingerprint.trimmed().isEmpty()) account.m_acceptedCertificates << fingerprint.trimmed().toLower();
    settings.endGroup();
    return account;
}

void SyncAccount::Write(QSettings& settings) const
{
    settings.beginGroup(QStringLiteral("Sync"));
    WriteOrRemove(settings, QStringLiteral("Server"), m_strServer, m_strServer.isEmpty());
    WriteOrRemove(settings, QStringLiteral("User"), m_strUser, m_strUser.isEmpty());
    WriteOrRemove(settings, QStringLiteral("AddressBook"), m_strAddressBook, m_strAddressBook.isEmpty());
    WriteOrRemove(settings, QStringLiteral("AllowPlainHttp"), true, !m_bAllowPlainHttp);
    WriteOrRemove(settings, QStringLiteral("AcceptedCertificates"), m_acceptedCertificates,
                  m_acceptedCertificates.isEmpty());
    settings.endGroup();
}
