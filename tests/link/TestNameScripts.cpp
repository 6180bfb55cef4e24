// Every name survives the way to the phone and back: names of many scripts written through the link library to
// the emulated phone on a real pseudo-terminal, with what went over the line, what the phone keeps and what a
// read gives back; and names damaged on the line, which are read once more and marked when still damaged.
#include "LinkTestSupport.h"

#include "link/AtReply.h"

#include <QSet>
#include <QTest>

#include <random>

namespace {
constexpr int kWaitMs = 60000;
constexpr int kGsmLength = 16; // the emulated SIM's name length

// One name: the set it goes in when the phone offers UCS2, the exact bytes between the quotes of AT+CPBW, and its
// length counted as the phone counts it (GSM positions with an extension character as two, else characters).
// A phone without UCS2 takes the names of the GSM alphabet alike and refuses the others before anything is sent.
struct ScriptRow {
    const char* script;
    const char* name;
    bool gsm; // all of it in the GSM alphabet
    int length;
    const char* set;
    const char* field;
};

const ScriptRow kScripts[] = {
    {"Polish", "Łukasz Żak", false, 10, "UCS2", "01410075006B00610073007A0020017B0061006B"},
    {"Cyrillic", "Иван Петров", false, 11, "UCS2", "041804320430043D0020041F043504420440043E0432"},
    {"Greek", "Γιώργος", false, 7, "UCS2", "039303B903CE03C103B303BF03C2"},
    {"Czech", "Žluťoučký kůň", false, 13, "UCS2", "017D006C00750165006F0075010D006B00FD0020006B016F0148"},
    {"CJK", "李小龍", false, 3, "UCS2", "674E5C0F9F8D"},
    {"Arabic", "محمد علي", false, 8, "UCS2", "0645062D0645062F002006390644064A"},
    {"Turkish", "Şükrü Öztürk", false, 12, "UCS2", "015E00FC006B007200FC002000D6007A007400FC0072006B"},
    {"Hebrew", "דוד כהן", false, 7, "UCS2", "05D305D505D3002005DB05D405DF"},
    {"Romanian", "Ștefan", false, 6, "UCS2", "02180074006500660061006E"},
    {"Thai", "สมชาย", false, 5, "UCS2", "0E2A0E210E0A0E320E22"},
    {"Devanagari", "राहुल", false, 5, "UCS2", "0930093E093909410932"},
    // The GSM alphabet: raw codes where every one can stand in a command line, else their hex.
    {"German", "Anna Müller", true, 11, "GSM", "Anna M~ller"},
    {"Spanish", "Peña Ñico ¿?", true, 12, "GSM", "Pe}a ]ico `?"},
    {"Danish", "Søren Ærø", true, 9, "HEX", "530C72656E201C720C"},
    {"Greek capitals", "ΔΦΓΛΩΠΨΣΘΞ", true, 10, "HEX", "1012131415161718191A"},
    {"extension table", "{€} \\^|~", true, 15, "HEX", "1B281B651B29201B2F1B141B401B3D"},
    {"dollar and at sign", "$5 @ Café", true, 9, "HEX", "023520002043616605"},
    {"quotes", "Say \"hi\"", true, 8, "HEX", "5361792022686922"},
    {"O with diaeresis", "Ölz", true, 3, "HEX", "5C6C7A"},
};

// The phones of the table: one that reports a UCS2 length of its own (other than its GSM length, so that it
// tells), a SIM that keeps (16 - 1) / 2 UCS2 characters, and one without UCS2.
struct PhoneKind {
    const char* what;
    bool ucs2;
    int ucs2Length; // what the phone reports and keeps; 0: (16 - 1) / 2
    int ucs2Limit;  // what the link must hand on
};
const PhoneKind kPhones[] = {{"UCS2 length 12 reported", true, 12, 12}, {"UCS2 as a SIM", true, 0, 7}, {"no UCS2", false, 0, 0}};

enum class Outcome { Written = 0, Refused = 1, NotSent = 2 };

Outcome expectedOutcome(const ScriptRow& row, int length, const PhoneKind& phone)
{
    if (!row.gsm && !phone.ucs2) return Outcome::NotSent;
    return length > (row.gsm ? kGsmLength : phone.ucs2Limit) ? Outcome::Refused : Outcome::Written;
}

intptr_t writeOne(int index, const QString& name)
{
    RecordingWindow window;
    const QByteArray utf8 = name.toUtf8();
    ATPBWrite(&window, UM_PHONEBOOK_WRITTEN, "SM", index, utf8.constData(), "+4930");
    if (!QTest::qWaitFor([&] { return !window.messages.isEmpty(); }, kWaitMs)) return -99;
    return window.last().lParam;
}

ReceivedMessage readSim()
{
    RecordingWindow window;
    ATPBRead(&window, UM_PHONEBOOK_READ, "SM");
    if (!QTest::qWaitFor([&] { return !window.messages.isEmpty(); }, kWaitMs)) return {};
    return window.last();
}

QMap<int, ReadRecord> byIndex(const ReceivedMessage& m)
{
    QMap<int, ReadRecord> records;
    for (const ReadRecord& r : RecordingWindow::recordsOf(m)) records.insert(r.index, r);
    return records;
}

// What went over the line for the write to one location: the set selected last before it and its name field.
struct SentWrite {
    QByteArray set;
    std::optional<QByteArray> field;
};

SentWrite sentFor(const QList<QByteArray>& commands, int index)
{
    SentWrite sent;
    const QByteArray prefix = "AT+CPBW=" + QByteArray::number(index) + ',';
    for (const QByteArray& c : commands) {
        if (c.startsWith("AT+CSCS=\"")) sent.set = AtReply::unquote(c.mid(8));
        if (c.startsWith(prefix)) {
            sent.field = AtReply::unquote(AtReply::splitFields(c.mid(8)).value(3));
            return sent;
        }
    }
    return sent;
}

// The name made longer by dots up to the length given (a dot takes one position in either encoding).
QString padded(const ScriptRow& row, int length)
{
    return QString::fromUtf8(row.name) + QString(length - row.length, QChar(u'.'));
}
}

class TestNameScripts : public QObject {
    Q_OBJECT
private slots:
    void namesOfEveryScriptTravelAndComeBack();
    void damagedNamesAreReadAgainAndMarked();
};

void TestNameScripts::namesOfEveryScriptTravelAndComeBack()
{
    for (const PhoneKind& kind : kPhones) {
        PhoneEmulatorOptions options;
        options.identity.ucs2 = kind.ucs2;
        options.identity.ucs2NameLength = kind.ucs2Length;
        EmulatedPhone phone(options);
        QVERIFY(phone.started());
        // Every write a run of its own: the set each name goes in does not hang on the name before.
        LinkOptions link;
        link.device = phone.path();
        link.writeRunPauseMs = 0;
        ConnectTelephoneLink(link);
        const ReceivedMessage before = readSim();
        QCOMPARE(before.data.nNameLen, kGsmLength);
        QCOMPARE(before.data.nUcs2NameLen, kind.ucs2Limit);
        for (qsizetype i = 0; i < qsizetype(std::size(kScripts)); ++i) {
            const ScriptRow& row = kScripts[i];
            const QString where = QStringLiteral("%1, %2").arg(QString::fromUtf8(kind.what), QString::fromUtf8(row.script));
            const Outcome outcome = expectedOutcome(row, row.length, kind);
            QVERIFY2(writeOne(int(100 + i), QString::fromUtf8(row.name)) == intptr_t(outcome), qPrintable(where));
            const SentWrite sent = sentFor(loggedCommands(phone.commandLog()), int(100 + i));
            QVERIFY2(sent.field.has_value() == (outcome != Outcome::NotSent), qPrintable(where));
            if (!sent.field) continue;
            QVERIFY2(sent.set == row.set, qPrintable(where + QStringLiteral(": sent in ") + QString::fromLatin1(sent.set)));
            QVERIFY2(*sent.field == QByteArray(row.field),
                     qPrintable(where + QStringLiteral(": ") + QString::fromLatin1(*sent.field)));
        }
        // At the limit of its kind a name is kept; one position or character more, the phone refuses it.
        for (qsizetype i = 0; i < qsizetype(std::size(kScripts)); ++i) {
            const ScriptRow& row = kScripts[i];
            const int limit = row.gsm ? kGsmLength : kind.ucs2Limit;
            if (limit == 0 || row.length > limit) continue;
            QCOMPARE(writeOne(int(150 + i), padded(row, limit)), intptr_t(Outcome::Written));
            QCOMPARE(writeOne(int(200 + i), padded(row, limit + 1)), intptr_t(Outcome::Refused));
        }
        const EmulatorStorage sim = *phone.emulator().state().storage("SM");
        const QMap<int, ReadRecord> read = byIndex(readSim());
        for (qsizetype i = 0; i < qsizetype(std::size(kScripts)); ++i) {
            const ScriptRow& row = kScripts[i];
            const int index = int(100 + i);
            const QString name = QString::fromUtf8(row.name);
            const bool written = expectedOutcome(row, row.length, kind) == Outcome::Written;
            QCOMPARE(sim.entries.contains(index), written);
            QCOMPARE(read.contains(index), written);
            if (!written) continue;
            QCOMPARE(sim.entries.value(index).name, name);
            QCOMPARE(read.value(index).text(), name);
            QVERIFY(!read.value(index).nameUnreadable);
            const int limit = row.gsm ? kGsmLength : kind.ucs2Limit;
            if (row.length <= limit) QCOMPARE(read.value(150 + int(i)).text(), padded(row, limit));
            QVERIFY(!sim.entries.contains(200 + int(i)));
        }
        StopTelephoneLink();
    }
}

void TestNameScripts::damagedNamesAreReadAgainAndMarked()
{
    const quint64 seed = seedOfTheRun("test_link_name_scripts", "damagedNamesAreReadAgainAndMarked");
    for (const bool ucs2 : {true, false}) {
        // A SIM full of names, in UCS2 of every script or (without UCS2, read in HEX) of the GSM alphabet.
        EmulatorState state = EmulatorState::blank();
        EmulatorStorage sim = *state.storage("SM");
        sim.capacity = 60;
        for (int i = 1; i <= sim.capacity; ++i) {
            const ScriptRow& row = kScripts[size_t(i) % std::size(kScripts)];
            // In HEX a stray character is told from a plain name only in a run of eight digits or more.
            const bool fits = ucs2 ? (row.gsm || row.length <= 7) : (row.gsm && row.length >= 4);
            const QString name = fits ? QString::fromUtf8(row.name) : QStringLiteral("Name %1").arg(i);
            sim.entries.insert(i, EmulatorEntry{name, QStringLiteral("+4930%1").arg(i)});
        }
        state.setStorage("SM", sim);
        PhoneEmulatorOptions options;
        options.identity.ucs2 = ucs2;
        options.garblePercent = 30;
        options.garbleSeed = quint32(seed);
        EmulatedPhone phone(options, 8000, &state);
        QVERIFY(phone.started());
        qsizetype seen = 0;
        int rereads = 0;
        int marked = 0;
        for (int round = 0; round < 4; ++round) {
            const ReceivedMessage m = readSim();
            QCOMPARE(m.data.nCount, sim.capacity);
            const QList<QByteArray> commands = loggedCommands(phone.commandLog()).mid(seen);
            seen += commands.size();
            // Each record read again stands alone after the range reads, once.
            QSet<int> readAgain;
            for (const QByteArray& c : commands) {
                if (!c.startsWith("AT+CPBR=") || c.contains(',') || c.endsWith('?')) continue;
                const int index = c.mid(8).toInt();
                QVERIFY2(!readAgain.contains(index), c.constData());
                readAgain.insert(index);
            }
            rereads += int(readAgain.size());
            for (const ReadRecord& r : RecordingWindow::recordsOf(m)) {
                const QString stored = sim.entries.value(r.index).name;
                // Never raw digits passed off as a name: unmarked, it is exactly the name the phone holds.
                if (!r.nameUnreadable) {
                    QCOMPARE(r.text(), stored);
                    continue;
                }
                ++marked;
                QVERIFY2(readAgain.contains(r.index), qPrintable(QString::number(r.index)));
                QVERIFY(r.text() != stored);
            }
        }
        qInfo("%s: %d records read again, %d still damaged and marked", ucs2 ? "UCS2" : "HEX", rereads, marked);
        QVERIFY(rereads > marked);
        QVERIFY(marked > 0);
        StopTelephoneLink();
    }
}

QTEST_GUILESS_MAIN(TestNameScripts)
#include "TestNameScripts.moc"
