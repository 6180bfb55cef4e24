#pragma once
// The editor form: the single view of the main frame. It owns the entry store and wires its widgets to it.
#include "app/CommandIds.h"
#include "model/EntryStore.h"
#include "model/FormHost.h"

#include <QWidget>

class CMainFrame;
class IQuestions;

class CDlgView : public QWidget, public EntryStore, public ICommandTarget, public IFormHost {
    Q_OBJECT
public:
    CDlgView(CMainFrame* frame, IQuestions* questions, QWidget* parent = nullptr);
    ~CDlgView() override;

    // Called once when the form is first shown.
    void OnInitialUpdate();

    // ICommandTarget
    bool OnUpdateCommand(int id, bool& enabled) const override;
    bool OnCommand(int id) override;
    // IFormHost
    void SetStatusText(const std::string& text) override;
    int AbListItemCount() const override;
    void ClearAbList() override;
    void RunFolderSelectionChange() override;
    void EndProgram(int exitCode) override;

protected:
    CMainFrame* m_pFrame;
    IQuestions* m_pQuestions;
};
