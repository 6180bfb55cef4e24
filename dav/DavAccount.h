#pragma once
// Where one CardDAV address book lives and how to reach it. The URL is either the address book's own collection
// or a server address that discovery starts from. Certificates the user accepted (self-signed servers) are
// remembered as the SHA-256 fingerprints of their leaf certificates, lower-case hex without separators.
#include <QStringList>
#include <QUrl>

struct DavAccount {
    QUrl url;
    QString user;
    QString password;
    QStringList acceptedCertificates;
    // Plain http:// to a host other than loopback sends the password and the cards readable on the wire; only
    // when the user asked for it.
    bool allowPlainHttp = false;
};
