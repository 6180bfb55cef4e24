#pragma once
// Turns the record block of a finished read into a directory's table and the picture of what the telephone
// holds.
#include "model/DirTable.h"
#include "phone/PhoneImage.h"

#include <utility>
#include <vector>

struct PhonebookData;

class PhonebookRecordCopier {
public:
    // Live entries in record order, states unchanged; every slot behind them is emptied, so deletion records
    // of an earlier read can never erase what the telephone holds now. At most 1000 records are taken.
    static void Copy(const PhonebookData& data, DirTable& table, PhoneImage& image);
    // The block's records by index, in record order (at most 1000).
    static std::vector<std::pair<int, HeldRecord>> Records(const PhonebookData& data);
    // The live entry that shows a record the telephone holds.
    static DirEntry EntryOf(int index, const HeldRecord& held);
};
