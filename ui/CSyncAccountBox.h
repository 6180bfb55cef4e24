#pragma once
// The synchronization account in the preferences: the server's address, the user and the password. The account
// goes to settings group "Sync"; the password only to the desktop keyring, never to the settings. A password
// field left empty keeps the one the keyring holds.
#include "pab/SyncAccount.h"

#include <QGroupBox>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;

class CSyncAccountBox : public QGroupBox {
    Q_OBJECT
public:
    // Keeps the password for the account; returns the reason when it could not. Tests give one of their own.
    using PasswordKeeper = std::function<QString(const SyncAccount& account, const QString& password)>;

    CSyncAccountBox(QWidget* parent, const SyncAccount& account, PasswordKeeper keepPassword = {});

    SyncAccount Account() const;
    // Writes the account and keeps a typed password; false when the password could not be kept or the address
    // cannot be used: the box then says why, and the dialog stays open.
    bool Store(QSettings& settings);

private:
    QString Problem() const;

    SyncAccount m_account;
    PasswordKeeper m_keepPassword;
    QLineEdit* m_edServer = nullptr;
    QLineEdit* m_edUser = nullptr;
    QLineEdit* m_edPassword = nullptr;
    QCheckBox* m_chkPlainHttp = nullptr;
    QLabel* m_stProblem = nullptr;
};
