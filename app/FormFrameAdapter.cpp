#include "app/FormFrameAdapter.h"

#include "app/CMainFrame.h"
#include "app/CVRD2EditApp.h"

void FormFrameAdapter::SetMessageText(const QString& text)
{
    m_frame.SetMessageText(text);
}

void FormFrameAdapter::FitToView()
{
    m_frame.FitToView();
}

void FormFrameAdapter::SetInputBlocked(bool blocked)
{
    // Asked afresh each time: the application object may come and go around a frame (tests make several).
    if (CVRD2EditApp* app = CVRD2EditApp::Instance()) app->m_bInputBlocked = blocked ? 1 : 0;
}

void FormFrameAdapter::SetWindowTitle(const QString& title)
{
    m_frame.setWindowTitle(title);
}

void FormFrameAdapter::Leave()
{
    m_frame.Leave();
}
