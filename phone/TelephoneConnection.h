#pragma once
// Which telephone the program talks to: the device the user chose, or the built-in phone emulator. The choice
// outlives the program (settings group "Link") and takes effect at once.
#include <QString>

class TelephoneConnection {
public:
    // The device in use as chosen; empty for the built-in phone emulator.
    static QString Current();
    // Talks to device from now on (empty: the built-in phone emulator) and keeps the choice for the next start.
    // false, with the reason, when the new telephone could not be made ready; the old one is kept then.
    static bool Use(const QString& device, QString* error);
    // A device the user typed, checked before it is used: empty when it can be tried, else why not.
    static QString CheckTyped(const QString& device);
};
