#pragma once

#include "model/VCardCard.h"

#include <QByteArray>
#include <QHash>
#include <QList>

class VCardLine;

// Collects the content lines of one card between BEGIN:VCARD and END:VCARD into a VCardCard.
class VCardCardBuilder {
public:
    explicit VCardCardBuilder(int beginLine);

    void add(const VCardLine& line);

    int beginLine() const { return m_card.line; }
    bool hasNameOrNumber() const;
    const QString& version() const { return m_version; }
    const VCardCard& card() const { return m_card; }

private:
    void addPhone(const VCardLine& line);
    void addLabel(const VCardLine& line);

    VCardCard m_card;
    QString m_version;
    bool m_hasFormattedName = false;
    bool m_hasName = false;
    QList<QByteArray> m_phoneGroups;         // the group of each number, upper case
    QHash<QByteArray, QString> m_labels;     // label lines by group, upper case
};
