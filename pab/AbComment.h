#pragma once
// The address book has no properties for an entry's status and index, so they travel in its comment after
// the user's own text: 'Met at fair VIP-Status - Index: 3 '. These read that comment and write it.
//
// Only that exact tail, as the save writes it, is taken for the program's own: a comment such as "Index fund
// manager" or "VIP-Status guests" is the user's text and is kept whole.
#include "model/DirTable.h"

#include <optional>
#include <string>

struct AbCommentFields {
    std::string m_strStatus; // "!" VIP, " " standard, "" when the entry has no comment at all
    int m_nIndex = 0;        // 0 when the comment holds no usable index: the reader assigns one
    std::string m_strComment;
    bool m_bHasStatusTail = false; // the comment ended in the program's status and index form
};

class AbComment {
public:
    // Reads an entry's PR_COMMENT (nullopt when the entry has none). The index counts only when it is free
    // among the first entriesRead entries of the table, the ones of the folder read before this one.
    static AbCommentFields Parse(const std::optional<std::string>& comment, const DirTable& table, int entriesRead);
    // The same for a text that is not checked against any table (an imported card's note): any index from 1 to
    // the table's size counts.
    static AbCommentFields Parse(const std::string& comment);
    // "VIP-Status" for a status of exactly "!", "Standard-Status" for anything else.
    static std::string StatusWord(const std::string& status);
    // 'Standard-Status - Index: 12 '
    static std::string FormatForNewEntry(const std::string& status, int index);
    // 'Met at fair VIP-Status - Index: 3 ' (' VIP-Status - Index: 3 ' for an empty comment). Parse gives the
    // comment back exactly, without the blank that joins it to the status word.
    static std::string FormatForUpdatedEntry(const std::string& comment, const std::string& status, int index);
};
