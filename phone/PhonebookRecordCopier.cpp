#include "phone/PhonebookRecordCopier.h"

#include "link/Cellbus.h"
#include "model/FieldRules.h"
#include "phone/WritePlanner.h"

#include <algorithm>

namespace {
// A field's text up to its zero byte, at most maxChars characters.
std::string FieldText(const uint8_t* field, int fieldLen, int maxChars)
{
    int length = 0;
    while (length < fieldLen && field[length] != 0) ++length;
    return CutText(std::string(reinterpret_cast<const char*>(field), static_cast<size_t>(length)), maxChars);
}
}

void PhonebookRecordCopier::Copy(const PhonebookData& data, DirTable& table, PhoneImage& image)
{
    const int count = data.pRecords ? std::clamp(data.nCount, 0, kTableSlots) : 0;
    const int nameSize = std::max(0, data.nNameFieldSize > 0 ? data.nNameFieldSize : data.nNameLen);
    const int numberLen = std::max(0, data.nNumberLen);
    const size_t recordSize = 2 + static_cast<size_t>(nameSize) + static_cast<size_t>(numberLen);
    image.clear();
    for (DirEntry& entry : table.m_entries) entry.Clear();
    table.m_nCount = count;
    for (int k = 0; k < count; ++k) {
        const uint8_t* record = data.pRecords + recordSize * static_cast<size_t>(k);
        const int word = record[0] | (record[1] << 8);
        HeldRecord held = WritePlanner::FromFields(FieldText(record + 2, nameSize, WritePlanner::kMaxNameChars),
                                                   FieldText(record + 2 + nameSize, numberLen, WritePlanner::kMaxNumberChars));
        held.m_bUnreadable = (word & kRecordNameUnreadable) != 0;
        const int index = word & 0x7FFF;
        DirEntry& entry = table[k];
        entry.m_nIndex = index;
        entry.m_strName = held.m_strName;
        entry.m_strNumber = held.m_strNumber;
        entry.m_strStatus = held.m_strStatus;
        entry.m_bNameUnreadable = held.m_bUnreadable;
        image[index] = held;
    }
}
