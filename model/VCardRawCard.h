#pragma once

#include "model/VCardRawLine.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <optional>

// One vCard as the ordered content lines it was read with, so that the properties this program does not show
// go back to the server exactly as they came. A card written unchanged gives the bytes it was read from (line
// ends as CRLF); a changed card differs only in the lines changed.
class VCardRawCard {
public:
    // The first card of the text (BEGIN:VCARD to END:VCARD); nothing when there is none. Lines may end with
    // CRLF, LF or CR; a UTF-8 byte order mark is passed over.
    static std::optional<VCardRawCard> parse(const QByteArray& bytes);
    // BEGIN, VERSION:3.0 and END only.
    static VCardRawCard emptyCard();

    QByteArray toBytes() const;
    // The same content lines, however each is folded and whatever its line ends were.
    bool sameContent(const VCardRawCard& other) const;
    const QList<VCardRawLine>& lines() const { return m_lines; }
    QByteArray version() const;

    // Positions of the lines with this (upper case) property name, in order.
    QList<qsizetype> find(QByteArrayView upperName) const;
    qsizetype findFirst(QByteArrayView upperName) const;
    // A new text for a line; it is folded as written.
    void replace(qsizetype at, const QByteArray& logical);
    // A new line before END:VCARD.
    void append(const QByteArray& logical);
    void remove(qsizetype at);

    // The line that the text makes, folded with CRLF unless told otherwise.
    static VCardRawLine makeLine(const QByteArray& logical, bool folded = true);

private:
    // vCard 2.1 keeps the blank of a fold as part of the value; a line written anew in a card that says 2.1
    // anywhere stays whole.
    VCardRawLine lineFor(const QByteArray& logical) const;
    qsizetype endPosition() const;

    QList<VCardRawLine> m_lines;  // BEGIN:VCARD and END:VCARD included
};
