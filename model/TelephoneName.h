#pragma once
// How the telephone holds a name. A name whose characters are all in the GSM 03.38 default alphabet or its
// extension table is stored in that alphabet, an extension character taking two of the name's positions; any
// other name is stored in UCS2, which holds fewer characters (a SIM keeps (L - 1) / 2 of them for a name
// length of L). A telephone without UCS2 holds only names of the GSM alphabet. Texts are UTF-8.
#include <string>

struct TelephoneNameLimits {
    int m_nGsmLen = 0;  // positions of a GSM name; 0 while the telephone has not told: nothing is cut
    int m_nUcs2Len = 0; // characters of a UCS2 name; 0 when the telephone has no UCS2
};

namespace TelephoneName {
enum class Encoding { Gsm, Ucs2 };

Encoding EncodingOf(const std::string& name);
// The name's length in its encoding: GSM positions or UCS2 characters.
int LengthOf(const std::string& name);
// The longest name of this one's encoding; a very large number while the limits are unknown.
int LimitOf(const std::string& name, const TelephoneNameLimits& limits);

// The name without what no telephone name holds: the forbidden characters and "`" (StripForbidden), control
// characters and characters beyond UCS2. Composed characters are joined ("e" and a combining acute become
// "é"). For a telephone without UCS2, a character outside the GSM alphabet takes its firmware pair where it
// has one (g_achAnsiChars) and is removed otherwise.
std::string Holdable(const std::string& name, const TelephoneNameLimits& limits);
// The name cut to the limit of its encoding, less `reserve` positions; an extension character is never halved.
std::string Cut(const std::string& name, const TelephoneNameLimits& limits, int reserve = 0);
// Holdable, then cut: what the preview row and the entry dialog show of a name bound for the telephone.
std::string ForTelephone(const std::string& name, const TelephoneNameLimits& limits);
// The name as it is sent: a VIP name is cut one position shorter and followed by "!".
std::string AsSent(const std::string& name, bool vip, const TelephoneNameLimits& limits);
}
