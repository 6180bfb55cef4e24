#include "FormFixture.h"

#include "app/CMainFrame.h"
#include "link/Cellbus.h"
#include "link/TelephoneLinkSetup.h"
#include "mapi/Mapi.h"
#include "ui/CDlgView.h"
#include "ui/DialogQuestions.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QTest>

FormFixture::FormFixture()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Korvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Telvora PRO"));
    // Each fixture has settings and data folders of its own.
    qputenv("XDG_CONFIG_HOME", m_dir.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("data")).toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.filePath(QStringLiteral("config")));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.filePath(QStringLiteral("config")));
    SetErrorReportHandler([this](int errorClass, int messageId) { m_questions.ReportError(errorClass, messageId); });
    MAPISetAddressBookFile(PabPath().toStdString());
    m_phoneOptions.stateFile = m_dir.filePath(QStringLiteral("phone.json"));
    m_phoneOptions.logFile = m_dir.filePath(QStringLiteral("phone.log"));
}

void FormFixture::SetPhoneState(const EmulatorState& state)
{
    QString error;
    QVERIFY2(PhoneEmulator::writeState(m_phoneOptions.stateFile, state, &error), qPrintable(error));
}

QString FormFixture::PhoneLog() const
{
    QFile log(m_phoneOptions.logFile);
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

bool FormFixture::WaitUntilIdle(int timeoutMs)
{
    return QTest::qWaitFor([this] { return !m_view->HasFlag(VF_BUSY); }, timeoutMs);
}

FormFixture::~FormFixture()
{
    m_frame.reset(); // the form closes its address-book session
    ConnectTelephoneLink(LinkOptions{});
    m_phone.stop();
    SetErrorReportHandler(nullptr);
    MAPISetAddressBookFile({});
}

void FormFixture::SetSetting(const QString& key, const QVariant& value)
{
    QSettings settings;
    settings.setValue(key.contains(u'/') ? key : QStringLiteral("CfgPropPage2/") + key, value);
    settings.sync();
}

void FormFixture::Start()
{
    LinkOptions link;
    if (m_withPhone) {
        QString error;
        QVERIFY2(m_phone.start(m_phoneOptions, &link.device, &error), qPrintable(error));
    }
    ConnectTelephoneLink(link);
    m_frame = std::make_unique<CMainFrame>();
    IQuestions* questions = &m_questions;
    if (m_realDialogs) {
        m_dialogs = std::make_unique<DialogQuestions>(m_frame.get());
        questions = m_dialogs.get();
        SetErrorReportHandler([this](int errorClass, int messageId) { m_dialogs->ReportError(errorClass, messageId); });
    }
    m_view = new CDlgView(m_frame.get(), questions);
    m_view->SetProgramEnder([this](int exitCode) { m_endedWith.push_back(exitCode); });
    m_frame->SetView(m_view, m_view);
    m_frame->show();
    m_view->OnInitialUpdate();
    QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
    m_frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_frame.get()));
}
