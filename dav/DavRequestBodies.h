#pragma once
// The XML bodies of the requests the CardDAV client sends.
#include <QByteArray>
#include <QString>
#include <QStringList>

class DavRequestBodies {
public:
    static QByteArray DiscoveryProps();      // resourcetype, displayname, current-user-principal, addressbook-home-set
    static QByteArray HomeSetProps();        // addressbook-home-set
    static QByteArray AddressBookProps();    // resourcetype, displayname
    static QByteArray CollectionStateProps(); // sync-token, getctag, supported-report-set
    static QByteArray EtagProps();           // resourcetype, getetag
    static QByteArray SyncCollection(const QString& token, int limit);
    static QByteArray Multiget(const QStringList& paths);
};
