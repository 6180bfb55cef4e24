#pragma once
// Hrefs as servers write them - absolute ("https://host/a/b.vcf") or relative, percent-encoded or not - made into
// one form: the decoded path on the server. Two hrefs name the same resource exactly when their paths are equal
// (a collection's trailing slash aside, see SamePath).
#include <QString>
#include <QUrl>

class DavHref {
public:
    // The decoded path of href read against base (the URL the request went to).
    static QString ToPath(const QUrl& base, const QString& href);
    // The URL of a path on base's server, encoded for the wire.
    static QUrl ToUrl(const QUrl& base, const QString& path);
    // The path as it goes into a request body: percent-encoded where the URL syntax needs it.
    static QString Encoded(const QString& path);
    static bool SamePath(const QString& a, const QString& b);
    // The path without a collection's trailing slash, the form SamePath compares.
    static QString Trimmed(QString path);
};
