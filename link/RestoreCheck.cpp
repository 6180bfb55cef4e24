#include "link/RestoreCheck.h"

#include "link/DialNumber.h"
#include "res/GsmAlphabet.h"

#include <algorithm>

QStringList RestoreCheck::problems(const DirectoryBackup& backup) const
{
    QStringList found;
    for (const PhoneRecord& record : backup.records) {
        if (record.nameUnreadable) continue;
        const QString why = problemOf(record);
        if (!why.isEmpty()) found.append(QStringLiteral("record %1 \"%2\": %3").arg(record.index).arg(record.name, why));
    }
    return found;
}

QString RestoreCheck::problemOf(const PhoneRecord& record) const
{
    QStringList why;
    if (record.index < 1 || record.index > m_limits.maxEntries)
        why.append(QStringLiteral("it lies beyond the directory's %1 places").arg(m_limits.maxEntries));
    const QString name = nameProblem(record.name);
    if (!name.isEmpty()) why.append(name);
    const QString number = numberProblem(record.number);
    if (!number.isEmpty()) why.append(number);
    return why.isEmpty() ? QString() : why.join(QStringLiteral("; ")) + QLatin1Char('.');
}

QString RestoreCheck::nameProblem(const QString& name) const
{
    // A VIP name's trailing "!" is part of the stored name and takes its position like any other character.
    if (GsmAlphabet::holdsAll(name)) {
        const int positions = GsmAlphabet::septetLength(name);
        if (positions <= m_limits.nameLength) return {};
        return QStringLiteral("its name is longer than %1 positions (it takes %2)").arg(m_limits.nameLength).arg(positions);
    }
    if (m_limits.ucs2NameLength <= 0)
        return QStringLiteral("its name holds characters outside the GSM alphabet, and the telephone keeps no others");
    // UCS2 carries one 16-bit unit per character: characters beyond it cannot travel at all.
    if (std::any_of(name.begin(), name.end(), [](QChar c) { return c.isSurrogate(); }))
        return QStringLiteral("its name holds characters that UCS2 cannot carry");
    if (name.size() <= m_limits.ucs2NameLength) return {};
    return QStringLiteral("its name is longer than the %1 characters the directory holds for a name outside the GSM "
                          "alphabet (it has %2)").arg(m_limits.ucs2NameLength).arg(name.size());
}

QString RestoreCheck::numberProblem(const QByteArray& number) const
{
    if (!std::all_of(number.begin(), number.end(), DialNumber::isDialCharacter))
        return QStringLiteral("its number holds characters that are not dial characters");
    const qsizetype digits = number.size() - (number.startsWith('+') ? 1 : 0);
    if (digits <= m_limits.numberLength) return {};
    return QStringLiteral("its number is longer than %1 digits (it has %2)").arg(m_limits.numberLength).arg(digits);
}
