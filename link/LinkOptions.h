#pragma once
// Where the telephone link finds the phone.
#include <QString>

struct LinkOptions {
    QString device;            // serial device or pseudo-terminal; empty: no phone
    int baud = 115200;
    int silenceTimeoutMs = 8000; // how long the phone may stay silent within one command
    // A write that follows the previous one within this time continues its run (PhonebookSession::write).
    int writeRunPauseMs = 2000;
};
