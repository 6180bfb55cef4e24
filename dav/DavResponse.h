#pragma once
// One <response> of a WebDAV multistatus answer, with the properties this client asks for. Only properties that
// came in a 2xx propstat are filled in; a property the server reports as 404 stays empty.
#include <QByteArray>
#include <QString>

struct DavResponse {
    QString path;   // the href, normalised (DavHref::ToPath)
    int status = 0; // the response's own <status> (a removed member: 404; truncation: 507); 0 when it has none
    bool hasProperties = false; // at least one property came in a 2xx propstat

    QString etag;
    QString displayName;
    QString syncToken;
    QString ctag;
    QString principalPath;    // current-user-principal
    QString addressbookHome;  // the first href of addressbook-home-set
    QByteArray addressData;   // the card, UTF-8 as the server sent it
    bool hasAddressData = false;
    bool isCollection = false;
    bool isAddressBook = false;
    bool supportsSyncCollection = false;
};
