#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Ends a content line with CRLF and folds it so that no physical line is longer than 75 octets, as vCard 3.0 and
// 4.0 ask. A fold never splits a UTF-8 character.
class VCardLineFolder {
public:
    static constexpr qsizetype kMaxOctets = 75;

    static QByteArray fold(QByteArrayView line);
};
