#include "pab/PasswordCommand.h"

#include <QProcess>

PasswordCommand::Result PasswordCommand::Run(const QString& command, int timeoutMs)
{
    Result result;
    if (command.trimmed().isEmpty()) {
        result.error = QStringLiteral("The password command is empty.");
        return result;
    }
    QProcess process;
    // Nothing to read from: a command that asks for input gets end of file at once instead of waiting.
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command});
    if (!process.waitForStarted(timeoutMs)) {
        result.error = QStringLiteral("The password command could not be started: %1").arg(process.errorString());
        return result;
    }
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        result.error = QStringLiteral("The password command did not end within %1 seconds.").arg(timeoutMs / 1000.0);
        return result;
    }
    const QString standardError = QString::fromUtf8(process.readAllStandardError()).section(u'\n', 0, 0).trimmed();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        result.error = QStringLiteral("The password command failed (exit status %1)%2")
                           .arg(process.exitCode())
                           .arg(standardError.isEmpty() ? QStringLiteral(".") : QStringLiteral(": ") + standardError);
        return result;
    }
    QString firstLine = QString::fromUtf8(process.readAllStandardOutput()).section(u'\n', 0, 0);
    if (firstLine.endsWith(u'\r')) firstLine.chop(1);
    if (firstLine.isEmpty()) {
        result.error = QStringLiteral("The password command printed no password.");
        return result;
    }
    result.ok = true;
    result.password = firstLine;
    return result;
}
