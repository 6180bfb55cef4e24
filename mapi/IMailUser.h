#pragma once
#include "mapi/IMAPIProp.h"

class IMailUser : public IMAPIProp {};
using LPMAILUSER = IMailUser*;
