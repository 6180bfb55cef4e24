#pragma once
// A form host for a run of insertions into the address-book table that the list shows only once the run has
// ended: the form's list is refilled only then, so names are compared with every entry of the table instead,
// and two entries of one name in the run are caught at once, not by the address book when saving. Everything
// else goes to the form's host.
#include "model/EntryStore.h"
#include "pab/IAddressBookHost.h"

class WholeTableHost : public IAddressBookHost {
public:
    WholeTableHost(IAddressBookHost& host, const EntryStore& store) : m_host(host), m_store(store) {}
    int AbListItemCount() const override { return m_store.m_abTable.m_nCount; }
    void ClearAbList() override { m_host.ClearAbList(); }
    void EndProgram(int exitCode) override { m_host.EndProgram(exitCode); }
    void FillAbList(bool resetStates) override { m_host.FillAbList(resetStates); }
    void FillFolderCombo() override { m_host.FillFolderCombo(); }
    void ClearFolderCombo() override { m_host.ClearFolderCombo(); }
    int SelectedFolderItem() const override { return m_host.SelectedFolderItem(); }
    void SelectFolderItem(int item) override { m_host.SelectFolderItem(item); }
    void SetStatusText(const std::string& text) override { m_host.SetStatusText(text); }

private:
    IAddressBookHost& m_host;
    const EntryStore& m_store;
};

