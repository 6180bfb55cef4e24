#include "pab/AbComment.h"

#include "model/FieldRules.h"
#include "res/StringTable.h"

#include <algorithm>
#include <memory>

namespace {
constexpr const char* kSeparator = " - ";

bool EndsWith(const std::string& text, size_t end, const std::string& word)
{
    return end >= word.size() && text.compare(end - word.size(), word.size(), word) == 0;
}

bool IsDecimal(const std::string& digits)
{
    const size_t first = !digits.empty() && digits.front() == '-' ? 1 : 0;
    return digits.size() > first && std::all_of(digits.begin() + long(first), digits.end(),
                                                [](char c) { return c >= '0' && c <= '9'; });
}

// A negative index passes here as it stands; filling the list replaces it. Only 0, values above the table
// and indices that an entry read earlier already holds are refused.
bool IsIndexFreeAmongEarlier(int index, const DirTable* table, int entriesRead)
{
    if (index == 0 || index > kTableSlots) return false;
    if (!table) return true;
    const int count = std::clamp(entriesRead, 0, kTableSlots);
    for (int i = 0; i < count; ++i) {
        if ((*table)[i].m_nIndex == index) return false;
    }
    return true;
}

struct StatusTail {
    size_t commentEnd = 0; // the user's comment is text[0, commentEnd)
    bool isVip = false;
    int index = 0;
};

// The tail the save writes: [comment " "] status-word " - Index: " n " ", anchored at the end of the text.
std::optional<StatusTail> FindStatusTail(const std::string& text)
{
    if (text.empty() || text.back() != ' ') return std::nullopt;
    const std::string indexPart = kSeparator + StringTable::LoadString(Ids::IDS_INDEX_WORD) + ": ";
    const size_t indexAt = text.rfind(indexPart, text.size() - 1);
    if (indexAt == std::string::npos) return std::nullopt;
    const size_t digitsAt = indexAt + indexPart.size();
    const std::string digits = text.substr(digitsAt, text.size() - 1 - digitsAt);
    if (!IsDecimal(digits)) return std::nullopt;
    for (const bool vip : {true, false}) {
        const std::string word = StringTable::LoadString(vip ? Ids::IDS_VIP_STATUS : Ids::IDS_STANDARD_STATUS);
        if (!EndsWith(text, indexAt, word)) continue;
        const size_t wordAt = indexAt - word.size();
        // The status word begins the text, or follows the blank that joins it to the user's comment.
        if (wordAt == 0) return StatusTail{0, vip, LeadingDecimalNumber(digits)};
        if (text[wordAt - 1] == ' ') return StatusTail{wordAt - 1, vip, LeadingDecimalNumber(digits)};
    }
    return std::nullopt;
}

AbCommentFields ParseText(const std::string& text, const DirTable* table, int entriesRead)
{
    AbCommentFields fields;
    const std::optional<StatusTail> tail = FindStatusTail(text);
    if (!tail) {
        fields.m_strStatus = " ";
        fields.m_strComment = text;
        return fields;
    }
    fields.m_bHasStatusTail = true;
    fields.m_strStatus = tail->isVip ? "!" : " ";
    fields.m_nIndex = IsIndexFreeAmongEarlier(tail->index, table, entriesRead) ? tail->index : 0;
    fields.m_strComment = text.substr(0, tail->commentEnd);
    return fields;
}
}

AbCommentFields AbComment::Parse(const std::optional<std::string>& comment, const DirTable& table, int entriesRead)
{
    if (!comment) return {};
    return ParseText(*comment, &table, entriesRead);
}

AbCommentFields AbComment::Parse(const std::string& comment)
{
    return ParseText(comment, nullptr, 0);
}

std::string AbComment::StatusWord(const std::string& status)
{
    const bool isVip = status == StringTable::LoadString(Ids::IDS_COL_STATUS);
    return StringTable::LoadString(isVip ? Ids::IDS_VIP_STATUS : Ids::IDS_STANDARD_STATUS);
}

std::string AbComment::FormatForNewEntry(const std::string& status, int index)
{
    return StatusWord(status) + kSeparator + StringTable::LoadString(Ids::IDS_INDEX_WORD) + ": " + std::to_string(index) + " ";
}

std::string AbComment::FormatForUpdatedEntry(const std::string& comment, const std::string& status, int index)
{
    return comment + " " + FormatForNewEntry(status, index);
}
