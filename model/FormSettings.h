#pragma once
// The program's settings that the preferences change. The form's three values in group "CfgPropPage2" count by
// their first byte only, as the values were once stored as 32-bit words: an integer gives its lowest byte, a
// text its first character. The telephone ("Link") and the address-book file ("AddressBook") are read by the
// program where it connects them; here they are only read and written for the preferences.
#include <QString>

#include <cstdint>

class QSettings;

struct FormSettings {
    bool m_bKeyOpened = false;   // the group exists; otherwise none of its values was read
    int m_nShowCorrection = 1;   // 0 hides the preview row
    int m_nAutoload = 0;         // 1 reads the directories of m_nPhonebooks at start-up
    int m_nPhonebooks = 1;       // bit i: directory number i
    QString m_strDevice;         // Link/Device; empty: the built-in phone emulator
    int m_nBaud = 0;             // Link/Baud; 0: the link's own speed
    QString m_strAddressBookFile; // AddressBook/File; empty: the book in the user's data folder

    static FormSettings Read(QSettings& settings);
    // Writes every value; an empty device, speed 0 or an empty file remove their key, so that the program's
    // defaults apply. Phonebooks keeps what it held when no directory is read at start-up.
    void Write(QSettings& settings) const;
    // The directories still to read automatically, with AUTOREAD_FIRST when there are any.
    uint32_t AutoReadMask() const;
    // The directories read at start-up as one mask (bit i: directory i), 0 when none are; setting it sets
    // "Autoload" to 1 for a mask with any of the seven bits, else to 0.
    int StartUpDirectories() const;
    void SetStartUpDirectories(int mask);
};
