#pragma once
// The rules for the four fields a user types (name, number, index, status). All texts are UTF-8 and the rules
// work on characters; how a name is held by the telephone (GSM alphabet or UCS2, its length) is
// model/TelephoneName.h.
#include <string>

constexpr int kForbiddenCount = 7;
constexpr int kGsmPairCount = 26;

// Characters the telephone cannot take in a name.
extern const char32_t g_achForbidden[kForbiddenCount];
// Parallel tables: the telephone firmware's pairs of a character (g_achAnsiChars[i]) and the GSM 03.38 code it
// takes for it (g_achGsmChars[i]). Most pairs are a character and its own code; two are not: the capital A
// with acute takes the code of the capital A with ring, the capital I with grave that of the inverted
// exclamation mark. A telephone without UCS2 gets those two characters so (see TelephoneName.h).
extern const char32_t g_achAnsiChars[kGsmPairCount];
extern const unsigned char g_achGsmChars[kGsmPairCount];

// Copies the text without the characters of g_achForbidden and without the grave accent "`", which the GSM
// alphabet lacks; true when nothing was removed.
bool StripForbidden(const std::string& text, std::string& out);
// True when every character may be typed into a number: digits, "#*+-/?", and blanks when spaces are allowed
// (numbers bound for the address book). "-" and "/" are separators that may be typed but are not stored.
bool IsNumberText(const std::string& text, bool spacesAllowed);
// Keeps only the characters a number is stored with: digits, "#*+?", and blanks when spaces are allowed.
void FilterNumber(const std::string& text, bool spacesAllowed, std::string& out);
// Cuts trailing blanks of a name, never its first character: a name of blanks keeps one.
void TrimTrailingBlanks(std::string& name);
// Reads an index as typed: optional leading blanks and sign, then digits; 0 when there are no digits. Values
// beyond the range of int are clamped to it rather than wrapped.
int LeadingDecimalNumber(const std::string& text);
// The first n characters of the text (the whole text when it is shorter; nothing when n is below 1). Counts
// characters, never bytes: a character is never split.
std::string CutText(const std::string& text, int n);
// Number of characters of a UTF-8 text.
int CharacterCount(const std::string& text);
// The number limit while typing: one more character when the number begins with "+".
int NumberLimit(const std::string& number, int numberLen);

// Status of the entry dialog after OK: "!" or " " as typed first, anything else " ". A "!" as the second
// character counts only when an existing entry is edited (a blank followed by "!" then means VIP).
std::string NormaliseStatus(const std::string& typed, bool editingExisting);
// The preview row accepts only "!", " " or an empty status.
bool IsPreviewStatusAccepted(const std::string& status);
