#include "pab/AddressBookFile.h"

#include "mapi/Mapi.h"

void AddressBookFile::Use(const QString& path)
{
    MAPISetAddressBookFile(path.toStdString());
}

void AddressBookFile::UseDefault()
{
    MAPISetAddressBookFile({});
}
