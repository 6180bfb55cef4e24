#include "app/ProgramWiring.h"

#include "app/CAboutDlg.h"
#include "app/CMainFrame.h"
#include "app/FormFrameAdapter.h"
#include "link/Cellbus.h"
#include "link/TelephoneLinkSetup.h"
#include "pab/AddressBookFile.h"
#include "ui/CDlgView.h"
#include "ui/DialogQuestions.h"

namespace {
void ShowAboutBox(QWidget* parent)
{
    CAboutDlg dialog(parent);
    dialog.exec();
}
}

ProgramWiring::ProgramWiring() = default;

ProgramWiring::~ProgramWiring()
{
    // The form closes its address-book session as it goes and may still report; frame and questions outlive it.
    delete m_view.data();
    SetErrorReportHandler(nullptr);
    m_frame.reset();
    m_dialogs.reset();
    m_formFrame.reset();
    StopTelephoneLink();
    if (m_bAddressBookFileSet) AddressBookFile::UseDefault();
}

CDlgView* ProgramWiring::View() const
{
    return m_view.data();
}

void ProgramWiring::UseAddressBookFile(const QString& path)
{
    AddressBookFile::Use(path);
    m_bAddressBookFileSet = true;
}

bool ProgramWiring::StartTelephoneLink(const QString& deviceOption, QString* error)
{
    m_linkUse = LinkUse::Started;
    return ::StartTelephoneLink(deviceOption, error);
}

void ProgramWiring::ConnectTelephoneLink(const LinkOptions& options)
{
    if (m_linkUse == LinkUse::None) m_linkUse = LinkUse::Connected;
    ::ConnectTelephoneLink(options);
}

void ProgramWiring::StopTelephoneLink()
{
    switch (m_linkUse) {
    case LinkUse::Started:
        // Also ends the built-in phone emulator the start may have begun.
        ::StopTelephoneLink();
        break;
    case LinkUse::Connected:
        // The device belongs to the caller, who stops it after this; a built-in phone chosen since ends here.
        ::ConnectTelephoneLink(LinkOptions{});
        ::StopTelephoneLink();
        break;
    case LinkUse::None:
        break;
    }
    m_linkUse = LinkUse::None;
}

void ProgramWiring::RouteErrorReportsTo(IQuestions* questions)
{
    SetErrorReportHandler([questions](int errorClass, int messageId) { questions->ReportError(errorClass, messageId); });
}

void ProgramWiring::ShowForm(IQuestions* questions, std::function<void(int)> programEnder)
{
    m_frame = std::make_unique<CMainFrame>();
    m_formFrame = std::make_unique<FormFrameAdapter>(*m_frame);
    if (!questions) {
        m_dialogs = std::make_unique<DialogQuestions>(m_frame.get(), ShowAboutBox);
        questions = m_dialogs.get();
    }
    m_questions = questions;
    RouteErrorReportsTo(questions);

    auto* view = new CDlgView(m_formFrame.get(), questions);
    m_view = view;
    if (programEnder) view->SetProgramEnder(std::move(programEnder));
    m_frame->SetView(view, view);
    // The form is set up before the frame appears: a report at start-up does not stand over an empty frame.
    view->OnInitialUpdate();
    if (m_frame->RestorePlacement())
        m_frame->showMaximized();
    else
        m_frame->show();
}
