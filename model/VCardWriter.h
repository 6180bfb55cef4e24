#pragma once

#include "model/VCardCard.h"

#include <QByteArray>
#include <QList>

enum class VCardVersion { V3_0, V4_0 };

// Writes cards as a vCard file in UTF-8 with CRLF line ends: FN, N, the numbers and the note of each card.
class VCardWriter {
public:
    static QByteArray write(const QList<VCardCard>& cards, VCardVersion version = VCardVersion::V3_0);

private:
    static void writeCard(QByteArray& out, const VCardCard& card, VCardVersion version);
    static QString phoneLine(const VCardPhone& phone, VCardVersion version);
    static QString phoneLine30(const VCardPhone& phone, bool preferred);
    static QString phoneLine40(const VCardPhone& phone, bool preferred);
};
