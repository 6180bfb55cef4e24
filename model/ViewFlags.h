#pragma once
#include <cstdint>

// Bits of the form's flag word m_nFlags.
enum ViewFlag : uint32_t {
    VF_BUSY = 0x01,               // a telephone read or write is running
    VF_CLIPBOARD = 0x02,          // the internal clipboard holds copies to paste
    VF_PHONE_MODIFIED = 0x04,     // the current telephone table has unsaved changes
    VF_AB_MODIFIED = 0x08,        // the address-book table has unsaved changes
    VF_EXIT_AFTER_WRITE = 0x10,   // close the frame when the telephone write ends
    VF_RELOAD_AFTER_WRITE = 0x20, // show the newly selected directory when the write ends
    VF_SHOW_CORRECTION = 0x40,    // the preview row may be shown
    VF_BATCH = 0x80,              // an insertion run is under way: taken indices are asked about
    VF_BATCH_MULTI = 0x100,       // that run holds more than one entry: the index dialog offers "Accept All"
};

// Which list the edit commands act on.
enum ActiveList : int32_t { LIST_NONE = 0, LIST_PHONE = 1, LIST_AB = 2 };

// Bit of m_nAutoReadMask: the first automatic read has not begun yet.
constexpr uint32_t AUTOREAD_FIRST = 0x1000;
