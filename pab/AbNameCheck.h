#pragma once
// Keeps names unique within the address-book folder shown: the address book refuses to create a second entry
// of the same name, and the user would only learn of it when saving.
#include <string>

struct EntryStore;
class IQuestions;
class IAddressBookHost;

// Names handed to the address book are at most this long (the name dialog's limit).
constexpr int kMaxAbNameLength = 255;

// 1 when the name (possibly replaced by one the user typed) may be stored, 0 when the user gave up or the name is
// empty. A longer name is cut to kMaxAbNameLength characters before the check.
// Message 41022 with the name that is taken (also used for folder names).
std::string NameExistsMessage(const std::string& name);

int MakeAbNameUnique(EntryStore& store, IQuestions& questions, const IAddressBookHost& host, std::string& name);
