#include "ui/CSyncAccountBox.h"

#include "pab/KeyringPassword.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QUrl>

namespace {
QString KeepInKeyring(const SyncAccount& account, const QString& password)
{
    const KeyringPassword::Result result = KeyringPassword(account.KeyringKey()).Write(password);
    return result.ok ? QString() : result.error;
}

QLineEdit* MakeField(QWidget* parent, const char* name, const QString& accessibleName)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setAccessibleName(accessibleName);
    return edit;
}
}

CSyncAccountBox::CSyncAccountBox(QWidget* parent, const SyncAccount& account, PasswordKeeper keepPassword)
    : QGroupBox(QStringLiteral("Address book synchronization (CardDAV)"), parent), m_account(account),
      m_keepPassword(keepPassword ? std::move(keepPassword) : PasswordKeeper(KeepInKeyring))
{
    setObjectName(QStringLiteral("syncAccount"));
    auto* form = new QFormLayout(this);
    m_edServer = MakeField(this, "syncServer", QStringLiteral("Synchronization server"));
    m_edServer->setPlaceholderText(QStringLiteral("https://cloud.example.org/ or an address book's address"));
    m_edServer->setText(account.m_strServer);
    form->addRow(QStringLiteral("Se&rver:"), m_edServer);
    m_edUser = MakeField(this, "syncUser", QStringLiteral("Synchronization user"));
    m_edUser->setText(account.m_strUser);
    form->addRow(QStringLiteral("&User:"), m_edUser);
    m_edPassword = MakeField(this, "syncPassword", QStringLiteral("Synchronization password"));
    m_edPassword->setEchoMode(QLineEdit::Password);
    m_edPassword->setPlaceholderText(QStringLiteral("kept in the desktop keyring; empty keeps the one kept"));
    form->addRow(QStringLiteral("Pass&word:"), m_edPassword);
    m_chkPlainHttp = new QCheckBox(QStringLiteral("Allow unencrypted &HTTP to other machines"), this);
    m_chkPlainHttp->setObjectName(QStringLiteral("syncPlainHttp"));
    m_chkPlainHttp->setChecked(account.m_bAllowPlainHttp);
    form->addRow(m_chkPlainHttp);
    // Why OK did not close the dialog, in the dialog itself: a message box would hide the field to correct.
    m_stProblem = new QLabel(this);
    m_stProblem->setObjectName(QStringLiteral("syncProblem"));
    m_stProblem->setWordWrap(true);
    m_stProblem->setAccessibleName(QStringLiteral("Synchronization problem"));
    m_stProblem->hide();
    form->addRow(m_stProblem);
}

SyncAccount CSyncAccountBox::Account() const
{
    SyncAccount account = m_account;
    account.m_strServer = m_edServer->text().trimmed();
    account.m_strUser = m_edUser->text().trimmed();
    account.m_bAllowPlainHttp = m_chkPlainHttp->isChecked();
    // Another server or user: the address book is found anew at the next synchronization.
    if (account.m_strServer != m_account.m_strServer || account.m_strUser != m_account.m_strUser)
        account.m_strAddressBook.clear();
    return account;
}

QString CSyncAccountBox::Problem() const
{
    const SyncAccount account = Account();
    if (account.m_strServer.isEmpty()) return {};
    const QUrl url(account.m_strServer, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || (url.scheme() != u"https" && url.scheme() != u"http"))
        return QStringLiteral("The server's address must be an http:// or https:// address, such as "
                              "https://cloud.example.org/.");
    if (account.m_strUser.isEmpty()) return QStringLiteral("The synchronization needs a user name.");
    return {};
}

bool CSyncAccountBox::Store(QSettings& settings)
{
    const QString problem = Problem();
    const SyncAccount account = Account();
    const QString password = m_edPassword->text();
    const QString refused = problem.isEmpty() && !password.isEmpty() ? m_keepPassword(account, password) : QString();
    if (!problem.isEmpty() || !refused.isEmpty()) {
        m_stProblem->setText(problem.isEmpty() ? QStringLiteral("The password could not be kept: %1").arg(refused)
                                               : problem);
        m_stProblem->show();
        (problem.isEmpty() ? m_edPassword : m_edServer)->setFocus();
        return false;
    }
    account.Write(settings);
    m_account = account;
    m_edPassword->clear();
    m_stProblem->hide();
    return true;
}
