#include "FormFixture.h"

#include "app/CMainFrame.h"
#include "app/ProgramWiring.h"
#include "res/StringTable.h"
#include "ui/CDlgView.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QTest>

FormFixture::FormFixture() : m_wiring(std::make_unique<ProgramWiring>())
{
    QCoreApplication::setOrganizationName(QStringLiteral("Korvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Telvora PRO"));
    // Each fixture has settings and data folders of its own.
    qputenv("XDG_CONFIG_HOME", m_dir.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("data")).toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.filePath(QStringLiteral("config")));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.filePath(QStringLiteral("config")));
    m_wiring->RouteErrorReportsTo(&m_questions);
    m_wiring->UseAddressBookFile(PabPath());
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

void FormFixture::RestartPhone()
{
    m_phone.stop();
    LinkOptions link;
    QString error;
    QVERIFY2(m_phone.start(m_phoneOptions, &link.device, &error), qPrintable(error));
    m_wiring->ConnectTelephoneLink(link);
}

bool FormFixture::WaitUntilIdle(int timeoutMs)
{
    return QTest::qWaitFor([this] { return !View()->Store().HasFlag(VF_BUSY); }, timeoutMs);
}

CMainFrame* FormFixture::Frame() const
{
    return m_wiring ? m_wiring->Frame() : nullptr;
}

CDlgView* FormFixture::View() const
{
    return m_wiring ? m_wiring->View() : nullptr;
}

FormFixture::~FormFixture()
{
    // The form closes its address-book session, and the link lets go of the phone before the phone stops.
    m_wiring.reset();
    m_phone.stop();
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
    } else {
        // The start-up read finds no phone, whenever it gets that far: not what a test without a phone is about.
        m_questions.AllowReport(5 * 100000 + Ids::IDS_ERR_READ_NO_DATA);
    }
    m_wiring->ConnectTelephoneLink(link);
    // Without a questions object of the test's, the program's own dialogs answer.
    m_wiring->ShowForm(m_realDialogs ? nullptr : &m_questions,
                       [this](int exitCode) { m_endedWith.push_back(exitCode); });
    QVERIFY(QTest::qWaitForWindowExposed(Frame()));
    Frame()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Frame()));
}
