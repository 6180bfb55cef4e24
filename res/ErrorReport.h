#pragma once
// The texts of an error report: message N, its remedy N+5000 where there is one, and a caption by class.
// The telephone link prints them on a terminal when nobody handles its reports, and the program's dialog shows
// them in a message box: both sides must say the same, so the texts live with the string table.
#include <QString>

namespace ErrorReport {
QString caption(int errorClass);
QString message(int messageId);
QString remedy(int messageId); // empty when the message has none
// Caption, message and remedy as one block of text, for a terminal.
QString plainText(int errorClass, int messageId);
}
