#pragma once

#include "model/VCardCard.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Something in a vCard file that kept a card from being read.
struct VCardProblem {
    int line = 0;  // physical line (1-based)
    QString text;  // a sentence for the user, starting with "Line n: "
};

struct VCardReadResult {
    QList<VCardCard> cards;
    QList<VCardProblem> problems;  // cards that could not be read are left out and named here, in line order
    bool isVCard = true;           // false when the file holds no BEGIN:VCARD at all (binary, empty, other text)
    QString versionSeen;           // VERSION of the last card read, for information
};

// Reads the cards of a vCard file (2.1, 3.0 or 4.0; UTF-8, UTF-16 or an 8-bit character set). A broken card is
// reported and skipped; the cards around it are still read.
class VCardReader {
public:
    static VCardReadResult read(const QByteArray& bytes);
};
