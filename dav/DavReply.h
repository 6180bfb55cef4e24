#pragma once
// What one HTTP exchange brought back: the status, the few headers the client reads, the body - or the error
// that kept an answer from coming (then status may still be set when the headers came before a cut).
#include "dav/DavError.h"

#include <QByteArray>
#include <QUrl>

struct DavReply {
    int status = 0;
    QByteArray body;
    QByteArray etag;     // the ETag header, as sent (quotes and all)
    QUrl url;            // where the request went last (after redirects): the base of the answer's hrefs
    DavError error;      // set when no complete answer came; HTTP statuses are the caller's to judge

    bool ok() const { return error.ok(); }
};
