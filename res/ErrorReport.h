#pragma once
// The texts of an error report: message N, its remedy N+5000 where there is one, and a caption by class.
// The telephone link prints them on a terminal when nobody handles its reports, and the program's dialog shows
// them in a message box: both sides must say the same, so the texts live with the string table.
#include <QString>

namespace ErrorReport {
QString caption(int errorClass);
QString message(int messageId);
// The remedy shown beside the message: empty when the message has none, or when the message says it already
// (the reasons of 41017 stand in both).
QString remedy(int messageId);
// What only the side raising the report knows beyond message and remedy, such as the telephone link's word on
// what is wrong with the serial device. Set for as long as the report is being shown (user-interface thread
// only), empty otherwise; the dialog shows it under the remedy.
void setDetail(const QString& detail);
QString detail();
// Caption, message, remedy and the detail of the report being shown as one block of text, for a terminal.
QString plainText(int errorClass, int messageId);
}
