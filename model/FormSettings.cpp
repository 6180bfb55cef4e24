#include "model/FormSettings.h"

#include "model/ViewFlags.h"

#include <QSettings>

namespace {
constexpr const char* kGroup = "CfgPropPage2";
constexpr const char* kDeviceKey = "Link/Device";
constexpr const char* kBaudKey = "Link/Baud";
constexpr const char* kBookKey = "AddressBook/File";
constexpr int kDirectoryBits = 0x7F;

void SetOrRemove(QSettings& settings, const char* key, const QVariant& value, bool keep)
{
    if (keep) settings.setValue(QLatin1String(key), value);
    else settings.remove(QLatin1String(key));
}

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
    result.m_strDevice = settings.value(QLatin1String(kDeviceKey)).toString();
    bool baudOk = false;
    const int baud = settings.value(QLatin1String(kBaudKey)).toInt(&baudOk);
    result.m_nBaud = baudOk && baud > 0 ? baud : 0;
    result.m_strAddressBookFile = settings.value(QLatin1String(kBookKey)).toString();
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

void FormSettings::Write(QSettings& settings) const
{
    settings.beginGroup(QLatin1String(kGroup));
    settings.setValue(QStringLiteral("ShowCorrection"), m_nShowCorrection != 0 ? 1 : 0);
    settings.setValue(QStringLiteral("Autoload"), m_nAutoload);
    if (m_nAutoload == 1) settings.setValue(QStringLiteral("Phonebooks"), m_nPhonebooks & kDirectoryBits);
    settings.endGroup();
    SetOrRemove(settings, kDeviceKey, m_strDevice, !m_strDevice.isEmpty());
    SetOrRemove(settings, kBaudKey, m_nBaud, m_nBaud > 0);
    SetOrRemove(settings, kBookKey, m_strAddressBookFile, !m_strAddressBookFile.isEmpty());
    settings.sync();
}

int FormSettings::StartUpDirectories() const
{
    return m_nAutoload == 1 ? (m_nPhonebooks & kDirectoryBits) : 0;
}

void FormSettings::SetStartUpDirectories(int mask)
{
    mask &= kDirectoryBits;
    m_nAutoload = mask ? 1 : 0;
    if (mask) m_nPhonebooks = mask;
}

uint32_t FormSettings::AutoReadMask() const
{
    if (!m_bKeyOpened || m_nAutoload != 1) return 0;
    const uint32_t directories = static_cast<uint32_t>(m_nPhonebooks) & kDirectoryBits;
    return directories ? (directories | AUTOREAD_FIRST) : 0;
}
