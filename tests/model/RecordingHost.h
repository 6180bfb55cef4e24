#pragma once
// Stands in for the form: records the status texts and reports a fixed number of address-book rows.
#include "pab/IAddressBookHost.h"

#include <string>
#include <vector>

class RecordingHost : public IAddressBookHost {
public:
    std::vector<std::string> m_statusTexts;
    int m_nAbListItems = 0;
    int m_nExitCode = 0;
    bool m_bEnded = false;

    void SetStatusText(const std::string& text) override { m_statusTexts.push_back(text); }
    int AbListItemCount() const override { return m_nAbListItems; }
    void ClearAbList() override { m_nAbListItems = 0; }
    void EndProgram(int exitCode) override
    {
        m_bEnded = true;
        m_nExitCode = exitCode;
    }
    void FillAbList(bool) override {}
    void FillFolderCombo() override {}
    void ClearFolderCombo() override {}
    int SelectedFolderItem() const override { return m_nSelectedFolder; }
    void SelectFolderItem(int item) override { m_nSelectedFolder = item; }
    int m_nSelectedFolder = 0;
};
