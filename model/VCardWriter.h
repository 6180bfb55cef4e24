#pragma once

#include "model/VCardCard.h"

#include <QByteArray>
#include <QList>

enum class VCardVersion { V3_0, V4_0 };

// Writes cards as a vCard file in UTF-8 with CRLF line ends: FN, N, the numbers with their labels, the note, the
// UID, and the entry's index and VIP mark in properties of this program's own (X-KORVANE-INDEX, X-KORVANE-VIP).
class VCardWriter {
public:
    static QByteArray write(const QList<VCardCard>& cards, VCardVersion version = VCardVersion::V3_0);

private:
    static void writeCard(QByteArray& out, const VCardCard& card, VCardVersion version);
    static QString phoneLine(const VCardPhone& phone, VCardVersion version);
    static QString phoneLine30(const VCardPhone& phone, bool preferred);
    static QString phoneLine40(const VCardPhone& phone, bool preferred);
};
