#include "phone/PhonebookRecordCopier.h"

#include "link/Cellbus.h"
#include "phone/WritePlanner.h"

#include <algorithm>

namespace {
// A field's text up to its zero byte.
std::string FieldText(const uint8_t* field, int fieldLen)
{
    int length = 0;
    while (length < fieldLen && field[length] != 0) ++length;
    return std::string(reinterpret_cast<const char*>(field), static_cast<size_t>(length));
}
}

std::vector<std::pair<int, HeldRecord>> PhonebookRecordCopier::Records(const PhonebookData& data)
{
    const int count = data.pRecords ? std::clamp(data.nCount, 0, kTableSlots) : 0;
    const int nameSize = std::max(0, data.nNameFieldSize > 0 ? data.nNameFieldSize : data.nNameLen);
    const int numberSize = std::max(0, data.nNumberFieldSize > 0 ? data.nNumberFieldSize : data.nNumberLen);
    const size_t recordSize = 2 + static_cast<size_t>(nameSize) + static_cast<size_t>(numberSize);
    std::vector<std::pair<int, HeldRecord>> records;
    for (int k = 0; k < count; ++k) {
        const uint8_t* record = data.pRecords + recordSize * static_cast<size_t>(k);
        const int word = record[0] | (record[1] << 8);
        HeldRecord held = WritePlanner::FromPhone(FieldText(record + 2, nameSize), FieldText(record + 2 + nameSize, numberSize));
        held.m_bUnreadable = (word & kRecordNameUnreadable) != 0;
        records.emplace_back(word & 0x7FFF, held);
    }
    return records;
}

void PhonebookRecordCopier::Copy(const PhonebookData& data, DirTable& table, PhoneImage& image)
{
    const std::vector<std::pair<int, HeldRecord>> records = Records(data);
    image.clear();
    for (DirEntry& entry : table.m_entries) entry.Clear();
    table.m_nCount = static_cast<int>(records.size());
    for (size_t k = 0; k < records.size(); ++k) {
        const auto& [index, held] = records[k];
        table[static_cast<int>(k)] = EntryOf(index, held);
        image[index] = held;
    }
}

DirEntry PhonebookRecordCopier::EntryOf(int index, const HeldRecord& held)
{
    DirEntry entry;
    entry.m_nIndex = index;
    entry.m_strName = held.m_strName;
    entry.m_strNumber = held.m_strNumber;
    entry.m_strStatus = held.m_strStatus;
    entry.m_bNameUnreadable = held.m_bUnreadable;
    entry.m_strPhoneName = held.m_strPhoneName;
    entry.m_strPhoneNumber = held.m_strPhoneNumber;
    return entry;
}
