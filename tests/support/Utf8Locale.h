#pragma once
// The environment for a program a test starts and whose output it reads as text. Outside tools such as gammu
// follow the locale: on a machine without LANG they print every character beyond ASCII as "?", and under a
// language of the user's they translate their own words. C.UTF-8 exists on every Debian and keeps both fixed;
// LANGUAGE goes too, since gettext would otherwise still pick the user's translations.
#include <QProcessEnvironment>

inline QProcessEnvironment WithUtf8Locale(QProcessEnvironment env = QProcessEnvironment::systemEnvironment())
{
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    env.remove(QStringLiteral("LANGUAGE"));
    return env;
}
