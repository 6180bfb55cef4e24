#include "model/TelephoneName.h"

#include "model/FieldRules.h"
#include "res/GsmAlphabet.h"

#include <QList>
#include <QString>

#include <climits>

namespace {
QString Text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

// The character a telephone without UCS2 stores for one outside the GSM alphabet: its firmware pair, or none.
char16_t GsmSubstitute(char32_t ch)
{
    for (int i = 0; i < kGsmPairCount; ++i)
        if (g_achAnsiChars[i] == ch) return GsmAlphabet::basicCharacter(g_achGsmChars[i]);
    return 0;
}

bool IsControl(char32_t ch)
{
    return ch < 0x20 || (ch >= 0x7F && ch < 0xA0);
}

int GsmPositions(char16_t ch)
{
    bool extension = false;
    GsmAlphabet::codeOf(ch, &extension);
    return extension ? 2 : 1;
}
}

namespace TelephoneName {
Encoding EncodingOf(const std::string& name)
{
    return GsmAlphabet::holdsAll(Text(name)) ? Encoding::Gsm : Encoding::Ucs2;
}

int LengthOf(const std::string& name)
{
    const QString text = Text(name);
    return EncodingOf(name) == Encoding::Gsm ? GsmAlphabet::septetLength(text) : int(text.size());
}

int LimitOf(const std::string& name, const TelephoneNameLimits& limits)
{
    if (limits.m_nGsmLen <= 0) return INT_MAX;
    return EncodingOf(name) == Encoding::Gsm ? limits.m_nGsmLen : limits.m_nUcs2Len;
}

std::string Holdable(const std::string& name, const TelephoneNameLimits& limits)
{
    std::string allowed;
    StripForbidden(name, allowed);
    const bool gsmOnly = limits.m_nGsmLen > 0 && limits.m_nUcs2Len <= 0;
    QString kept;
    for (char32_t ch : Text(allowed).normalized(QString::NormalizationForm_C).toUcs4()) {
        if (IsControl(ch) || ch > 0xFFFF) continue;
        const auto unit = static_cast<char16_t>(ch);
        if (gsmOnly && !GsmAlphabet::holds(unit)) {
            if (const char16_t substitute = GsmSubstitute(ch)) kept.append(QChar(substitute));
            continue;
        }
        kept.append(QChar(unit));
    }
    return kept.toStdString();
}

std::string Cut(const std::string& name, const TelephoneNameLimits& limits, int reserve)
{
    const int limit = LimitOf(name, limits);
    if (limit == INT_MAX) return name;
    const int room = limit - reserve;
    const QString text = Text(name);
    const bool gsm = EncodingOf(name) == Encoding::Gsm;
    qsizetype kept = 0;
    for (int used = 0; kept < text.size(); ++kept) {
        used += gsm ? GsmPositions(text[kept].unicode()) : 1;
        if (used > room) break;
    }
    return kept == text.size() ? name : text.left(kept).toStdString();
}

std::string ForTelephone(const std::string& name, const TelephoneNameLimits& limits)
{
    return Cut(Holdable(name, limits), limits);
}

std::string AsSent(const std::string& name, bool vip, const TelephoneNameLimits& limits)
{
    return vip ? Cut(name, limits, 1) + "!" : Cut(name, limits);
}
}
