#include "pab/KeyringPassword.h"

#include <qt6keychain/keychain.h>

#include <QEventLoop>
#include <QTimer>

#include <memory>

namespace {
const QString kService = QStringLiteral("Telvora PRO");

// What a finished job left, read before the job deletes itself.
struct Outcome {
    bool finished = false;
    QKeychain::Error error = QKeychain::NoError;
    QString errorText;
    QString text;
};

// Starts the job and waits for it; the job deletes itself when it ends, also after the wait gave up.
Outcome Wait(QKeychain::Job* job, int timeoutMs)
{
    auto outcome = std::make_shared<Outcome>();
    QEventLoop loop;
    job->setAutoDelete(true);
    job->setInsecureFallback(false); // never a file in the clear instead of the keyring
    QObject::connect(job, &QKeychain::Job::finished, &loop, [outcome, &loop](QKeychain::Job* done) {
        outcome->finished = true;
        outcome->error = done->error();
        outcome->errorText = done->errorString();
        if (auto* read = qobject_cast<QKeychain::ReadPasswordJob*>(done)) outcome->text = read->textData();
        loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    job->start();
    if (!outcome->finished) loop.exec();
    return *outcome;
}

KeyringPassword::Result ResultOf(const Outcome& outcome)
{
    KeyringPassword::Result result;
    if (!outcome.finished) {
        result.error = QStringLiteral("The desktop keyring did not answer.");
    } else if (outcome.error == QKeychain::NoError) {
        result.ok = true;
        result.password = outcome.text;
    } else if (outcome.error == QKeychain::EntryNotFound) {
        result.notFound = true;
        result.error = QStringLiteral("The desktop keyring holds no password for this account.");
    } else if (outcome.error == QKeychain::NoBackendAvailable) {
        result.error = QStringLiteral("No desktop keyring is available to keep the password: %1").arg(outcome.errorText);
    } else {
        result.error = QStringLiteral("The desktop keyring refused: %1").arg(outcome.errorText);
    }
    return result;
}
}

KeyringPassword::Result KeyringPassword::Read() const
{
    auto* job = new QKeychain::ReadPasswordJob(kService);
    job->setKey(m_key);
    return ResultOf(Wait(job, m_timeoutMs));
}

KeyringPassword::Result KeyringPassword::Write(const QString& password) const
{
    auto* job = new QKeychain::WritePasswordJob(kService);
    job->setKey(m_key);
    job->setTextData(password);
    return ResultOf(Wait(job, m_timeoutMs));
}

KeyringPassword::Result KeyringPassword::Remove() const
{
    auto* job = new QKeychain::DeletePasswordJob(kService);
    job->setKey(m_key);
    return ResultOf(Wait(job, m_timeoutMs));
}
