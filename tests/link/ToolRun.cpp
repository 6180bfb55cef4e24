#include "ToolRun.h"
#include "Utf8Locale.h"

#include <QDir>
#include <QProcess>

ToolRun runTool(const QString& program, const QStringList& args, const QString& home, int timeoutMs,
                const QMap<QString, QString>& environment)
{
    QProcess process;
    QProcessEnvironment env = WithUtf8Locale();
    env.insert("HOME", home);
    env.insert("XDG_CONFIG_HOME", QDir(home).filePath("config"));
    env.insert("XDG_DATA_HOME", QDir(home).filePath("data"));
    for (auto it = environment.begin(); it != environment.end(); ++it) env.insert(it.key(), it.value());
    process.setProcessEnvironment(env);
    process.start(program, args);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}
