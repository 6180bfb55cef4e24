#pragma once
// Matching of typed search text against names and numbers the way people expect: letter case and accents do not
// count ("lukasz" finds "Łukasz", "zoe" finds "Zoë").
#include <QString>

class TextMatch {
public:
    // The text reduced to what a search compares: accents and other marks dropped, letters without a
    // decomposition that carry a stroke or a ligature spelled as their base letters, case folded.
    static QString Fold(const QString& text);
    // True when the folded needle occurs in the folded haystack; an empty needle matches everything.
    static bool Contains(const QString& haystack, const QString& needle);
};
