#pragma once
// The form's three settings in group "CfgPropPage2", read at start-up and never written. Each value counts by its
// first byte only, as the values were once stored as 32-bit words: an integer gives its lowest byte, a text its
// first character.
#include <cstdint>

class QSettings;

struct FormSettings {
    bool m_bKeyOpened = false;   // the group exists; otherwise nothing else was read
    int m_nShowCorrection = 1;   // 0 hides the preview row
    int m_nAutoload = 0;         // 1 reads the directories of m_nPhonebooks at start-up
    int m_nPhonebooks = 1;       // bit i: directory number i

    static FormSettings Read(QSettings& settings);
    // The directories still to read automatically, with AUTOREAD_FIRST when there are any.
    uint32_t AutoReadMask() const;
};
