#include "app/KeyLockState.h"

#include <QDir>
#include <QFile>

namespace {
const char* const kLedSuffix[] = {"::capslock", "::numlock", "::scrolllock"};

// The LED's brightness; -1 when it cannot be read.
int ReadBrightness(const QString& ledFolder)
{
    QFile file(QDir(ledFolder).filePath(QStringLiteral("brightness")));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    bool ok = false;
    const int value = file.readAll().trimmed().toInt(&ok);
    return ok ? value : -1;
}
}

KeyLockState::KeyLockState(const QString& ledFolder)
{
    const QDir folder(ledFolder);
    const QStringList leds = folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System);
    for (int lock = CAPS_LOCK; lock <= SCROLL_LOCK; ++lock) {
        for (const QString& led : leds) {
            if (led.endsWith(QLatin1String(kLedSuffix[lock])))
                m_ledFolders[lock].append(folder.filePath(led));
        }
    }
}

KeyLockState::State KeyLockState::Query(Lock lock) const
{
    // Every keyboard has its own LED; the lock is on when any of them shows it.
    bool anyRead = false;
    for (const QString& led : m_ledFolders[lock]) {
        const int brightness = ReadBrightness(led);
        if (brightness > 0)
            return State::On;
        anyRead = anyRead || brightness == 0;
    }
    return anyRead ? State::Off : State::Unknown;
}
