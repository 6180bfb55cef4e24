#pragma once
// The form as the telephone and address-book layers see it: their results shown in the form's lists, combo
// boxes, preview row and status line, and the frame's wait cursor, input block and way out.
#include "pab/IAddressBookHost.h"
#include "phone/ITelephoneHost.h"

#include <functional>

class CFormControls;
class CFormLists;
class CPreviewRow;
class IFormFrame;
class QWidget;
struct EntryStore;

class CFormHost : public IAddressBookHost, public ITelephoneHost {
public:
    // leave closes the frame for good; endProgram ends the process after a failure of the address book.
    CFormHost(QWidget* form, IFormFrame* frame, EntryStore& store, CFormControls& controls, CFormLists& lists,
              CPreviewRow& preview, std::function<void()> leave);

    void SetProgramEnder(std::function<void(int)> ender) { m_endProgram = std::move(ender); }

    void SetStatusText(const std::string& text) override;
    void FillPhoneList(bool resetStates) override;
    void SelectDirectoryInCombo(int directory) override;
    void ClearPhoneList() override;
    void ShowCorrectionRow(bool show) override;
    void ShowBusy(bool busy) override;
    void CloseFrame() override;
    int AbListItemCount() const override;
    void ClearAbList() override;
    void EndProgram(int exitCode) override;
    void FillAbList(bool resetStates) override;
    void FillFolderCombo() override;
    void ClearFolderCombo() override;
    int SelectedFolderItem() const override;
    void SelectFolderItem(int item) override;

private:
    QWidget* m_form;
    IFormFrame* m_pFrame;
    EntryStore& m_store;
    CFormControls& m_controls;
    CFormLists& m_lists;
    CPreviewRow& m_preview;
    std::function<void()> m_leave;
    std::function<void(int)> m_endProgram;
};
