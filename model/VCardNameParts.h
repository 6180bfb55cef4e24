#pragma once

#include <QString>
#include <QStringList>

struct VCardCard;

// The components of N for a name the program shows as one text.
class VCardNameParts {
public:
    // N wants family and given name apart. "Müller, Hans" is filed family first; otherwise the last word is
    // taken for the family name, and a single word is the family name. Five components, the last three empty.
    static QStringList fromName(const QString& name);
    // The name an entry takes from a card: the card's name for display on one line, without blanks or tabs
    // around it; any other character, a no-break space too, is the name's own.
    static QString shownName(const VCardCard& card);
};
