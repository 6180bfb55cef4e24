#include "model/FieldRules.h"

#include <QList>
#include <QString>

#include <algorithm>
#include <climits>

const char32_t g_achForbidden[kForbiddenCount] = {U'{', U'}', U'[', U']', U'\u00B2', U'\u00B3', U'\u00B5'};

// Pair 9 is the capital A with acute (not A with ring) and pair 15 the capital I with grave (not the inverted
// exclamation mark): these are the codes the telephone's firmware uses.
const char32_t g_achAnsiChars[kGsmPairCount] = {
    U'_', U'\u00C4', U'\u00D6', U'\u00DC', U'\u00E4', U'\u00F6', U'\u00FC', U'\u00DF', U'\u00C6',
    U'\u00C1', U'\u00C7', U'\u00C9', U'\u00D1', U'\u00D8', U'\u00BF', U'\u00CC', U'\u00E6', U'\u00E5',
    U'\u00E0', U'\u00E9', U'\u00E8', U'\u00EC', U'\u00F1', U'\u00F8', U'\u00F2', U'\u00F9'};
const unsigned char g_achGsmChars[kGsmPairCount] = {
    0x11, 0x5B, 0x5C, 0x5E, 0x7B, 0x7C, 0x7E, 0x1E, 0x1C, 0x0E, 0x09, 0x1F, 0x5D,
    0x0B, 0x60, 0x40, 0x1D, 0x0F, 0x7F, 0x05, 0x04, 0x07, 0x7D, 0x0C, 0x08, 0x06};

namespace {
bool IsForbidden(char32_t ch)
{
    return ch == U'`' || std::find(std::begin(g_achForbidden), std::end(g_achForbidden), ch) != std::end(g_achForbidden);
}

bool IsDigit(char ch)
{
    return ch >= '0' && ch <= '9';
}

bool IsStoredNumberChar(char ch, bool spacesAllowed)
{
    return IsDigit(ch) || ch == '#' || ch == '*' || ch == '+' || ch == '?' || (spacesAllowed && ch == ' ');
}

bool IsLeadingBlank(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\v' || ch == '\f' || ch == '\r';
}

// Where the next character of a UTF-8 text begins: continuation bytes belong to the character before them.
size_t NextCharacter(const std::string& text, size_t at)
{
    ++at;
    while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) ++at;
    return at;
}
}

bool StripForbidden(const std::string& text, std::string& out)
{
    const QList<uint> characters = QString::fromStdString(text).toUcs4();
    QList<uint> kept;
    for (uint ch : characters)
        if (!IsForbidden(ch)) kept.append(ch);
    const bool nothingRemoved = kept.size() == characters.size();
    out = nothingRemoved ? text : QString::fromUcs4(reinterpret_cast<const char32_t*>(kept.constData()), kept.size()).toStdString();
    return nothingRemoved;
}

bool IsNumberText(const std::string& text, bool spacesAllowed)
{
    for (char ch : text) {
        if (!IsStoredNumberChar(ch, spacesAllowed) && ch != '-' && ch != '/') return false;
    }
    return true;
}

void FilterNumber(const std::string& text, bool spacesAllowed, std::string& out)
{
    std::string kept;
    kept.reserve(text.size());
    for (char ch : text) {
        if (IsStoredNumberChar(ch, spacesAllowed)) kept.push_back(ch);
    }
    out = std::move(kept);
}

void TrimTrailingBlanks(std::string& name)
{
    while (name.size() > 1 && name.back() == ' ') name.pop_back();
}

int LeadingDecimalNumber(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && IsLeadingBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        // Stop growing once past the int range, so a long run of digits can never overflow.
        if (value > static_cast<long long>(INT_MAX) + 1) break;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

std::string CutText(const std::string& text, int n)
{
    size_t end = 0;
    for (int taken = 0; taken < n && end < text.size(); ++taken) end = NextCharacter(text, end);
    return text.substr(0, end);
}

int CharacterCount(const std::string& text)
{
    int count = 0;
    for (size_t at = 0; at < text.size(); at = NextCharacter(text, at)) ++count;
    return count;
}

int NumberLimit(const std::string& number, int numberLen)
{
    return !number.empty() && number[0] == '+' ? numberLen + 1 : numberLen;
}

std::string NormaliseStatus(const std::string& typed, bool editingExisting)
{
    const std::string first = CutText(typed, 1);
    if (editingExisting && CutText(typed, 2).substr(first.size()) == "!") return "!";
    if (first == "!" || first == " ") return first;
    return " ";
}

bool IsPreviewStatusAccepted(const std::string& status)
{
    return status.empty() || status == "!" || status == " ";
}
