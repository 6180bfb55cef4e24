#pragma once
// The editor form: the single view of the main frame. It owns the widgets, the entry store and the two layers,
// wires them together and starts them; the preview row, the lists, the commands and the layers' host do the
// work.
#include "model/EntryStore.h"
#include "res/CommandIds.h"
#include "ui/ICommandTarget.h"

#include <QWidget>

#include <functional>
#include <memory>

class AddressBook;
class CEntryPanes;
class CFormCommands;
class CFormControls;
class CFormHost;
class CFormLists;
class CPreviewRow;
class IFormFrame;
class IQuestions;
class TelephoneDirectories;

class CDlgView : public QWidget, public ICommandTarget {
    Q_OBJECT
public:
    CDlgView(IFormFrame* frame, IQuestions* questions, QWidget* parent = nullptr);
    ~CDlgView() override;

    // Opens the address book, shows its folder and starts reading the telephone.
    void OnInitialUpdate();

    // ICommandTarget: the form's commands.
    bool OnUpdateCommand(int id, bool& enabled) const override;
    bool OnCommand(int id) override;

    // Every entry shown or changed, and the form's state words.
    EntryStore& Store() { return *m_store; }
    const EntryStore& Store() const { return *m_store; }
    TelephoneDirectories& Phone() { return *m_phone; }
    AddressBook& Book() { return *m_ab; }
    CFormCommands& Commands() { return *m_commands; }
    CPreviewRow& Preview() { return *m_preview; }
    CFormLists& Lists() { return *m_lists; }
    CFormHost& Host() { return *m_host; }

    // Unsaved work on either side, shown as "*" in the caption.
    bool HasUnsavedChanges() const;
    // Writes the lists' column widths and sort columns, the directory and the folder shown (group "Window").
    void SaveWindowState() const;
    // How the program ends after a failure of the address book; tests record it instead of leaving.
    void SetProgramEnder(std::function<void(int)> ender);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void ConnectControls();
    void InstallFolderMenu();
    void InstallWindowParts();
    void LayOutControls();
    void ApplySettings();
    void ChooseLastFolder();
    void StartFirstPhoneRead();
    void OnSelchangeDirectory();
    void OnSelchangeFolder();
    // A new command begins: the result of the last one leaves the status line.
    void ClearStaleStatus();
    // Closes the frame for good, after the way out has asked its questions.
    void LeaveProgram();

    IFormFrame* m_pFrame;
    IQuestions* m_pQuestions;
    // Declared in the order they are built: each part may use the ones above it, and is destroyed before them
    // (and before the widgets, whose last events then reach no part of the form).
    std::unique_ptr<EntryStore> m_store; // on the heap: the store holds megabytes of fixed tables
    std::unique_ptr<CFormControls> m_controls;
    std::unique_ptr<CPreviewRow> m_preview;
    std::unique_ptr<CFormLists> m_lists;
    std::unique_ptr<CFormHost> m_host;
    std::unique_ptr<TelephoneDirectories> m_phone;
    std::unique_ptr<AddressBook> m_ab;
    std::unique_ptr<CEntryPanes> m_panes;
    std::unique_ptr<CFormCommands> m_commands;
};
