#pragma once
// Why a CardDAV call failed, for the caller to decide (retry, ask the user, start a full sync) and for the window
// to say. The message names the cause in words; it never holds the password.
#include <QString>

struct DavError {
    enum class Kind {
        None,
        Network,             // no answer, a cut connection, a timeout
        Authentication,      // 401: wrong user or password
        Certificate,         // the server's certificate is not trusted and was not accepted by the user
        NotFound,            // 404
        PreconditionFailed,  // 412: the card changed (If-Match) or already exists (If-None-Match)
        InsufficientStorage, // 507
        InvalidSyncToken,    // the server no longer knows the sync token: start over without one
        Refused,             // any other 4xx or 5xx, or a request this client will not send
        Protocol,            // an answer that cannot be read
        Cancelled,
    };

    Kind kind = Kind::None;
    int httpStatus = 0; // 0 when no HTTP answer came
    QString message;
    QString certificateFingerprint; // Certificate: SHA-256 of the offending leaf certificate, lower-case hex

    bool ok() const { return kind == Kind::None; }
    static DavError Make(Kind kind, const QString& message, int httpStatus = 0);
    static QString KindName(Kind kind);
};
