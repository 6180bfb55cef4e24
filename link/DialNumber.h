#pragma once
// The characters of a telephone number that the link sends to the phone and takes from it. A SIM keeps a
// number as BCD digits (GSM 11.11): 0 to 9, "*", "#", the DTMF separator (a pause, written "p", "w" or ",")
// and the "wild" value that phones show as "?"; a leading "+" marks an international number. Nothing else
// is ever sent, above all no byte that would end the quoted number or the command line ('"', ";", CR, LF).
#include <QByteArray>

namespace DialNumber {
// Longest number sent: far beyond any phone's field, short enough to keep the command line small.
constexpr int kMaxLength = 80;

bool isDialCharacter(char c);
// Every character a dial character and at most kMaxLength of them; the empty number (an erase) included.
bool isWritable(const QByteArray& number);
// The dial characters of a text, in order, everything else dropped.
QByteArray dialCharactersOnly(const QByteArray& text);
}
