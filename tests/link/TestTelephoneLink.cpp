// The link library against the emulated phone on a real pseudo-terminal: what the window receives, when,
// and what reaches the phone.
#include "LinkTestSupport.h"
#include "res/ErrorReport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QTimer>

namespace {
constexpr int kWaitMs = 60000;

QString entryName(const EmulatorState& state, const char* storage, int index)
{
    const EmulatorStorage* s = state.storage(storage);
    return s && s->entries.contains(index) ? s->entries[index].name : QStringLiteral("<none>");
}

EmulatorState stateWithEntries(const char* storage, int capacity, int count)
{
    EmulatorState state = EmulatorState::blank();
    EmulatorStorage s = *state.storage(storage);
    s.capacity = capacity;
    for (int i = 1; i <= count; ++i)
        s.entries.insert(i, EmulatorEntry{QStringLiteral("Name %1").arg(i), QStringLiteral("+49301%1").arg(i, 5, 10, QChar('0'))});
    state.setStorage(storage, s);
    return state;
}
}

class TestTelephoneLink : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void readsSeededDirectoryAsRecordBlock();
    void everyDirectoryCodeReadsItsStorage();
    void writeDeleteAndReadBack();
    void atSignAndVipMarkSurviveARoundTrip();
    void readOnlyDirectoryRefusesWrites();
    void badWriteArgumentsAreRefusedWithoutHarm();
    void missingStorageEndsWithMinusFour();
    void hangupDuringReadEndsWithMinusOneAndNoData();
    void linkRecoversWhenThePhoneComesBack();
    void refusedWriteIsReportedAndLaterWritesWork();
    void silentPhoneTimesOutWhileTheWindowStaysResponsive();
    void requestsMadeMeanwhileAreQueuedInOrder();
    void longReadReportsProgress();
    void moreThanThousandRecordsKeepTheLowestThousand();
    void phoneChangedByAnotherProgramIsSetUpAgain();
    void deletedWindowIsNotTold();
    void deviceThatCannotBeOpenedFails();
    void errorReportsGoToTheHandler();
    void fieldsArriveWholeInTheBlock();
    void keypadRecordAndDroppedWriteAnswer();
};

void TestTelephoneLink::cleanup()
{
    SetErrorReportHandler({});
}

void TestTelephoneLink::readsSeededDirectoryAsRecordBlock()
{
    EmulatedPhone phone;
    QVERIFY(phone.started());
    RecordingWindow window;
    QCOMPARE(ATPBRead(&window, UM_PHONEBOOK_READ, "SM"), 0);
    QVERIFY(window.messages.isEmpty()); // nothing before the event loop runs: the call returned at once
    QTRY_COMPARE_WITH_TIMEOUT(window.messages.size(), 1, kWaitMs);
    const ReceivedMessage& m = window.last();
    QCOMPARE(m.message, UM_PHONEBOOK_READ);
    QVERIFY(m.onOwnThread);
    QVERIFY(m.lParam != PB_READ_NO_DATA && m.lParam != PB_READ_NOT_AVAILABLE);
    QCOMPARE(m.data.nNameLen, 16);
    QCOMPARE(m.data.nNumberLen, 20);
    QCOMPARE(m.data.nMaxEntries, 250);
    QCOMPARE(m.data.nCount, 8);
    const QList<ReadRecord> records = RecordingWindow::recordsOf(m);
    QCOMPARE(records[0].index, 1);
    QCOMPARE(records[0].text(), QStringLiteral("Anna Müller"));
    QCOMPARE(records[0].name, QStringLiteral("Anna Müller").toUtf8()); // the block carries UTF-8
    QCOMPARE(m.data.nNameFieldSize, 4 * 16);
    QCOMPARE(m.data.nUcs2NameLen, 7); // the emulated SIM reports no length of its own under UCS2
    QCOMPARE(records[0].number, QByteArray("+4930123456"));
    QCOMPARE(records[1].text(), QStringLiteral("Jörg Bäcker!"));
    QCOMPARE(records[7].index, 12);
    QCOMPARE(records[6].number, QByteArray("*100#"));
}

void TestTelephoneLink::everyDirectoryCodeReadsItsStorage()
{
    EmulatedPhone phone;
    QVERIFY(phone.started());
    RecordingWindow window;
    const QList<QPair<const char*, const char*>> expected = {{"SM", "Anna Müller"}, {"ME", "Mama"},  {"LD", "Anna Müller"},
                                                             {"OW", "Mein Handy"},  {"FD", "Notruf"}, {"MC", ""},
                                                             {"CD", "Büro"}};
    for (const auto& [code, firstName] : expected) ATPBRead(&window, UM_PHONEBOOK_READ, code);
    QTRY_COMPARE_WITH_TIMEOUT(window.messages.size(), expected.size(), kWaitMs);
    for (int i = 0; i < expected.size(); ++i) {
        const QList<ReadRecord> records = RecordingWindow::recordsOf(window.messages[i]);
        QVERIFY2(!records.isEmpty(), expected[i].first);
        QCOMPARE(records[0].text(), QString::fromUtf8(expected[i].second));
    }
    QCOMPARE(window.messages[3].data.nMaxEntries, 4); // own numbers
}

void TestTelephoneLink::writeDeleteAndReadBack()
{
    EmulatedPhone phone;
    QVERIFY(phone.started());
    RecordingWindow window;
    ATPBWrite(&window, UM_PHONEBOOK_WRITTEN, "SM", 30, QStringLiteral("Kühn Ærø").toUtf8().constData(), "+4940123");
    ATPBWrite(&window, UM_PHONEBOOK_WRITTEN, "SM", 3, "", "");
    ATPBWrite(&window, UM_PHONEBOOK_WRITTEN, "OW", 2, "Work", "0301");
    QTRY_COMPARE_WITH_TIMEOUT(window.messages.size(), 3, kWaitMs);
    for (const ReceivedMessage& m : window.messages) {
        QCOMPARE(m.message, UM_PHONEBOOK_WRITTEN);
        QCOMPARE(m.lParam, intptr_t(0));
    }
    const EmulatorState state = phone.emulator().state();
    QCOMPARE(entryName(state, "SM", 30), QStringLiteral("Kühn Ærø"));
    QCOMPARE(state.storage("SM")->entries[30].number, QStringLiteral("+4940123"));
    QCOMPARE(entryName(state, "SM", 3), QStringLiteral("<none>"));
    QCOMPARE(entryName(state, "ON", 2), QStringLiteral("Work"));
    // Saved at once, as readable JSON.
    QFile file(phone.stateFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray json = file.readAll();
    QVERIFY(json.contains("Kühn Ærø"));
    QVERIFY(QJsonDocument::fromJson(json).isObject());

    ATPBRead(&window, UM_PHONEBOOK_READ, "SM");
    QTRY_COMPARE_WITH_TIMEOUT(window.messages.size(), 4, kWaitMs);
    const QList<ReadRecord> records = RecordingWindow::recordsOf(window.last());
    QCOMPARE(records.size(), 8);
    QCOMPARE(records.last().index, 30);
    QCOMPARE(records.last().text(), QStringLiteral("Kühn Ærø"));
}

void TestTelephoneLink::atSignAndVipMarkSurviveARoundTrip()
{
    EmulatedPhone phone;
    QVERIFY(phone.started());
    RecordingWindow window;
    const QByteArray name = QStringLiteral("@Home 16 chars!").toUtf8();
    ATPBWrite(&window, UM_PHONEBOOK_WRITTEN, "SM", 9, name.constData(), "12");
    ATPBRead(&window, UM_PHONEBOOK_READ, "SM");
    QTRY_COMPARE_WITH_TIMEOUT(window.messages.size(), 2, kWaitMs);
    QCOMPARE(window.messages[0].lParam, intptr_t(0));
    QCOMPARE(entryName(phone.emulator().state(), "SM", 9), QStringLiteral("@Home 16 chars!"));
    const QList<ReadRecord> records = RecordingWindow::recordsOf(window.last());
    auto it = std::find_if(records.begin(), records.end(), [](const ReadRecord& r) { return r.index == 9; });
    QVERIFY(it != records.end());
    // The name is not cut at "@" (GSM code 0x00): it arrives whole.
    QCOMPARE(it->name, QByteArray("@Home 16 chars!"));
}

void TestTelephoneLink::readOnlyDirectoryRefusesWrites()
{
    EmulatedPhone phone;
    QVERIFY(phone.started());
    RecordingWindow window;
    for (const char* code : {"LD", "MC", "CD"}) ATPBWrite(&window, UM_PHONEBOOK_WRITTEN, code, 1, "X", "1");
    QTRY_COMPARE_WITH_TIMEOUT(window.messages.size(), 3, kWaitMs);
    for (const ReceivedMessage& m : window.messages) QVERIFY(m.lParam != 0);
    QCOMPARE(entryName(phone.emulator().state(), "LD", 1), QStringLiteral("Anna Müller"));
}

void TestTelephoneLink::badWriteArgumentsAreRefusedWithoutHarm()
{
    EmulatedPhone phone;
    QVERIFY(phone.started());
    RecordingWindow window;
    ATPBWrite(&window, UM_PHONEBOOK_WRITTEN, "SM", 251, "Beyond", "1");           // outside the storage
    ATPBWrite(&window, UM_PHONEBOOK_WRITTEN, "SM", 0, "Zero", "1");
    ATPBWrite(&window, UM_PHONEBOOK_WRITTEN, "SM", 1, "X", "1\",129,\"Y\";+CPBW=2"); // command text in a number
    ATPBWrite(&window, UM_PHONEBOOK_WRITTEN, "SM", 1, "A name far too long for a SIM", "1");
    ATPBWrite(&window, UM_PHONEBOOK_WRITTEN, "XX", 1, "X", "1");
    ATPBWrite(&window, UM_PHONEBOOK_WRITTEN, nullptr, 1, nullptr, nullptr);
    QTRY_COMPARE_WITH_TIMEOUT(window.messages.size(), 6, kWaitMs);
    for (const ReceivedMessage& m : window.messages) QVERIFY(m.lParam != 0);
    const EmulatorState state = phone.emulator().state();
    QCOMPARE(entryName(state, "SM", 1), QStringLiteral("Anna Müller"));
    QCOMPARE(entryName(state, "SM", 2), QStringLiteral("Jörg Bäcker!"));
}

void TestTelephoneLink::missingStorageEndsWithMinusFour()
{
    PhoneEmulatorOptions options;
    options.without = QStringList{"OW", "FD"};
    EmulatedPhone phone(options);
    QVERIFY(phone.started());
    RecordingWindow window;
    ATPBRead(&window, UM_PHONEBOOK_READ, "OW");
    ATPBRead(&window, UM_PHONEBOOK_READ, "FD");
    ATPBRead(&window, UM_PHONEBOOK_READ, "ZZ");
    ATPBRead(&window, UM_PHONEBOOK_READ, "SM");
    QTRY_COMPARE_WITH_TIMEOUT(window.messages.size(), 4, kWaitMs);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(window.messages[i].lParam, PB_READ_NOT_AVAILABLE);
        QCOMPARE(window.messages[i].data.nCount, 0);
    }
    QCOMPARE(window.messages[3].data.nCount, 8);
}

void TestTelephoneLink::hangupDuringReadEndsWithMinusOneAndNoData()
{
    // Set-up, with the storage's format asked in GSM and in UCS2, takes twelve commands; the line drops in the
    // middle of the first range read's answer.
    PhoneEmulatorOptions options;
    options.hangupAfter = 12;
    EmulatedPhone phone(options, 3000, nullptr);
    QVERIFY(phone.started());
    RecordingWindow window;
    ATPBRead(&window, UM_PHONEBOOK_READ, "SM");
    QTRY_COMPARE_WITH_TIMEOUT(window.messages.size(), 1, kWaitMs);
    QCOMPARE(window.last().lParam, PB_READ_NO_DATA);
    QCOMPARE(window.last().data.nCount, 0);
    ATPBWrite(&window, UM_PHONEBOOK_WRITTEN, "SM", 5, "X", "1");
    QTRY_COMPARE_WITH_TIMEOUT(window.messages.size(), 2, kWaitMs);
    QVERIFY(window.last().lParam != 0);
}

void TestTelephoneLink::linkRecoversWhenThePhoneComesBack()
{
    RecordingWindow window;
    {
        PhoneEmulatorOptions options;
        options.hangupAfter = 2;
        EmulatedPhone broken(options, 3000);
        ATPBRead(&window, UM_PHONEBOOK_READ, "SM");
        QTRY_COMPARE_WITH_TIMEOUT(window.messages.size(), 1, kWaitMs);
        QCOMPARE(window.last().lParam, PB_READ_NO_DATA);
    }
    EmulatedPhone phone;
    ATPBRead(&window, UM_PHONEBOOK_READ, "SM");
    QTRY_COMPARE_WITH_TIMEOUT(window.messages.size(), 2, kWaitMs);
    QCOMPARE(window.last().data.nCount, 8);
}

void TestTelephoneLink::refusedWriteIsReportedAndLaterWritesWork()
{
    PhoneEmulatorOptions options;
    options.failWrite = 2;
    EmulatedPhone phone(options);
    QVERIFY(phone.started());
    RecordingWindow window;
    for (int index : {40, 41, 42}) ATPBWrite(&window, UM_PHONEBOOK_WRITTEN, "SM", index, "Name", "123");
    QTRY_COMPARE_WITH_TIMEOUT(window.messages.size(), 3, kWaitMs);
    QCOMPARE(window.messages[0].lParam, intptr_t(0));
    QVERIFY(window.messages[1].lParam != 0);
    QCOMPARE(window.messages[2].lParam, intptr_t(0));
    const EmulatorState state = phone.emulator().state();
    QCOMPARE(entryName(state, "SM", 41), QStringLiteral("<none>"));
    QCOMPARE(entryName(state, "SM", 42), QStringLiteral("Name"));
}

void TestTelephoneLink::silentPhoneTimesOutWhileTheWindowStaysResponsive()
{
    PhoneEmulatorOptions options;
    options.latencyMs = 4000;
    EmulatedPhone phone(options, 500);
    QVERIFY(phone.started());
    RecordingWindow window;
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(50);
    ATPBRead(&window, UM_PHONEBOOK_READ, "SM");
    QTRY_COMPARE_WITH_TIMEOUT(window.messages.size(), 1, kWaitMs);
    QCOMPARE(window.last().lParam, PB_READ_NO_DATA);
    QVERIFY(ticks > 2); // the event loop kept running while the phone was silent
}

void TestTelephoneLink::requestsMadeMeanwhileAreQueuedInOrder()
{
    EmulatedPhone phone;
    QVERIFY(phone.started());
    RecordingWindow window;
    ATPBRead(&window, UM_PHONEBOOK_READ, "SM");
    ATPBWrite(&window, UM_PHONEBOOK_WRITTEN, "SM", 50, "Queued", "555");
    ATPBRead(&window, UM_PHONEBOOK_READ, "SM");
    QTRY_COMPARE_WITH_TIMEOUT(window.messages.size(), 3, kWaitMs);
    QCOMPARE(window.messages[0].message, UM_PHONEBOOK_READ);
    QCOMPARE(window.messages[0].data.nCount, 8);
    QCOMPARE(window.messages[1].message, UM_PHONEBOOK_WRITTEN);
    QCOMPARE(window.messages[2].data.nCount, 9);
}

void TestTelephoneLink::longReadReportsProgress()
{
    const EmulatorState state = stateWithEntries("SM", 250, 250);
    EmulatedPhone phone({}, 8000, &state);
    QVERIFY(phone.started());
    RecordingWindow window;
    ATPBRead(&window, UM_PHONEBOOK_READ, "SM");
    QTRY_COMPARE_WITH_TIMEOUT(window.messages.size(), 1, kWaitMs);
    QCOMPARE(window.last().data.nCount, 250);
    QVERIFY(window.progress.size() >= 5);
    for (int i = 1; i < window.progress.size(); ++i) QVERIFY(window.progress[i].first > window.progress[i - 1].first);
    QCOMPARE(window.progress.last().second, 250);
    const QList<ReadRecord> records = RecordingWindow::recordsOf(window.last());
    QCOMPARE(records[249].index, 250);
    QCOMPARE(records[249].number, QByteArray("+4930100250"));
}

void TestTelephoneLink::moreThanThousandRecordsKeepTheLowestThousand()
{
    const EmulatorState state = stateWithEntries("ME", 1200, 1200);
    EmulatedPhone phone({}, 8000, &state);
    QVERIFY(phone.started());
    RecordingWindow window;
    ATPBRead(&window, UM_PHONEBOOK_READ, "ME");
    QTRY_COMPARE_WITH_TIMEOUT(window.messages.size(), 1, kWaitMs);
    QCOMPARE(window.last().data.nCount, 1000);
    QCOMPARE(window.last().data.nMaxEntries, 1200);
    const QList<ReadRecord> records = RecordingWindow::recordsOf(window.last());
    QCOMPARE(records.first().index, 1);
    QCOMPARE(records.last().index, 1000);
}

void TestTelephoneLink::phoneChangedByAnotherProgramIsSetUpAgain()
{
    EmulatedPhone phone;
    QVERIFY(phone.started());
    RecordingWindow window;
    ATPBRead(&window, UM_PHONEBOOK_READ, "SM");
    QTRY_COMPARE_WITH_TIMEOUT(window.messages.size(), 1, kWaitMs);
    QVERIFY(switchPhoneBehindTheLink(phone, kWaitMs));
    // "ë" is outside the GSM alphabet: the name goes in UCS2, which another program had switched away from.
    ATPBWrite(&window, UM_PHONEBOOK_WRITTEN, "SM", 61, QStringLiteral("Zoë Öz").toUtf8().constData(), "7");
    QTRY_COMPARE_WITH_TIMEOUT(window.messages.size(), 2, kWaitMs);
    QCOMPARE(window.last().lParam, intptr_t(0));
    const EmulatorState state = phone.emulator().state();
    QCOMPARE(entryName(state, "SM", 61), QStringLiteral("Zoë Öz"));
    QCOMPARE(entryName(state, "ME", 61), QStringLiteral("<none>"));
}

void TestTelephoneLink::deletedWindowIsNotTold()
{
    EmulatedPhone phone;
    QVERIFY(phone.started());
    auto* gone = new RecordingWindow;
    ATPBRead(gone, UM_PHONEBOOK_READ, "SM");
    delete gone;
    RecordingWindow window;
    ATPBRead(&window, UM_PHONEBOOK_READ, "ME");
    QTRY_COMPARE_WITH_TIMEOUT(window.messages.size(), 1, kWaitMs);
    QCOMPARE(window.last().data.nCount, 3);
}

void TestTelephoneLink::deviceThatCannotBeOpenedFails()
{
    QTemporaryDir dir;
    LinkOptions options;
    options.device = dir.filePath("no-such-device");
    ConnectTelephoneLink(options);
    RecordingWindow window;
    ATPBRead(&window, UM_PHONEBOOK_READ, "SM");
    ATPBWrite(&window, UM_PHONEBOOK_WRITTEN, "SM", 1, "X", "1");
    QTRY_COMPARE_WITH_TIMEOUT(window.messages.size(), 2, kWaitMs);
    QCOMPARE(window.messages[0].lParam, PB_READ_NO_DATA);
    QVERIFY(window.messages[1].lParam != 0);
}

void TestTelephoneLink::errorReportsGoToTheHandler()
{
    QList<QPair<int, int>> reports;
    SetErrorReportHandler([&](int errorClass, int messageId) { reports.append({errorClass, messageId}); });
    QCOMPARE(Fehler_Melden(5, 41019), 0);
    Fehler_Melden(3, 41017);
    QCOMPARE(reports, (QList<QPair<int, int>>{{5, 41019}, {3, 41017}}));
    QCOMPARE(ErrorReport::message(41019), QStringLiteral("An error occurred while reading telephone data: No data."));
    QCOMPARE(ErrorReport::remedy(41019), QStringLiteral("Check connection to telephone."));
    QVERIFY(ErrorReport::remedy(41018).isEmpty());
    QVERIFY(ErrorReport::remedy(41017).isEmpty()); // its message holds the reasons already
    QCOMPARE(ErrorReport::plainText(3, 41017).count(QStringLiteral("Possible reasons:")), 1);
    QCOMPARE(ErrorReport::plainText(3, 41017).count(QStringLiteral("2) invalid index chosen")), 1);
    QVERIFY(ErrorReport::caption(5) != ErrorReport::caption(3));
    QVERIFY(ErrorReport::plainText(4, 41020).contains("Select another telephone directory for writing"));
}

void TestTelephoneLink::fieldsArriveWholeInTheBlock()
{
    // A name of the storage's full length, a "!" inside a name and a "+" with every digit the phone keeps: the
    // block holds each as the phone answered it, in a full read and in a span read alike.
    EmulatorState state = EmulatorState::blank();
    EmulatorStorage sim = *state.storage("SM");
    sim.nameLength = 20;
    sim.entries.insert(1, EmulatorEntry{QStringLiteral("Yahoo! Mail"), QStringLiteral("+12345678901234567890")});
    sim.entries.insert(2, EmulatorEntry{QStringLiteral("Twenty characters ok"), QStringLiteral("98765432109876543210")});
    state.setStorage("SM", sim);
    EmulatedPhone phone({}, 8000, &state);
    QVERIFY(phone.started());
    RecordingWindow window;
    ATPBRead(&window, UM_PHONEBOOK_READ, "SM");
    ATPBReadSpan(&window, UM_PHONEBOOK_SPAN_READ, "SM", 0, 2);
    QTRY_COMPARE_WITH_TIMEOUT(window.messages.size(), 2, kWaitMs);
    for (const ReceivedMessage& m : window.messages) {
        QCOMPARE(m.lParam, intptr_t(2));
        QCOMPARE(m.data.nNumberFieldSize, 21);
        const QList<ReadRecord> records = RecordingWindow::recordsOf(m);
        QCOMPARE(records[0].text(), QStringLiteral("Yahoo! Mail"));
        QCOMPARE(records[0].number, QByteArray("+12345678901234567890"));
        QCOMPARE(records[1].text(), QStringLiteral("Twenty characters ok"));
        QCOMPARE(records[1].number, QByteArray("98765432109876543210"));
    }
}

void TestTelephoneLink::keypadRecordAndDroppedWriteAnswer()
{
    // Set-up and the three range reads of the SIM take fifteen commands; then the user types a record on the
    // phone. The first record write is stored, but the phone goes off before its answer.
    PhoneEmulatorOptions options;
    options.keypadAfter = 15;
    options.keypadAdd = EmulatorKeypadRecord{QStringLiteral("SM"), 0, QStringLiteral("Tastatur Ölz"), QStringLiteral("555")};
    options.dropWriteAnswer = 1;
    EmulatedPhone phone(options, 3000);
    QVERIFY(phone.started());
    RecordingWindow window;
    ATPBRead(&window, UM_PHONEBOOK_READ, "SM");
    QTRY_COMPARE_WITH_TIMEOUT(window.messages.size(), 1, kWaitMs);
    QCOMPARE(phone.emulator().commandsAnswered(), 15);
    QCOMPARE(window.last().lParam, intptr_t(8));
    ATPBRead(&window, UM_PHONEBOOK_READ, "SM");
    QTRY_COMPARE_WITH_TIMEOUT(window.messages.size(), 2, kWaitMs);
    const QList<ReadRecord> records = RecordingWindow::recordsOf(window.last());
    QCOMPARE(records.size(), 9);
    QCOMPARE(records[5].index, 6); // the first free location
    QCOMPARE(records[5].text(), QStringLiteral("Tastatur Ölz"));

    ATPBWrite(&window, UM_PHONEBOOK_WRITTEN, "SM", 40, "Stored", "4711");
    QTRY_COMPARE_WITH_TIMEOUT(window.messages.size(), 3, kWaitMs);
    QCOMPARE(window.last().lParam, intptr_t(PhonebookSession::kWriteUnanswered));
    QCOMPARE(entryName(phone.emulator().state(), "SM", 40), QStringLiteral("Stored"));
    // The phone is gone: the next write is never sent, and says so.
    ATPBWrite(&window, UM_PHONEBOOK_WRITTEN, "SM", 41, "Lost", "4712");
    QTRY_COMPARE_WITH_TIMEOUT(window.messages.size(), 4, kWaitMs);
    QCOMPARE(window.last().lParam, intptr_t(PhonebookSession::kWriteLinkLost));
    QCOMPARE(entryName(phone.emulator().state(), "SM", 41), QStringLiteral("<none>"));
}

QTEST_GUILESS_MAIN(TestTelephoneLink)
#include "TestTelephoneLink.moc"
