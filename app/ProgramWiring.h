#pragma once
// How the program's parts meet: the address-book file, the telephone link, where the link's error reports go,
// and the document, frame, form and questions of the one window. The program's main() and the tests' form
// fixture both put the program together through this class, so that the parts meet in one way only; a test
// differs only in the phone it connects, the questions it answers and how a failure ends the program.
#include "app/CVRD2EditDoc.h"
#include "link/LinkOptions.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class CDlgView;
class CMainFrame;
class DialogQuestions;
class FormFrameAdapter;
class IQuestions;

class ProgramWiring {
public:
    ProgramWiring();
    // Takes the program apart in reverse: the form (while its reports still reach the questions), the route of
    // the reports, frame and questions, the telephone link, the address-book file.
    ~ProgramWiring();
    ProgramWiring(const ProgramWiring&) = delete;
    ProgramWiring& operator=(const ProgramWiring&) = delete;

    // The address-book file the form opens; empty: pab.sqlite in the user's data folder.
    void UseAddressBookFile(const QString& path);
    // Starts the telephone link on the device option, else the setting Link/Device, else the built-in phone
    // emulator; false (with the reason) when none could be started. The link is stopped at the end either way.
    bool StartTelephoneLink(const QString& deviceOption, QString* error);
    // Points the telephone link at a device of the caller's (a test's emulator); an empty device leaves the link
    // without a telephone. The link is disconnected at the end.
    void ConnectTelephoneLink(const LinkOptions& options);
    // Sends the link's error reports (Fehler_Melden) to the questions, until ShowForm or the end.
    void RouteErrorReportsTo(IQuestions* questions);

    // Creates frame, questions and form: the form asks through questions, or through the program's own dialogs
    // when it is null, and the link's error reports go to the same place. programEnder, when given, replaces
    // how the form ends the process after a failure (tests record it). Shows the frame and runs the form's
    // initial update. Call once.
    void ShowForm(IQuestions* questions = nullptr, std::function<void(int)> programEnder = {});

    CMainFrame* Frame() const { return m_frame.get(); }
    CDlgView* View() const; // null once the form is gone
    IQuestions* Questions() const { return m_questions; }

private:
    enum class LinkUse { None, Started, Connected };

    void StopTelephoneLink();

    // The document holds nothing; it stands for the program's one open "file", the form.
    CVRD2EditDoc m_document;
    bool m_bAddressBookFileSet = false;
    LinkUse m_linkUse = LinkUse::None;
    std::unique_ptr<CMainFrame> m_frame;
    std::unique_ptr<FormFrameAdapter> m_formFrame;
    std::unique_ptr<DialogQuestions> m_dialogs;
    IQuestions* m_questions = nullptr;
    // Owned by the frame as its central widget; deleted first at the end.
    QPointer<CDlgView> m_view;
};
