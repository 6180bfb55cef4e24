#pragma once
// The address-book host of a program without a window: no lists to fill, the folder chosen kept as a number, and an
// end of the program remembered instead of carried out, so that the tool can say why and exit itself.
#include "pab/IAddressBookHost.h"

#include <optional>

class CommandLineHost : public IAddressBookHost {
public:
    int AbListItemCount() const override { return 0; }
    void ClearAbList() override {}
    void EndProgram(int exitCode) override { m_endedWith = exitCode; }
    void FillAbList(bool) override {}
    void FillFolderCombo() override {}
    void ClearFolderCombo() override {}
    int SelectedFolderItem() const override { return m_nFolder; }
    void SelectFolderItem(int item) override { m_nFolder = item; }
    void SetStatusText(const std::string&) override {}

    // The exit code the address book asked for after a failure; nullopt while all is well.
    std::optional<int> EndedWith() const { return m_endedWith; }

private:
    int m_nFolder = 0;
    std::optional<int> m_endedWith;
};
