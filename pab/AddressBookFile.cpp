#include "pab/AddressBookFile.h"

#include "mapi/Mapi.h"

void AddressBookFile::Use(const QString& path)
{
    MAPISetAddressBookFile(path.toStdString());
}

QString AddressBookFile::Current()
{
    return QString::fromStdString(MAPIGetAddressBookFile());
}

void AddressBookFile::UseDefault()
{
    MAPISetAddressBookFile({});
}
