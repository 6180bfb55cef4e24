#pragma once
// The records a phone emulator's command log shows written, in order: what follows "AT+CPBW=" on each line.
#include <QRegularExpression>
#include <QString>
#include <QStringList>

inline QStringList WritesIn(const QString& log)
{
    QStringList writes;
    const QRegularExpression write(QStringLiteral("AT\\+CPBW=([^\\r\\n]*)"));
    for (auto it = write.globalMatch(log); it.hasNext();) writes << it.next().captured(1);
    return writes;
}
