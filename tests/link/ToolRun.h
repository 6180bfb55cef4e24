#pragma once
// Runs one of the programs beside the tests (or any other) as a user would, with its home, settings and data
// folders inside a folder of the test's, so that nothing of the user's is touched.
#include <QMap>
#include <QString>
#include <QStringList>

struct ToolRun {
    int exitCode = -1; // -1 when the program crashed or was killed for taking too long
    QString out;
    QString err;
};

// environment: variables set for the program beyond its folders (LC_ALL is C.UTF-8 unless given here).
ToolRun runTool(const QString& program, const QStringList& args, const QString& home, int timeoutMs,
                const QMap<QString, QString>& environment = {});
