#include "model/TextMatch.h"

namespace {
// Letters whose stroke or ligature is part of the letter itself, so that a canonical decomposition keeps them.
QString PlainSpelling(QChar letter)
{
    switch (letter.unicode()) {
    case 0x0141: case 0x0142: return QStringLiteral("l");  // Ł ł
    case 0x00D8: case 0x00F8: return QStringLiteral("o");  // Ø ø
    case 0x0110: case 0x0111: case 0x00D0: case 0x00F0: return QStringLiteral("d"); // Đ đ Ð ð
    case 0x0126: case 0x0127: return QStringLiteral("h");  // Ħ ħ
    case 0x0131: return QStringLiteral("i");               // dotless ı
    case 0x00DF: case 0x1E9E: return QStringLiteral("ss"); // ß ẞ
    case 0x00C6: case 0x00E6: return QStringLiteral("ae"); // Æ æ
    case 0x0152: case 0x0153: return QStringLiteral("oe"); // Œ œ
    case 0x00DE: case 0x00FE: return QStringLiteral("th"); // Þ þ
    default: return {};
    }
}
}

QString TextMatch::Fold(const QString& text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        const QChar::Category category = c.category();
        if (category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining
            || category == QChar::Mark_Enclosing)
            continue;
        const QString plain = PlainSpelling(c);
        folded += plain.isEmpty() ? QString(c) : plain;
    }
    return folded.toCaseFolded();
}

bool TextMatch::Contains(const QString& haystack, const QString& needle)
{
    if (needle.isEmpty()) return true;
    return Fold(haystack).contains(Fold(needle));
}
