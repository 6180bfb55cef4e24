#pragma once

#include <QString>
#include <QStringList>

class VCardRawCard;
struct VCardOwnedFields;

// Changes the properties this program owns on a card and nothing else: a changed property keeps its group and
// parameters where they still fit the new value; lines of other properties are never touched.
class VCardOwnedFieldEditor {
public:
    // Writes each field of `to` that differs from `from` (what the card says now). The number's kind is never
    // written to an existing number: it is the other program's word for it.
    static void apply(VCardRawCard& card, const VCardOwnedFields& from, const VCardOwnedFields& to);

    // FN, and N derived from the name as an export writes it.
    static void setName(VCardRawCard& card, const QString& name);
    // The value of the TEL the entry shows; a card without one gets a new TEL (with its kind as an export
    // writes it); an empty number takes the line away.
    static void setNumber(VCardRawCard& card, const QString& number, const QString& kind);
    static void setComment(VCardRawCard& card, const QString& comment);
    static void setIndex(VCardRawCard& card, int index);
    static void setVip(VCardRawCard& card, bool vip);
    static void setUid(VCardRawCard& card, const QString& uid);
    // The card's categories become these: values kept stay where they are, new ones go after them.
    static void setCategories(VCardRawCard& card, const QStringList& categories);

private:
    static void setSingle(VCardRawCard& card, const QByteArray& upperName, const QString& escapedValue);
    static void addNumber(VCardRawCard& card, const QString& number, const QString& kind);
};
