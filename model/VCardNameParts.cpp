#include "model/VCardNameParts.h"

#include "model/VCardCard.h"

QStringList VCardNameParts::fromName(const QString& name)
{
    const qsizetype comma = name.indexOf(QLatin1Char(','));
    QString family;
    QString given;
    if (comma > 0) {
        family = name.left(comma).trimmed();
        given = name.mid(comma + 1).trimmed();
    } else {
        const qsizetype blank = name.lastIndexOf(QLatin1Char(' '));
        family = blank < 0 ? name : name.mid(blank + 1);
        given = blank < 0 ? QString() : name.left(blank);
    }
    return {family, given, QString(), QString(), QString()};
}

QString VCardNameParts::shownName(const VCardCard& card)
{
    QString name = card.displayName();
    name.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(u'\n', u' ').replace(u'\r', u' ');
    qsizetype begin = 0;
    qsizetype end = name.size();
    auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    while (begin < end && blank(name[begin]))
        ++begin;
    while (end > begin && blank(name[end - 1]))
        --end;
    return name.mid(begin, end - begin);
}
