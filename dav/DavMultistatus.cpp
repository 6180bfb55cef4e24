#include "dav/DavMultistatus.h"

#include "dav/DavHref.h"

#include <QXmlStreamReader>

namespace {
const QString kDav = QStringLiteral("DAV:");
const QString kCardDav = QStringLiteral("urn:ietf:params:xml:ns:carddav");
const QString kCalendarServer = QStringLiteral("http://calendarserver.org/ns/");

bool Is(const QXmlStreamReader& xml, const QString& ns, const char* name)
{
    return xml.namespaceUri() == ns && xml.name() == QLatin1String(name);
}

// The first <href> inside the current element; leaves the reader at the element's end.
QString ReadFirstHref(QXmlStreamReader& xml)
{
    QString href;
    while (xml.readNextStartElement()) {
        if (Is(xml, kDav, "href") && href.isEmpty()) href = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        else xml.skipCurrentElement();
    }
    return href;
}

void ReadResourceType(QXmlStreamReader& xml, DavResponse& response)
{
    while (xml.readNextStartElement()) {
        if (Is(xml, kDav, "collection")) response.isCollection = true;
        else if (Is(xml, kCardDav, "addressbook")) response.isAddressBook = true;
        xml.skipCurrentElement();
    }
}

// supported-report-set/supported-report/report/<name>: only whether sync-collection is among them.
bool ReadSupportsSyncCollection(QXmlStreamReader& xml)
{
    bool found = false;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            ++depth;
            if (Is(xml, kDav, "sync-collection")) found = true;
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        }
    }
    return found;
}

// The properties of one <prop>, into a scratch record; the caller keeps them when the propstat's status is 2xx.
void ReadProp(QXmlStreamReader& xml, DavResponse& props, const QUrl& base)
{
    while (xml.readNextStartElement()) {
        if (Is(xml, kDav, "getetag")) props.etag = xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        else if (Is(xml, kDav, "displayname")) props.displayName = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        else if (Is(xml, kDav, "sync-token")) props.syncToken = xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        else if (Is(xml, kCalendarServer, "getctag")) props.ctag = xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        else if (Is(xml, kDav, "resourcetype")) ReadResourceType(xml, props);
        else if (Is(xml, kDav, "supported-report-set")) props.supportsSyncCollection = ReadSupportsSyncCollection(xml);
        else if (Is(xml, kDav, "current-user-principal")) {
            const QString href = ReadFirstHref(xml);
            if (!href.isEmpty()) props.principalPath = DavHref::ToPath(base, href);
        } else if (Is(xml, kCardDav, "addressbook-home-set")) {
            const QString href = ReadFirstHref(xml);
            if (!href.isEmpty()) props.addressbookHome = DavHref::ToPath(base, href);
        } else if (Is(xml, kCardDav, "address-data")) {
            props.addressData = xml.readElementText(QXmlStreamReader::IncludeChildElements).toUtf8();
            props.hasAddressData = true;
        } else {
            xml.skipCurrentElement();
        }
    }
}

void Keep(const DavResponse& props, DavResponse& response)
{
    auto take = [](QString& into, const QString& from) { if (!from.isEmpty()) into = from; };
    take(response.etag, props.etag);
    take(response.displayName, props.displayName);
    take(response.syncToken, props.syncToken);
    take(response.ctag, props.ctag);
    take(response.principalPath, props.principalPath);
    take(response.addressbookHome, props.addressbookHome);
    if (props.hasAddressData) {
        response.addressData = props.addressData;
        response.hasAddressData = true;
    }
    response.isCollection = response.isCollection || props.isCollection;
    response.isAddressBook = response.isAddressBook || props.isAddressBook;
    response.supportsSyncCollection = response.supportsSyncCollection || props.supportsSyncCollection;
    response.hasProperties = true;
}

void ReadPropstat(QXmlStreamReader& xml, DavResponse& response, const QUrl& base)
{
    DavResponse props;
    int status = 0;
    while (xml.readNextStartElement()) {
        if (Is(xml, kDav, "prop")) ReadProp(xml, props, base);
        else if (Is(xml, kDav, "status")) status = DavMultistatus::StatusCode(xml.readElementText());
        else xml.skipCurrentElement();
    }
    if (status >= 200 && status < 300) Keep(props, response);
}

DavResponse ReadResponse(QXmlStreamReader& xml, const QUrl& base)
{
    DavResponse response;
    bool hrefSeen = false;
    while (xml.readNextStartElement()) {
        if (Is(xml, kDav, "href") && !hrefSeen) {
            response.path = DavHref::ToPath(base, xml.readElementText(QXmlStreamReader::IncludeChildElements));
            hrefSeen = true;
        } else if (Is(xml, kDav, "status")) {
            response.status = DavMultistatus::StatusCode(xml.readElementText());
        } else if (Is(xml, kDav, "propstat")) {
            ReadPropstat(xml, response, base);
        } else {
            xml.skipCurrentElement();
        }
    }
    return response;
}
}

const DavResponse* DavMultistatus::Find(const QString& path) const
{
    for (const DavResponse& response : responses)
        if (DavHref::SamePath(response.path, path)) return &response;
    return nullptr;
}

DavMultistatus DavMultistatus::Parse(const QByteArray& body, const QUrl& base)
{
    DavMultistatus result;
    QXmlStreamReader xml(body);
    if (!xml.readNextStartElement() || !Is(xml, kDav, "multistatus")) {
        result.problem = xml.hasError() ? xml.errorString() : QStringLiteral("the answer is not a DAV: multistatus");
        return result;
    }
    while (xml.readNextStartElement()) {
        if (Is(xml, kDav, "response")) result.responses.append(ReadResponse(xml, base));
        else if (Is(xml, kDav, "sync-token")) result.syncToken = xml.readElementText().trimmed();
        else xml.skipCurrentElement();
    }
    // A cut answer ends the loop early with "premature end of document": it is no answer at all.
    if (xml.hasError()) {
        result.problem = xml.errorString();
        result.responses.clear();
        return result;
    }
    result.valid = true;
    return result;
}

bool DavMultistatus::HasPrecondition(const QByteArray& body, const QString& name)
{
    QXmlStreamReader xml(body);
    if (!xml.readNextStartElement() || !Is(xml, kDav, "error")) return false;
    while (xml.readNextStartElement()) {
        if (xml.namespaceUri() == kDav && xml.name() == name) return true;
        xml.skipCurrentElement();
    }
    return false;
}

int DavMultistatus::StatusCode(const QString& statusLine)
{
    const QStringList parts = statusLine.simplified().split(u' ');
    if (parts.size() < 2) return 0;
    bool ok = false;
    const int code = parts.at(1).toInt(&ok);
    return ok ? code : 0;
}
