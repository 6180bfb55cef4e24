#pragma once
// The seed of a randomized test. Without TD_SEED it is fixed, so that every CI run draws the same sequences and
// a failure there replays anywhere; TD_SEED=N replays seed N, and TD_SEED=time draws a new seed from the clock
// for runs that look for new failures.
#include <QByteArray>
#include <QDateTime>
#include <QtGlobal>

inline quint64 TestSeed()
{
    constexpr quint64 kFixedSeed = 20261209;
    const QByteArray asked = qgetenv("TD_SEED");
    if (asked.isEmpty()) return kFixedSeed;
    if (asked == "time") return quint64(QDateTime::currentMSecsSinceEpoch());
    return asked.toULongLong();
}
