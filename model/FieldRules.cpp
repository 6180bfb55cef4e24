#include "model/FieldRules.h"

#include <climits>
#include <cstring>

const char g_achForbidden[kForbiddenCount] = {'{', '}', '[', ']', '\xB2', '\xB3', '\xB5'};

// Pair 9 is the capital A with acute (not A with ring) and pair 15 the capital I with grave (not the inverted
// exclamation mark): these are the codes the telephone's firmware uses.
const char g_achAnsiChars[kGsmPairCount] = {
    '\x5F', '\xC4', '\xD6', '\xDC', '\xE4', '\xF6', '\xFC', '\xDF', '\xC6', '\xC1', '\xC7', '\xC9', '\xD1',
    '\xD8', '\xBF', '\xCC', '\xE6', '\xE5', '\xE0', '\xE9', '\xE8', '\xEC', '\xF1', '\xF8', '\xF2', '\xF9'};
const char g_achGsmChars[kGsmPairCount] = {
    '\x11', '\x5B', '\x5C', '\x5E', '\x7B', '\x7C', '\x7E', '\x1E', '\x1C', '\x0E', '\x09', '\x1F', '\x5D',
    '\x0B', '\x60', '\x40', '\x1D', '\x0F', '\x7F', '\x05', '\x04', '\x07', '\x7D', '\x0C', '\x08', '\x06'};

namespace {
char Translate(char byte, const char* from, const char* to)
{
    for (int i = 0; i < kGsmPairCount; ++i) {
        if (from[i] == byte) return to[i];
    }
    return byte;
}

bool IsForbidden(char byte)
{
    return std::memchr(g_achForbidden, byte, kForbiddenCount) != nullptr;
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
}

void ToGsm(std::string& text, std::string& out)
{
    if (text.empty()) {
        out.assign(1, ' ');
        return;
    }
    out.assign(text.size(), '\0');
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\xD6') text[i] = '\xF6';
        out[i] = text[i] == '@' ? kGsmAtSign : Translate(text[i], g_achAnsiChars, g_achGsmChars);
    }
}

void FromGsm(const std::string& text, std::string& out)
{
    out.assign(text.size(), '\0');
    for (size_t i = 0; i < text.size(); ++i)
        out[i] = text[i] == kGsmAtSign ? '@' : Translate(text[i], g_achGsmChars, g_achAnsiChars);
}

bool StripForbidden(const std::string& text, std::string& out)
{
    std::string kept;
    kept.reserve(text.size());
    for (char ch : text) {
        if (!IsForbidden(ch)) kept.push_back(ch);
    }
    const bool nothingRemoved = kept.size() == text.size();
    out = std::move(kept);
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
    if (n < 1) return std::string();
    return text.substr(0, static_cast<size_t>(n));
}

int NumberLimit(const std::string& number, int numberLen)
{
    return !number.empty() && number[0] == '+' ? numberLen + 1 : numberLen;
}

std::string NormaliseStatus(const std::string& typed, bool editingExisting)
{
    if (editingExisting && typed.size() > 1 && typed[1] == '!') return "!";
    if (!typed.empty() && (typed[0] == '!' || typed[0] == ' ')) return typed.substr(0, 1);
    return " ";
}

bool IsPreviewStatusAccepted(const std::string& status)
{
    return status.empty() || status == "!" || status == " ";
}
