#include "PhoneLayerRig.h"

#include "link/Cellbus.h"
#include "link/TelephoneLinkSetup.h"
#include "res/StringTable.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

PhoneLayerRig::PhoneLayerRig() : m_store(std::make_unique<EntryStore>())
{
    qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("data")).toLocal8Bit());
    m_options.stateFile = m_dir.filePath(QStringLiteral("phone.json"));
    m_options.logFile = m_dir.filePath(QStringLiteral("phone.log"));
    SetErrorReportHandler([this](int errorClass, int messageId) { m_questions.ReportError(errorClass, messageId); });
}

PhoneLayerRig::~PhoneLayerRig()
{
    m_phone.reset();
    ConnectTelephoneLink(LinkOptions{});
    m_emulator.stop();
    SetErrorReportHandler(nullptr);
}

bool PhoneLayerRig::Start(const EmulatorState& state, const PhoneEmulatorOptions& options)
{
    QString error;
    if (!PhoneEmulator::writeState(m_options.stateFile, state, &error)) return false;
    if (!RestartPhone(options)) return false;
    m_phone = std::make_unique<TelephoneDirectories>(*m_store, m_questions, m_host);
    return true;
}

bool PhoneLayerRig::RestartPhone(const PhoneEmulatorOptions& options)
{
    m_emulator.stop();
    PhoneEmulatorOptions next = options;
    next.stateFile = m_options.stateFile;
    next.logFile = m_options.logFile;
    LinkOptions link;
    QString error;
    if (!m_emulator.start(next, &link.device, &error)) return false;
    ConnectTelephoneLink(link);
    return true;
}

bool PhoneLayerRig::WaitUntilIdle(int timeoutMs)
{
    // Woken by each event rather than polled, so that a timed save is not stretched by the wait itself; the
    // timer wakes the loop when the time is up.
    QTimer timeUp;
    timeUp.setSingleShot(true);
    timeUp.start(timeoutMs);
    while (m_store->HasFlag(VF_BUSY) && timeUp.isActive()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return !m_store->HasFlag(VF_BUSY);
}

bool PhoneLayerRig::Show(int directory)
{
    m_phone->ReadDirectory(directory);
    return WaitUntilIdle() && m_store->m_nCurDir == directory;
}

bool PhoneLayerRig::Save()
{
    m_phone->WriteDirectory();
    return WaitUntilIdle() && m_host.LastStatus() == StringTable::LoadString(Ids::IDS_ACTION_SUCCESSFUL);
}

EmulatorStorage PhoneLayerRig::PhoneStorage(const QString& name) const
{
    const EmulatorState state = m_emulator.state();
    const EmulatorStorage* storage = state.storage(name);
    return storage ? *storage : EmulatorStorage();
}

QString PhoneLayerRig::PhoneLog() const
{
    QFile log(m_options.logFile);
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}
