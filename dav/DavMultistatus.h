#pragma once
// A WebDAV multistatus answer (PROPFIND, REPORT) read into DavResponse records, and the body of an error answer
// read for its precondition. Pure functions over the bytes: what the servers send is tested without a server.
#include "dav/DavResponse.h"

#include <QList>
#include <QUrl>

struct DavMultistatus {
    QList<DavResponse> responses;
    QString syncToken;   // the multistatus' own sync-token (sync-collection answers)
    bool valid = false;  // false: not XML, or no DAV: multistatus root
    QString problem;     // why it is not valid

    // The response whose path is path (trailing slash aside), or nullptr.
    const DavResponse* Find(const QString& path) const;

    // base: the URL the request went to, against which relative hrefs are read.
    static DavMultistatus Parse(const QByteArray& body, const QUrl& base);
    // Whether an error body (<D:error>) names the DAV: precondition element, e.g. "valid-sync-token".
    static bool HasPrecondition(const QByteArray& body, const QString& name);
    // "HTTP/1.1 404 Not Found" -> 404; 0 when unreadable.
    static int StatusCode(const QString& statusLine);
};
