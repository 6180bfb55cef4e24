#pragma once
// The CardDAV account the address book is synchronized with, as the settings keep it (group "Sync"). The
// password is never among the settings: it lives in the desktop keyring or comes from a command.
#include <QString>
#include <QStringList>

class QSettings;

struct SyncAccount {
    QString m_strServer;      // Sync/Server: the server's address, or an address book's collection given directly
    QString m_strUser;        // Sync/User
    QString m_strAddressBook; // Sync/AddressBook: the collection found or chosen; empty until the first sync
    bool m_bAllowPlainHttp = false; // Sync/AllowPlainHttp: plain http:// to another machine, chosen explicitly
    // Sync/AcceptedCertificates: SHA-256 fingerprints (hex) of certificates the user confirmed although no
    // trusted authority signed them.
    QStringList m_acceptedCertificates;

    bool IsSet() const { return !m_strServer.isEmpty() && !m_strUser.isEmpty(); }
    // The name the account's password has in the keyring: user and server, so that two accounts never share it.
    QString KeyringKey() const;

    static SyncAccount Read(QSettings& settings);
    // Writes every value; empty ones remove their key.
    void Write(QSettings& settings) const;
};
