#pragma once
// The synchronization's password in the desktop keyring (Secret Service, KWallet), under the program's name
// and the account's key. Nothing is ever written in the clear: without a keyring the password cannot be kept,
// and the caller says so (the password can still come from a command). Each call waits for the keyring's
// answer, at most timeoutMs, so that a keyring that never answers cannot hang the program.
#include <QString>

class KeyringPassword {
public:
    struct Result {
        bool ok = false;
        bool notFound = false; // the keyring answered: it holds no password for the key
        QString password;
        QString error;
    };

    explicit KeyringPassword(QString key, int timeoutMs = 10000) : m_key(std::move(key)), m_timeoutMs(timeoutMs) {}

    Result Read() const;
    Result Write(const QString& password) const;
    Result Remove() const;

private:
    QString m_key;
    int m_timeoutMs;
};
