#pragma once
// Whether Caps Lock, Num Lock and Scroll Lock are on, as far as the system tells. Qt has no portable call
// for it; on Linux the keyboard LEDs under /sys/class/leds mirror the locks. Where no LED can be read the
// state is unknown, and the status bar greys the indicator rather than guess.
#include <QStringList>

class KeyLockState {
public:
    enum Lock { CAPS_LOCK, NUM_LOCK, SCROLL_LOCK };
    enum class State { Off, On, Unknown };

    explicit KeyLockState(const QString& ledFolder = QStringLiteral("/sys/class/leds"));
    State Query(Lock lock) const;

private:
    QStringList m_ledFolders[3];
};
