#pragma once
// The byte that carries the phone's "@" inside a name, shared by the field rules and the telephone link so that
// the two can never disagree on it.
//
// On the phone "@" is GSM 03.38 code 0x00, which cannot stand inside a zero-terminated name: it would end the
// name there. So a name carries it as 0x81 instead, a byte that code page 1252 leaves undefined and that can
// therefore stand for nothing else.
constexpr char kGsmAtSign = '\x81';
