#include "model/FormSettings.h"

#include "model/ViewFlags.h"

#include <QSettings>

namespace {
constexpr const char* kGroup = "CfgPropPage2";

int FirstByte(const QVariant& value)
{
    bool isNumber = false;
    const qlonglong number = value.toLongLong(&isNumber);
    if (isNumber) return static_cast<int>(static_cast<unsigned long long>(number) & 0xFF);
    const QByteArray bytes = value.toByteArray();
    return bytes.isEmpty() ? 0 : static_cast<unsigned char>(bytes.at(0));
}
}

FormSettings FormSettings::Read(QSettings& settings)
{
    FormSettings result;
    if (!settings.childGroups().contains(QLatin1String(kGroup))) return result;
    settings.beginGroup(QLatin1String(kGroup));
    result.m_bKeyOpened = true;
    if (settings.contains(QStringLiteral("ShowCorrection")))
        result.m_nShowCorrection = FirstByte(settings.value(QStringLiteral("ShowCorrection")));
    if (settings.contains(QStringLiteral("Autoload")))
        result.m_nAutoload = FirstByte(settings.value(QStringLiteral("Autoload")));
    if (result.m_nAutoload == 1 && settings.contains(QStringLiteral("Phonebooks")))
        result.m_nPhonebooks = FirstByte(settings.value(QStringLiteral("Phonebooks")));
    settings.endGroup();
    return result;
}

uint32_t FormSettings::AutoReadMask() const
{
    if (!m_bKeyOpened || m_nAutoload != 1) return 0;
    const uint32_t directories = static_cast<uint32_t>(m_nPhonebooks) & 0x7F;
    return directories ? (directories | AUTOREAD_FIRST) : 0;
}
