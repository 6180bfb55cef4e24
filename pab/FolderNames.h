#pragma once
// Names of address-book folders and distribution lists, as the user gives them for a new folder or a renamed
// list: asked for in the name dialog, cut to what the book keeps, and unique among the folder records.
#include <string>

class IQuestions;
struct EntryStore;

namespace FolderNames {
// Asks with the dialog's title and prompt strings; false when the dialog was cancelled. An over-long answer is
// cut to what the address book keeps of a name.
bool Ask(IQuestions& questions, int titleId, int promptId, std::string& name);
// The folder record named so (exactly), other than record `except`; -1 when none.
int OtherNamed(const EntryStore& store, const std::string& name, int except = -1);
}
