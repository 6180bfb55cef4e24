#pragma once
// The address book has no properties for an entry's status and index, so they travel in its comment after
// the user's own text: 'Met at fair VIP-Status - Index: 3 '. These read that comment and write it.
#include "model/DirTable.h"

#include <optional>
#include <string>

struct AbCommentFields {
    std::string m_strStatus; // "!" VIP, " " standard, "" when the entry has no comment at all
    int m_nIndex = 0;        // 0 when the comment holds no usable index: the reader assigns one
    std::string m_strComment;
};

class AbComment {
public:
    // Reads an entry's PR_COMMENT (nullopt when the entry has none). The index counts only when it is free
    // among the first entriesRead entries of the table, the ones of the folder read before this one.
    static AbCommentFields Parse(const std::optional<std::string>& comment, const DirTable& table, int entriesRead);
    // "VIP-Status" for a status of exactly "!", "Standard-Status" for anything else.
    static std::string StatusWord(const std::string& status);
    // 'Standard-Status - Index: 12 '
    static std::string FormatForNewEntry(const std::string& status, int index);
    // 'Met at fair VIP-Status - Index: 3 '. Reading keeps the blank that joined the free comment to the status
    // word ('Met at fair '); the saver takes it off before formatting, or the comment would grow on every save.
    static std::string FormatForUpdatedEntry(const std::string& comment, const std::string& status, int index);
    // The free comment as read, without the blank that joined it to the status word: formatting adds one, and
    // without taking it off every save would add a blank to the comment.
    static std::string WithoutJoiningBlank(const std::string& comment);
};
