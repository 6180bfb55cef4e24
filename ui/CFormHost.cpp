#include "ui/CFormHost.h"

#include "model/EntryStore.h"
#include "ui/CDirectoryCombo.h"
#include "ui/CFolderCombo.h"
#include "ui/CFormControls.h"
#include "ui/CFormLists.h"
#include "ui/CPreviewRow.h"
#include "ui/IFormFrame.h"

#include <QTreeWidget>

#include <cstdlib>

CFormHost::CFormHost(QWidget* form, IFormFrame* frame, EntryStore& store, CFormControls& controls,
                     CFormLists& lists, CPreviewRow& preview, std::function<void()> leave)
    : m_form(form), m_pFrame(frame), m_store(store), m_controls(controls), m_lists(lists), m_preview(preview),
      m_leave(std::move(leave))
{
    m_endProgram = [form](int exitCode) {
        form->hide();
        std::exit(exitCode);
    };
}

void CFormHost::SetStatusText(const std::string& text)
{
    if (m_pFrame) m_pFrame->SetMessageText(QString::fromStdString(text));
}

void CFormHost::FillPhoneList(bool resetStates)
{
    m_lists.FillPhoneList(resetStates);
}

void CFormHost::SelectDirectoryInCombo(int directory)
{
    m_controls.m_cbDirectory->setCurrentIndex(directory);
}

void CFormHost::ClearPhoneList()
{
    m_lists.ClearPhoneList();
}

void CFormHost::ShowCorrectionRow(bool show)
{
    m_preview.ShowCorrectionRow(show);
}

void CFormHost::ShowBusy(bool busy)
{
    // While the telephone works the form shows the wait cursor and modal loops take no clicks or keys.
    if (busy) m_form->setCursor(Qt::WaitCursor);
    else m_form->unsetCursor();
    if (m_pFrame) m_pFrame->SetInputBlocked(busy);
}

void CFormHost::CloseFrame()
{
    QMetaObject::invokeMethod(m_form, m_leave, Qt::QueuedConnection);
}

int CFormHost::AbListItemCount() const
{
    return m_controls.m_lcAddressBook->topLevelItemCount();
}

void CFormHost::ClearAbList()
{
    m_controls.m_lcAddressBook->clear();
}

void CFormHost::EndProgram(int exitCode)
{
    m_endProgram(exitCode);
}

void CFormHost::FillAbList(bool resetStates)
{
    m_lists.FillAbList(resetStates);
}

void CFormHost::FillFolderCombo()
{
    CFolderCombo* combo = m_controls.m_cbFolder;
    combo->clear();
    for (int i = 0; i < m_store.m_nFolderCount && i < kFolderSlots; ++i)
        combo->AddFolder(QString::fromStdString(m_store.m_folders[static_cast<size_t>(i)].m_strName),
                         &m_store.m_folders[static_cast<size_t>(i)]);
    if (m_store.m_nFolderCount == 0) // the root record is always listed
        combo->AddFolder(QString::fromStdString(m_store.m_folders[0].m_strName), &m_store.m_folders[0]);
    combo->setCurrentIndex(0);
}

void CFormHost::ClearFolderCombo()
{
    m_controls.m_cbFolder->clear();
}

int CFormHost::SelectedFolderItem() const
{
    return m_controls.m_cbFolder->currentIndex();
}

void CFormHost::SelectFolderItem(int item)
{
    m_controls.m_cbFolder->setCurrentIndex(item);
}
