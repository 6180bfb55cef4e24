#include "pab/AbComment.h"

#include "model/FieldRules.h"
#include "res/StringTable.h"

#include <algorithm>

namespace {
constexpr const char* kSeparator = " - ";
constexpr size_t kSeparatorLength = 3;
constexpr size_t kIndexColonLength = 2; // ": " after the word "Index"

void EraseFirst(std::string& text, const std::string& word)
{
    const size_t at = text.find(word);
    if (at != std::string::npos) text.erase(at, word.size());
}

// A negative index passes here as it stands; filling the list replaces it. Only 0, values above the table
// and indices that an entry read earlier already holds are refused.
bool IsIndexFreeAmongEarlier(int index, const DirTable& table, int entriesRead)
{
    if (index == 0 || index > kTableSlots) return false;
    const int count = std::clamp(entriesRead, 0, kTableSlots);
    for (int i = 0; i < count; ++i) {
        if (table[i].m_nIndex == index) return false;
    }
    return true;
}

// Takes "Index: n" and its leading " - " out of the text; returns the index read (0 when there is none).
int TakeIndexPart(std::string& text, size_t p, const std::string& word)
{
    const size_t start = p + word.size() + kIndexColonLength;
    std::string indexText;
    if (start < text.size()) {
        const size_t end = text.find(' ', start);
        indexText = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    }
    // The space after the index stays: it is removed with the trailing space below.
    text.erase(p, std::min(text.size() - p, word.size() + kIndexColonLength + indexText.size()));
    if (p >= kSeparatorLength && text.compare(p - kSeparatorLength, kSeparatorLength, kSeparator) == 0)
        text.erase(p - kSeparatorLength, kSeparatorLength);
    return LeadingDecimalNumber(indexText);
}
}

AbCommentFields AbComment::Parse(const std::optional<std::string>& comment, const DirTable& table, int entriesRead)
{
    AbCommentFields fields;
    if (!comment) return fields;
    std::string text = *comment;

    const std::string vipWord = StringTable::LoadString(Ids::IDS_VIP_STATUS);
    const bool isVip = text.find(vipWord) != std::string::npos;
    fields.m_strStatus = isVip ? "!" : " ";
    if (isVip) EraseFirst(text, vipWord);
    EraseFirst(text, StringTable::LoadString(Ids::IDS_STANDARD_STATUS));

    const std::string indexWord = StringTable::LoadString(Ids::IDS_INDEX_WORD);
    const size_t p = text.find(indexWord);
    if (p != std::string::npos) {
        const int index = TakeIndexPart(text, p, indexWord);
        fields.m_nIndex = IsIndexFreeAmongEarlier(index, table, entriesRead) ? index : 0;
    }
    if (!text.empty() && text.back() == ' ') text.pop_back();
    fields.m_strComment = std::move(text);
    return fields;
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

std::string AbComment::WithoutJoiningBlank(const std::string& comment)
{
    if (comment.empty() || comment.back() != ' ') return comment;
    return comment.substr(0, comment.size() - 1);
}
