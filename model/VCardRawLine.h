#pragma once

#include "model/VCardLine.h"

#include <QByteArray>

// One content line of a card kept as text: the bytes it is written with (its physical lines, folds included,
// each ended with CRLF) and what it says. A line read from a server keeps its bytes until it is changed.
struct VCardRawLine {
    QByteArray text;          // as written: folded physical lines with CRLF
    QByteArray logical;       // unfolded, without line end
    VCardLine parsed;         // empty name when the line could not be read; it is kept all the same
};
