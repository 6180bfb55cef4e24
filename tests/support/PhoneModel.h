#pragma once
// The model with which the random tests of the telephone side say what the phone must hold: per index the name
// (VIP mark included) and the number a save has to leave there, derived from an entry of the list the way the
// telephone layer writes it, and the character pools their names are drawn from.
#include "model/DirEntry.h"
#include "model/FieldRules.h"
#include "model/TelephoneName.h"

#include <QString>

#include <map>
#include <sstream>
#include <string>
#include <vector>

// What the phone must hold at an index after the next successful save: the name and the number, exactly.
struct Intended {
    std::string name;
    std::string number;
    bool operator==(const Intended&) const = default;
};
using PhoneModel = std::map<int, Intended>;

// What the list shows of a name the phone holds: the first 16 characters, "!" after the name as the VIP mark.
struct Shown {
    std::string name;
    bool vip = false;
    std::string number;
};

inline Shown ShownOf(const std::string& phoneName, const std::string& phoneNumber)
{
    constexpr int kShownName = 16;   // characters of a name the list shows
    constexpr int kShownNumber = 20; // characters of a number the list shows
    Shown shown;
    shown.name = CutText(phoneName, kShownName);
    const size_t mark = shown.name.empty() ? std::string::npos : shown.name.find('!', 1);
    shown.vip = mark != std::string::npos;
    if (shown.vip) shown.name.resize(mark);
    if (shown.name.empty()) shown.name = " ";
    shown.number = phoneNumber.empty() ? " " : CutText(phoneNumber, kShownNumber);
    return shown;
}

// What a save makes the phone hold for an entry: a field the user left as it was read goes whole, a changed
// one as typed (a VIP name gives its last position to the mark when full).
inline Intended IntendedOf(const DirEntry& entry, const TelephoneNameLimits& limits)
{
    const bool fromPhone = !entry.m_strPhoneName.empty() || !entry.m_strPhoneNumber.empty();
    const Shown read = ShownOf(entry.m_strPhoneName, entry.m_strPhoneNumber);
    const bool vip = entry.m_strStatus == "!";
    Intended expected;
    expected.name = fromPhone && entry.m_strName == read.name && vip == read.vip
        ? entry.m_strPhoneName
        : TelephoneName::AsSent(TelephoneName::Holdable(entry.m_strName, limits), vip, limits);
    expected.number = fromPhone && entry.m_strNumber == read.number ? entry.m_strPhoneNumber : entry.m_strNumber;
    if (expected.number == " ") expected.number.clear();
    return expected;
}

inline std::string Describe(const PhoneModel& model)
{
    std::ostringstream out;
    for (const auto& [index, r] : model) out << index << ":" << r.name << "/" << r.number << " ";
    return out.str();
}

// Characters a name is drawn from: letters of the GSM alphabet with "!", its extension table and characters no
// name on the telephone holds, then other scripts. One character (UTF-8) per element.
inline const std::vector<std::vector<std::string>>& NameScripts()
{
    static const std::vector<std::vector<std::string>> scripts = [] {
        const char* const pools[] = {"ABCDEFGHKLMNOPRSTabcdeghiklmnoprstu019 ÄÖÜäöüéßÅ¡!",
                                     "€\\^~|{}[]$`@²µ",
                                     "ŁłŻżŚśĆćĘęĄąŃńÓó ",
                                     "АБВГДЕЖЗИЙКЛМНОПабвгдежзийклмноп ",
                                     "李王张刘陈杨黄赵小龍伟娜",
                                     "ΑΒΓΔΘΛΞΠΣΦΨΩαβγδεζηθ ",
                                     "محمدعلي ",
                                     "ŞşĞğİıÇçŢţȘșȚțĂăÂâÁÌ"};
        std::vector<std::vector<std::string>> out;
        for (const char* pool : pools) {
            std::vector<std::string> characters;
            for (char32_t ch : QString::fromUtf8(pool).toUcs4()) characters.push_back(QString::fromUcs4(&ch, 1).toStdString());
            out.push_back(characters);
        }
        return out;
    }();
    return scripts;
}
