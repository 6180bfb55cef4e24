#include "dav/DavRequestBodies.h"

#include "dav/DavHref.h"

#include <QXmlStreamWriter>

#include <functional>

namespace {
const QString kDav = QStringLiteral("DAV:");
const QString kCardDav = QStringLiteral("urn:ietf:params:xml:ns:carddav");
const QString kCalendarServer = QStringLiteral("http://calendarserver.org/ns/");

QByteArray Document(const QString& ns, const QString& root, const std::function<void(QXmlStreamWriter&)>& content)
{
    QByteArray text;
    QXmlStreamWriter xml(&text);
    xml.writeStartDocument();
    xml.writeNamespace(kDav, QStringLiteral("d"));
    xml.writeNamespace(kCardDav, QStringLiteral("card"));
    xml.writeNamespace(kCalendarServer, QStringLiteral("cs"));
    xml.writeStartElement(ns, root);
    content(xml);
    xml.writeEndElement();
    xml.writeEndDocument();
    return text;
}

void Prop(QXmlStreamWriter& xml, const QList<QPair<QString, QString>>& names)
{
    xml.writeStartElement(kDav, QStringLiteral("prop"));
    for (const auto& [ns, name] : names) xml.writeEmptyElement(ns, name);
    xml.writeEndElement();
}

QByteArray Propfind(const QList<QPair<QString, QString>>& names)
{
    return Document(kDav, QStringLiteral("propfind"), [&](QXmlStreamWriter& xml) { Prop(xml, names); });
}
}

QByteArray DavRequestBodies::DiscoveryProps()
{
    return Propfind({{kDav, QStringLiteral("resourcetype")},
                     {kDav, QStringLiteral("displayname")},
                     {kDav, QStringLiteral("current-user-principal")},
                     {kCardDav, QStringLiteral("addressbook-home-set")}});
}

QByteArray DavRequestBodies::HomeSetProps()
{
    return Propfind({{kCardDav, QStringLiteral("addressbook-home-set")}});
}

QByteArray DavRequestBodies::AddressBookProps()
{
    return Propfind({{kDav, QStringLiteral("resourcetype")}, {kDav, QStringLiteral("displayname")}});
}

QByteArray DavRequestBodies::CollectionStateProps()
{
    return Propfind({{kDav, QStringLiteral("sync-token")},
                     {kCalendarServer, QStringLiteral("getctag")},
                     {kDav, QStringLiteral("supported-report-set")}});
}

QByteArray DavRequestBodies::EtagProps()
{
    return Propfind({{kDav, QStringLiteral("resourcetype")}, {kDav, QStringLiteral("getetag")}});
}

QByteArray DavRequestBodies::SyncCollection(const QString& token, int limit)
{
    return Document(kDav, QStringLiteral("sync-collection"), [&](QXmlStreamWriter& xml) {
        xml.writeTextElement(kDav, QStringLiteral("sync-token"), token);
        xml.writeTextElement(kDav, QStringLiteral("sync-level"), QStringLiteral("1"));
        if (limit > 0) {
            xml.writeStartElement(kDav, QStringLiteral("limit"));
            xml.writeTextElement(kDav, QStringLiteral("nresults"), QString::number(limit));
            xml.writeEndElement();
        }
        Prop(xml, {{kDav, QStringLiteral("getetag")}});
    });
}

QByteArray DavRequestBodies::Multiget(const QStringList& paths)
{
    return Document(kCardDav, QStringLiteral("addressbook-multiget"), [&](QXmlStreamWriter& xml) {
        Prop(xml, {{kDav, QStringLiteral("getetag")}, {kCardDav, QStringLiteral("address-data")}});
        for (const QString& path : paths) xml.writeTextElement(kDav, QStringLiteral("href"), DavHref::Encoded(path));
    });
}
