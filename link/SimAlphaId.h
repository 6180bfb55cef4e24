#pragma once
// The three UCS2 codings a SIM uses for a name (the alpha identifier of 3GPP TS 102 221 annex A, formerly
// GSM 11.11 annex B). Phones that answer in HEX, and some in UCS2, hand them on unchanged:
//   80 <UCS2 big-endian pairs>                      padded with FF FF
//   81 <count> <base bits 15..8 of a half page> <bytes>   byte < 80: default alphabet; else base + (byte & 7F)
//   82 <count> <base high> <base low> <bytes>               the same with a 16-bit base
#include <QByteArray>
#include <QString>

#include <optional>

namespace SimAlphaId {
// The text of an alpha identifier given as bytes; nothing when the bytes do not start with 80, 81 or 82 or
// do not hold as many characters as they announce (a padding of FF after them is fine).
std::optional<QString> decode(const QByteArray& bytes);
}
