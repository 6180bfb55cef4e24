#include "link/DialNumber.h"

#include <algorithm>

namespace DialNumber {
bool isDialCharacter(char c)
{
    switch (c) {
    case '0': case '1': case '2': case '3': case '4': case '5': case '6': case '7': case '8': case '9':
    case '+': case '*': case '#': case '?':
    case 'p': case 'P': case 'w': case 'W': case ',':
        return true;
    default:
        return false;
    }
}

bool isWritable(const QByteArray& number)
{
    return number.size() <= kMaxLength && std::all_of(number.begin(), number.end(), isDialCharacter);
}

QByteArray dialCharactersOnly(const QByteArray& text)
{
    QByteArray out;
    for (char c : text)
        if (isDialCharacter(c)) out.append(c);
    return out;
}
}
