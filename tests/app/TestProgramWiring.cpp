// The wiring of the program's parts that main() and the form fixture share: where the telephone link's error
// reports go, how the form sits in the frame and reaches it, which questions answer, and that the end takes
// everything down again.
#include "ScriptedQuestions.h"

#include "app/CAboutDlg.h"
#include "app/CMainFrame.h"
#include "app/ProgramWiring.h"
#include "link/Cellbus.h"
#include "link/TelephoneLinkSetup.h"
#include "ui/CDlgView.h"
#include "ui/CFormHost.h"
#include "ui/DialogQuestions.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>
#include <vector>

namespace {
constexpr int kInputError = 4;
constexpr int kStatusRefused = 41016; // "Invalid input. Only '!' or '  ' allowed."

// Closes every modal window that opens while it lives: message boxes with Return, the About box with OK. It
// keeps what they showed.
class ModalWatcher {
public:
    ModalWatcher()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { CloseModal(); });
        m_timer.start();
    }
    QStringList m_messageTexts;
    QStringList m_aboutCaptions;

private:
    void CloseModal()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            m_messageTexts << box->text();
            box->accept();
        } else if (auto* about = qobject_cast<CAboutDlg*>(modal)) {
            m_aboutCaptions << about->windowTitle();
            about->accept();
        }
    }
    QTimer m_timer;
};
}

class TestProgramWiring : public QObject {
    Q_OBJECT
private slots:
    void init();
    void errorReportsReachTheQuestionsUntilTheEnd();
    void formSitsInTheFrameAndReachesItThroughTheShell();
    void endTakesFormFrameAndLinkDown();
    void programDialogsAnswerWhenTheCallerBringsNoQuestions();

private:
    // Starts the form with settings and address book in the test's own folder and no telephone.
    void ShowFormWithoutPhone(ProgramWiring& wiring, IQuestions* questions);
    // The form's first telephone read has ended: nothing of the link is left running when the wiring goes.
    static bool FirstReadEnded(const ProgramWiring& wiring);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::vector<int> m_endedWith;
};

void TestProgramWiring::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QCoreApplication::setOrganizationName(QStringLiteral("Korvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Telvora PRO"));
    qputenv("XDG_CONFIG_HOME", m_dir->filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", m_dir->filePath(QStringLiteral("data")).toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir->filePath(QStringLiteral("config")));
    m_endedWith.clear();
}

void TestProgramWiring::ShowFormWithoutPhone(ProgramWiring& wiring, IQuestions* questions)
{
    wiring.UseAddressBookFile(m_dir->filePath(QStringLiteral("pab.sqlite")));
    wiring.ConnectTelephoneLink(LinkOptions{});
    wiring.ShowForm(questions, [this](int exitCode) { m_endedWith.push_back(exitCode); });
}

bool TestProgramWiring::FirstReadEnded(const ProgramWiring& wiring)
{
    return QTest::qWaitFor([&] { return !wiring.View()->Store().HasFlag(VF_BUSY); }, 30000);
}

void TestProgramWiring::errorReportsReachTheQuestionsUntilTheEnd()
{
    ScriptedQuestions questions;
    {
        ProgramWiring wiring;
        wiring.RouteErrorReportsTo(&questions);
        Fehler_Melden(kInputError, kStatusRefused);
        QVERIFY(questions.TakeReports() == std::vector<int>{kInputError * 100000 + kStatusRefused});
    }
    // Afterwards the link writes its reports to standard error; the questions are gone for it.
    Fehler_Melden(kInputError, kStatusRefused);
    QCOMPARE(questions.TakeReports().size(), size_t(1));
}

void TestProgramWiring::formSitsInTheFrameAndReachesItThroughTheShell()
{
    ScriptedQuestions questions;
    ProgramWiring wiring;
    ShowFormWithoutPhone(wiring, &questions);
    QVERIFY(m_endedWith.empty()); // the address book opened
    QVERIFY(wiring.View());
    QCOMPARE(wiring.Frame()->centralWidget(), static_cast<QWidget*>(wiring.View()));
    QVERIFY(wiring.Frame()->isVisible());
    QCOMPARE(wiring.Questions(), static_cast<IQuestions*>(&questions));
    // The caption, the message line and the frame's size come to the frame from the form.
    QCOMPARE(wiring.Frame()->windowTitle(), QStringLiteral("Telephone Directory"));
    wiring.View()->Host().SetStatusText("Action successful");
    QCOMPARE(wiring.Frame()->MessageText(), QStringLiteral("Action successful"));
    QVERIFY(wiring.Frame()->size() == wiring.Frame()->minimumSize());
    QVERIFY(wiring.Frame()->width() >= wiring.View()->width());
    QVERIFY(wiring.Frame()->height() > wiring.View()->height()); // menu, toolbar and status bar besides
    // The form's own reports and the link's go to the same questions.
    const size_t before = questions.TakeReports().size();
    Fehler_Melden(kInputError, kStatusRefused);
    QCOMPARE(questions.TakeReports().size(), before + 1);
    QCOMPARE(questions.TakeReports().back(), kInputError * 100000 + kStatusRefused);
    QVERIFY(FirstReadEnded(wiring));
}

void TestProgramWiring::endTakesFormFrameAndLinkDown()
{
    ScriptedQuestions questions;
    QPointer<CDlgView> view;
    QPointer<CMainFrame> frame;
    {
        ProgramWiring wiring;
        wiring.UseAddressBookFile(m_dir->filePath(QStringLiteral("pab.sqlite")));
        LinkOptions link;
        link.device = m_dir->filePath(QStringLiteral("no-such-tty"));
        wiring.ConnectTelephoneLink(link);
        QCOMPARE(TelephoneLinkDevice(), link.device);
        wiring.ShowForm(&questions, [this](int exitCode) { m_endedWith.push_back(exitCode); });
        view = wiring.View();
        frame = wiring.Frame();
        QVERIFY(view && frame);
        QVERIFY(FirstReadEnded(wiring));
    }
    QVERIFY(!view);
    QVERIFY(!frame);
    QVERIFY(TelephoneLinkDevice().isEmpty());
    const size_t reports = questions.TakeReports().size();
    Fehler_Melden(kInputError, kStatusRefused);
    QCOMPARE(questions.TakeReports().size(), reports);
}

void TestProgramWiring::programDialogsAnswerWhenTheCallerBringsNoQuestions()
{
    ModalWatcher watcher;
    ProgramWiring wiring;
    ShowFormWithoutPhone(wiring, nullptr);
    QVERIFY(dynamic_cast<DialogQuestions*>(wiring.Questions()));
    // The link's reports open the program's message box.
    Fehler_Melden(kInputError, kStatusRefused);
    QVERIFY2(watcher.m_messageTexts.contains(QStringLiteral("Invalid input. Only '!' or '  ' allowed.")),
             qPrintable(watcher.m_messageTexts.join(u'\n')));
    // The shell hands the program's dialogs its About box.
    wiring.Questions()->RunAboutBox();
    QCOMPARE(watcher.m_aboutCaptions, QStringList{QStringLiteral("About Telephone Directory")});
    QVERIFY(FirstReadEnded(wiring));
}

QTEST_MAIN(TestProgramWiring)
#include "TestProgramWiring.moc"
