#pragma once
// The rules for the four fields a user types (name, number, index, status) and the conversion of names
// between code page 1252 and the GSM 03.38 default alphabet. All texts are code page 1252 byte strings.
#include "res/GsmAtSign.h"

#include <string>

constexpr int kForbiddenCount = 7;
constexpr int kGsmPairCount = 26;

// Characters the telephone cannot take in a name.
extern const char g_achForbidden[kForbiddenCount];
// Parallel tables: g_achAnsiChars[i] is sent to the telephone as g_achGsmChars[i]; every other byte passes as it is.
extern const char g_achAnsiChars[kGsmPairCount];
extern const char g_achGsmChars[kGsmPairCount];
// ToGsm sends "@" as kGsmAtSign (res/GsmAtSign.h), the byte the telephone link carries it in; FromGsm shows it
// as "@".

// Converts a name for the telephone. An empty name becomes " ", because the telephone needs a name to store a
// record. A capital O with diaeresis is first turned into the small one in the caller's text itself: the
// telephone's code for the capital letter is not used, and the caller's copy must match what was sent.
void ToGsm(std::string& text, std::string& out);
// Converts a name read from the telephone.
void FromGsm(const std::string& text, std::string& out);
// Copies the text without the characters of g_achForbidden; true when nothing was removed.
bool StripForbidden(const std::string& text, std::string& out);
// True when every character may be typed into a number: digits, "#*+-/?", and blanks when spaces are allowed
// (numbers bound for the address book). "-" and "/" are separators that may be typed but are not stored.
bool IsNumberText(const std::string& text, bool spacesAllowed);
// Keeps only the characters a number is stored with: digits, "#*+?", and blanks when spaces are allowed.
void FilterNumber(const std::string& text, bool spacesAllowed, std::string& out);
// Reads an index as typed: optional leading blanks and sign, then digits; 0 when there are no digits. Values
// beyond the range of int are clamped to it rather than wrapped.
// Cuts trailing blanks of a name, never its first character: a name of blanks keeps one.
void TrimTrailingBlanks(std::string& name);
int LeadingDecimalNumber(const std::string& text);
// The first n characters of the text (the whole text when it is shorter; nothing when n is below 1).
std::string CutText(const std::string& text, int n);
// The number limit while typing: one more character when the number begins with "+".
int NumberLimit(const std::string& number, int numberLen);

// Status of the entry dialog after OK: "!" or " " as typed first, anything else " ". A "!" in the second
// position counts only when an existing entry is edited (a blank followed by "!" then means VIP).
std::string NormaliseStatus(const std::string& typed, bool editingExisting);
// The preview row accepts only "!", " " or an empty status.
bool IsPreviewStatusAccepted(const std::string& status);
