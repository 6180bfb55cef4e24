#include "dav/DavHref.h"

QString DavHref::ToPath(const QUrl& base, const QString& href)
{
    const QUrl resolved = base.resolved(QUrl(href.trimmed(), QUrl::TolerantMode));
    return resolved.path(QUrl::FullyDecoded);
}

QUrl DavHref::ToUrl(const QUrl& base, const QString& path)
{
    QUrl url = base;
    url.setPath(path, QUrl::DecodedMode);
    url.setQuery(QString());
    url.setFragment(QString());
    return url;
}

QString DavHref::Encoded(const QString& path)
{
    QUrl url;
    url.setPath(path, QUrl::DecodedMode);
    return url.path(QUrl::FullyEncoded);
}

QString DavHref::Trimmed(QString path)
{
    while (path.size() > 1 && path.endsWith(u'/')) path.chop(1);
    return path;
}

bool DavHref::SamePath(const QString& a, const QString& b)
{
    return Trimmed(a) == Trimmed(b);
}
