#include "phone/PhonebookRecordCopier.h"

#include "link/Cellbus.h"
#include "phone/WritePlanner.h"

#include <algorithm>

namespace {
// A field's text up to its zero byte, at most maxChars characters.
std::string FieldText(const uint8_t* field, int fieldLen, int maxChars)
{
    const int limit = std::min(fieldLen, maxChars);
    int length = 0;
    while (length < limit && field[length] != 0) ++length;
    return std::string(reinterpret_cast<const char*>(field), static_cast<size_t>(length));
}
}

void PhonebookRecordCopier::Copy(const PhonebookData& data, DirTable& table, PhoneImage& image)
{
    const int count = data.pRecords ? std::clamp(data.nCount, 0, kTableSlots) : 0;
    const int nameLen = std::max(0, data.nNameLen);
    const int numberLen = std::max(0, data.nNumberLen);
    const size_t recordSize = 2 + static_cast<size_t>(nameLen) + static_cast<size_t>(numberLen);
    image.clear();
    for (DirEntry& entry : table.m_entries) entry.Clear();
    table.m_nCount = count;
    for (int k = 0; k < count; ++k) {
        const uint8_t* record = data.pRecords + recordSize * static_cast<size_t>(k);
        const int index = (record[0] | (record[1] << 8)) & 0x7FFF;
        const HeldRecord held = WritePlanner::FromFields(FieldText(record + 2, nameLen, WritePlanner::kMaxNameChars),
                                                         FieldText(record + 2 + nameLen, numberLen, WritePlanner::kMaxNumberChars));
        DirEntry& entry = table[k];
        entry.m_nIndex = index;
        entry.m_strName = held.m_strName;
        entry.m_strNumber = held.m_strNumber;
        entry.m_strStatus = held.m_strStatus;
        image[index] = held;
    }
}
