#include "ui/CDlgView.h"

#include <QCoreApplication>

CDlgView::CDlgView(CMainFrame* frame, IQuestions* questions, QWidget* parent)
    : QWidget(parent), m_pFrame(frame), m_pQuestions(questions)
{
    resize(700, 400);
}

CDlgView::~CDlgView() = default;

void CDlgView::OnInitialUpdate() {}

bool CDlgView::OnUpdateCommand(int, bool&) const
{
    return false;
}

bool CDlgView::OnCommand(int)
{
    return false;
}

void CDlgView::SetStatusText(const std::string&) {}

int CDlgView::AbListItemCount() const
{
    return 0;
}

void CDlgView::ClearAbList() {}

void CDlgView::RunFolderSelectionChange() {}

void CDlgView::EndProgram(int exitCode)
{
    QCoreApplication::exit(exitCode);
}
