#pragma once

#include "model/VCardCard.h"

#include <QByteArray>

class VCardLine;

// Collects the content lines of one card between BEGIN:VCARD and END:VCARD into a VCardCard.
class VCardCardBuilder {
public:
    explicit VCardCardBuilder(int beginLine);

    void add(const VCardLine& line);
    // A line of the card could not be read; the first such line is remembered, and the card is not to be kept.
    void markUnreadable(int lineNumber);

    int beginLine() const { return m_card.line; }
    int firstUnreadableLine() const { return m_unreadableLine; }
    bool hasNameOrNumber() const;
    const QString& version() const { return m_version; }
    const VCardCard& card() const { return m_card; }

private:
    void addPhone(const VCardLine& line);

    VCardCard m_card;
    QString m_version;
    bool m_hasFormattedName = false;
    bool m_hasName = false;
    int m_unreadableLine = 0;
};
