#include "dav/DavError.h"

DavError DavError::Make(Kind kind, const QString& message, int httpStatus)
{
    DavError error;
    error.kind = kind;
    error.message = message;
    error.httpStatus = httpStatus;
    return error;
}

QString DavError::KindName(Kind kind)
{
    switch (kind) {
    case Kind::None: return QStringLiteral("none");
    case Kind::Network: return QStringLiteral("network");
    case Kind::Authentication: return QStringLiteral("authentication");
    case Kind::Certificate: return QStringLiteral("certificate");
    case Kind::NotFound: return QStringLiteral("not found");
    case Kind::PreconditionFailed: return QStringLiteral("precondition failed");
    case Kind::InsufficientStorage: return QStringLiteral("insufficient storage");
    case Kind::InvalidSyncToken: return QStringLiteral("invalid sync token");
    case Kind::Refused: return QStringLiteral("refused");
    case Kind::Protocol: return QStringLiteral("protocol");
    case Kind::Cancelled: return QStringLiteral("cancelled");
    }
    return QString();
}
