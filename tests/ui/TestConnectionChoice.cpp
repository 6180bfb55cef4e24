// Choosing the telephone's serial port while the program runs: the connection dialog on real ports behind a
// device folder of the test's own, and the form moving to the chosen telephone, which it reads and writes from
// then on, keeping the choice in the settings. Changes not yet written are never dropped without asking.
#include "DeviceRoot.h"
#include "FormControls.h"
#include "FormTestCase.h"

#include "app/CMainFrame.h"
#include "link/PhoneEmulator.h"
#include "link/PseudoTerminal.h"
#include "phone/TelephoneConnection.h"
#include "res/CommandIds.h"
#include "res/StringTable.h"
#include "ui/CConnectionDlg.h"
#include "ui/CDlgView.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QThreadPool>
#include <QTreeWidget>
#include <QtTest>

namespace {
constexpr int kProbeMs = 500;
constexpr int kWaitMs = 30000;

QStringList Names(QTreeWidget* list)
{
    QStringList names;
    for (int i = 0; i < list->topLevelItemCount(); ++i) names << list->topLevelItem(i)->text(0);
    return names;
}

void ClickRow(QTreeWidget* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(row)).center());
}

QStringList Row(QTreeWidget* list, int row)
{
    const QTreeWidgetItem* item = list->topLevelItem(row);
    return {item->text(0), item->text(1), item->text(2)};
}

EmulatorState OwnNumbers(const QMap<int, EmulatorEntry>& entries)
{
    EmulatorState state = EmulatorState::blank();
    state.storage("ON")->capacity = 10;
    state.storage("ON")->entries = entries;
    return state;
}

QVariant DeviceSetting()
{
    return QSettings().value(QStringLiteral("Link/Device"));
}

// A second telephone beside the form's own, on a pseudo-terminal of its own.
class OtherPhone {
public:
    explicit OtherPhone(const QMap<int, EmulatorEntry>& entries)
    {
        QString error;
        PhoneEmulatorOptions options;
        options.stateFile = m_dir.filePath("other.json");
        QVERIFY2(PhoneEmulator::writeState(options.stateFile, OwnNumbers(entries), &error), qPrintable(error));
        QVERIFY2(m_phone.start(options, &m_device, &error), qPrintable(error));
    }
    ~OtherPhone() { m_phone.stop(); }
    const QString& device() const { return m_device; }
    PhoneEmulator& phone() { return m_phone; }

private:
    QTemporaryDir m_dir;
    PhoneEmulator m_phone;
    QString m_device;
};
}

class TestConnectionChoice : public FormTestCase {
    Q_OBJECT
private slots:
    void dialogListsEachPortWithWhatAnswers();
    void dialogTakesARowOrATypedPath();
    void dialogGoneBeforeTheSearchEndsIsQuiet();
    void chosenTelephoneIsReadWrittenAndKept();
    void unsavedChangesAreDroppedOnlyWhenTheUserSaysSo();
    void cancelOrTheSameDeviceChangesNothing();
    void emptyChoiceIsTheBuiltInPhone();
    void noChoiceWhileTheTelephoneWorks();

private:
    FormFixture& StartForm();
};

FormFixture& TestConnectionChoice::StartForm()
{
    FormFixture& f = NewForm();
    f.SetPhoneState(OwnNumbers({{1, {"Anna", "111"}}, {2, {"Bert", "222"}}, {4, {"Carl", "444"}}}));
    f.Start();
    [&] { QVERIFY(f.WaitUntilIdle()); }();
    return f;
}

void TestConnectionChoice::dialogListsEachPortWithWhatAnswers()
{
    DeviceRoot root;
    QVERIFY(root.valid());
    PhoneEmulatorOptions options;
    options.identity.maker = "Acme Mobile";
    options.identity.model = "Brick 9";
    PhoneEmulator phone;
    PseudoTerminal silent;
    QString phonePath;
    QString error;
    QVERIFY2(phone.start(options, &phonePath, &error), qPrintable(error));
    QVERIFY2(silent.open(&error), qPrintable(error));
    QVERIFY(root.link("ttyACM0", silent.slavePath()));
    QVERIFY(root.link("ttyUSB0", phonePath));
    QVERIFY(root.alias("usb-Acme_Brick_9-if00", "ttyUSB0"));

    CConnectionDlg dialog(nullptr, root.node("ttyUSB0"), root.path(), kProbeMs);
    auto* ports = dialog.findChild<QTreeWidget*>("ports");
    auto* state = dialog.findChild<QLabel*>("searchState");
    auto* again = dialog.findChild<QPushButton*>("searchAgain");
    QVERIFY(ports && state && again);
    // The window is there at once and the search goes on behind it.
    QVERIFY(dialog.IsSearching());
    QVERIFY(!again->isEnabled());
    QCOMPARE(state->text(), QStringLiteral("Searching the serial ports..."));
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.IsSearching(), kWaitMs);
    QCOMPARE(ports->topLevelItemCount(), 3);
    QCOMPARE(Row(ports, 0), QStringList({"Built-in telephone emulator", "always there", ""}));
    QCOMPARE(Row(ports, 1), QStringList({root.node("ttyACM0"), "no answer", ""}));
    QCOMPARE(Row(ports, 2), QStringList({root.node("ttyUSB0"), "Acme Mobile Brick 9", "/dev/serial/by-id/usb-Acme_Brick_9-if00"}));
    QCOMPARE(state->text(), QStringLiteral("2 serial ports, 1 with a telephone answering."));
    // The device in use is the selected row.
    QCOMPARE(ports->currentItem(), ports->topLevelItem(2));
    QVERIFY(again->isEnabled());

    QTest::mouseClick(again, Qt::LeftButton);
    QVERIFY(dialog.IsSearching());
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.IsSearching(), kWaitMs);
    QCOMPARE(ports->topLevelItemCount(), 3);
    phone.stop();
}

void TestConnectionChoice::dialogTakesARowOrATypedPath()
{
    DeviceRoot root;
    QVERIFY(root.valid());
    CConnectionDlg dialog(nullptr, "/dev/ttyUSB3", root.path(), kProbeMs);
    auto* ports = dialog.findChild<QTreeWidget*>("ports");
    auto* device = dialog.findChild<QLineEdit*>("device");
    auto* problem = dialog.findChild<QLabel*>("problem");
    QVERIFY(ports && device && problem);
    QCOMPARE(device->text(), QStringLiteral("/dev/ttyUSB3"));
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.IsSearching(), kWaitMs);
    QCOMPARE(ports->topLevelItemCount(), 1);
    // No row is the device in use: what the field holds stays.
    QCOMPARE(device->text(), QStringLiteral("/dev/ttyUSB3"));

    // The built-in phone's row empties the field; OK then chooses the built-in phone.
    ports->setCurrentItem(ports->topLevelItem(0));
    QCOMPARE(device->text(), QString());
    QVERIFY(!device->placeholderText().isEmpty());

    // A relative path is a slip: the dialog stays, says why and keeps the field.
    device->setText("ttyUSB0");
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(problem->text().contains("/dev/ttyUSB0"));
    QTest::keyClicks(device, "x");
    QCOMPARE(problem->text(), QString()); // typing again takes the word back

    device->setText("  /dev/rfcomm0 ");
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.ChosenDevice(), QStringLiteral("/dev/rfcomm0"));
}

void TestConnectionChoice::dialogGoneBeforeTheSearchEndsIsQuiet()
{
    DeviceRoot root;
    QVERIFY(root.valid());
    PseudoTerminal silent;
    QString error;
    QVERIFY2(silent.open(&error), qPrintable(error));
    QVERIFY(root.link("ttyUSB0", silent.slavePath()));
    {
        CConnectionDlg dialog(nullptr, {}, root.path(), kProbeMs);
        QVERIFY(dialog.IsSearching());
    }
    // The search ends on its own and its answer finds nobody to tell.
    QVERIFY(QThreadPool::globalInstance()->waitForDone(kWaitMs));
    QCoreApplication::processEvents();
}

void TestConnectionChoice::chosenTelephoneIsReadWrittenAndKept()
{
    FormFixture& f = StartForm();
    CDlgView* v = f.View();
    const QString first = TelephoneConnection::Current();
    OtherPhone other({{1, {"Zora", "999"}}, {3, {"Yann", "333"}}});
    f.Questions().AnswerConnection(true, other.device().toStdString());
    QVERIFY(f.Frame()->ExecuteCommand(ID_FILE_CONNECTION));
    // The dialog opened on the device in use.
    QCOMPARE(f.Questions().AskedOfKind("connection").back().text, first.toStdString());
    QVERIFY(f.WaitUntilIdle());
    QCOMPARE(Names(PhoneList(v)), QStringList({"Yann", "Zora"}));
    QCOMPARE(DeviceSetting().toString(), other.device());

    // From now on the writes go to the new telephone; the old one keeps what it had.
    ClickRow(PhoneList(v), 0);
    f.Questions().AnswerYesNo(Ids::IDS_DELETE_ONE, true);
    QVERIFY(f.Frame()->ExecuteCommand(ID_EDIT_CLEAR));
    QTest::mouseClick(SaveToPhoneButton(v), Qt::LeftButton);
    QVERIFY(f.WaitUntilIdle());
    QCOMPARE(other.phone().state().storage("ON")->entries.keys(), QList<int>({1})); // Yann (3) deleted
    QCOMPARE(f.Phone().state().storage("ON")->entries.size(), 3);
    QVERIFY(!f.PhoneLog().contains("AT+CPBW"));
}

void TestConnectionChoice::unsavedChangesAreDroppedOnlyWhenTheUserSaysSo()
{
    FormFixture& f = StartForm();
    CDlgView* v = f.View();
    OtherPhone other({{1, {"Zora", "999"}}});
    ClickRow(PhoneList(v), 0);
    f.Questions().AnswerYesNo(Ids::IDS_DELETE_ONE, true);
    QVERIFY(f.Frame()->ExecuteCommand(ID_EDIT_CLEAR));
    QCOMPARE(Names(PhoneList(v)), QStringList({"Bert", "Carl"}));

    // No: the old telephone stays, with the deletion still to be written.
    f.Questions().AnswerConnection(true, other.device().toStdString());
    f.Questions().AnswerYesNo(Ids::IDS_CONNECT_DROPS_CHANGES, false);
    QVERIFY(f.Frame()->ExecuteCommand(ID_FILE_CONNECTION));
    QCOMPARE(Names(PhoneList(v)), QStringList({"Bert", "Carl"}));
    QVERIFY(v->Store().HasFlag(VF_PHONE_MODIFIED));
    QVERIFY(!DeviceSetting().isValid());

    // Yes: the change is dropped, nothing is written to either telephone, and the new one is read.
    f.Questions().AnswerConnection(true, other.device().toStdString());
    f.Questions().AnswerYesNo(Ids::IDS_CONNECT_DROPS_CHANGES, true);
    QVERIFY(f.Frame()->ExecuteCommand(ID_FILE_CONNECTION));
    QVERIFY(f.WaitUntilIdle());
    QCOMPARE(Names(PhoneList(v)), QStringList({"Zora"}));
    QVERIFY(!v->Store().HasFlag(VF_PHONE_MODIFIED));
    QCOMPARE(f.Phone().state().storage("ON")->entries.size(), 3);
    QCOMPARE(other.phone().state().storage("ON")->entries.size(), 1);
    // A save now has nothing left of the old telephone's deletion.
    QTest::mouseClick(SaveToPhoneButton(v), Qt::LeftButton);
    QVERIFY(f.WaitUntilIdle());
    QCOMPARE(other.phone().state().storage("ON")->entries.size(), 1);
    QVERIFY(f.Questions().TakeReports().empty());
}

void TestConnectionChoice::cancelOrTheSameDeviceChangesNothing()
{
    FormFixture& f = StartForm();
    CDlgView* v = f.View();
    const qsizetype readsBefore = f.PhoneLog().count("AT+CPBR");
    f.Questions().AnswerConnection(false, "/dev/ttyUSB9");
    QVERIFY(f.Frame()->ExecuteCommand(ID_FILE_CONNECTION));
    f.Questions().AnswerConnection(true, TelephoneConnection::Current().toStdString());
    QVERIFY(f.Frame()->ExecuteCommand(ID_FILE_CONNECTION));
    QVERIFY(f.WaitUntilIdle());
    QCOMPARE(Names(PhoneList(v)), QStringList({"Anna", "Bert", "Carl"}));
    QCOMPARE(f.PhoneLog().count("AT+CPBR"), readsBefore);
    QVERIFY(!DeviceSetting().isValid());
}

void TestConnectionChoice::emptyChoiceIsTheBuiltInPhone()
{
    FormFixture& f = StartForm();
    CDlgView* v = f.View();
    OtherPhone other({{1, {"Zora", "999"}}});
    f.Questions().AnswerConnection(true, other.device().toStdString());
    QVERIFY(f.Frame()->ExecuteCommand(ID_FILE_CONNECTION));
    QVERIFY(f.WaitUntilIdle());
    QVERIFY(DeviceSetting().isValid());

    f.Questions().AnswerConnection(true, {});
    QVERIFY(f.Frame()->ExecuteCommand(ID_FILE_CONNECTION));
    QVERIFY(f.WaitUntilIdle());
    QCOMPARE(Names(PhoneList(v)), QStringList({"Mein Handy"}));
    QVERIFY(!DeviceSetting().isValid());
    const QString state = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/phone-state.json";
    QVERIFY2(QFile::exists(state), qPrintable(state));
    // The dialog opens next time on the built-in phone.
    f.Questions().AnswerConnection(false);
    QVERIFY(f.Frame()->ExecuteCommand(ID_FILE_CONNECTION));
    QCOMPARE(f.Questions().AskedOfKind("connection").back().text, std::string());
}

void TestConnectionChoice::noChoiceWhileTheTelephoneWorks()
{
    FormFixture& f = NewForm();
    f.PhoneOptions().latencyMs = 300;
    f.SetPhoneState(OwnNumbers({{1, {"Anna", "111"}}}));
    f.Start();
    QVERIFY(f.View()->Store().HasFlag(VF_BUSY));
    QVERIFY(!f.Frame()->IsCommandEnabled(ID_FILE_CONNECTION));
    QVERIFY(!f.Frame()->ExecuteCommand(ID_FILE_CONNECTION));
    QVERIFY(f.Questions().AskedOfKind("connection").empty());
    QVERIFY(f.WaitUntilIdle());
    QVERIFY(f.Frame()->IsCommandEnabled(ID_FILE_CONNECTION));
}

QTEST_MAIN(TestConnectionChoice)
#include "TestConnectionChoice.moc"
