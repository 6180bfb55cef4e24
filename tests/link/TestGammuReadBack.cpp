// What the program writes to the phone is what an independent AT client reads there: names made ready for the
// telephone as the program makes them (the telephone's name rules, a VIP name cut and marked with "!"), written
// record by record through the link to the emulated phone in whichever set each needs, then listed by gammu.
#include "LinkTestSupport.h"
#include "Utf8Locale.h"
#include "model/TelephoneName.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

namespace {
constexpr int kWaitMs = 120000;
// The emulated SIM's: 16 positions of GSM codes, (16 - 1) / 2 characters in UCS2.
const TelephoneNameLimits kLimits{16, 7};

struct Entry {
    int index;
    const char* name;   // as the user typed it (UTF-8 here)
    const char* status; // "!" VIP, " " standard
    const char* number;
    const char* onPhone; // the name the phone holds afterwards
};

const Entry kEntries[] = {
    {101, "Anna Müller", " ", "+4930123456", "Anna Müller"},
    {102, "Chloé Dupré", " ", "0301?34", "Chloé Dupré"},
    {103, "Peña Iñigo", " ", "+34911234567", "Peña Iñigo"},
    {104, "Søren Ærø", " ", "+4533123456", "Søren Ærø"},
    {105, "Weiß & Söhne", " ", "089?", "Weiß & Söhne"},
    {106, "Crêpe Façade", " ", "*100#", "Crêpe F"}, // "ê" lies outside the GSM alphabet: seven UCS2 characters
    {107, "Jörg Bäcker-Wolff", "!", "+49891234567", "Jörg Bäcker-Wol!"},
    {108, "Zoë", "!", "?", "Zoë!"},
    {109, "Åsa_Öberg", " ", "+46?12", "Åsa_Öberg"},
    {110, "€5 ~^|\\ @", " ", "12", "€5 ~^|\\ @"},
    // Outside the GSM alphabet: sent in UCS2, at most seven characters on this SIM.
    {111, "Иван Петров", " ", "+7495", "Иван Пе"},
    {112, "李小龍", " ", "+852", "李小龍"},
    {113, "Łukasz Żak", "!", "+4822", "Łukasz!"},
    {114, "Γιώργος", " ", "+3021", "Γιώργος"},
    {115, "محمد علي", " ", "+2022", "محمد عل"},
};

// The name as the program sends it for one entry, as UTF-8.
QByteArray sentName(const Entry& e)
{
    const std::string name = TelephoneName::ForTelephone(e.name, kLimits);
    return QByteArray::fromStdString(TelephoneName::AsSent(name, std::string(e.status) == "!", kLimits));
}

struct Listed {
    QString name;
    QString number;
};

// gammu's "Memory SM, Location N" blocks: the quoted name and number of each location.
QMap<int, Listed> parseListing(const QString& output)
{
    QMap<int, Listed> listed;
    static const QRegularExpression location(QStringLiteral("^Memory SM, Location (\\d+)$"));
    static const QRegularExpression field(QStringLiteral("^(\\w[\\w ]*?)\\s*: \"(.*)\"$"));
    int current = -1;
    for (const QString& line : output.split('\n')) {
        if (const QRegularExpressionMatch m = location.match(line); m.hasMatch()) current = m.captured(1).toInt();
        const QRegularExpressionMatch f = field.match(line);
        if (current < 0 || !f.hasMatch()) continue;
        if (f.captured(1) == u"Name") listed[current].name = f.captured(2);
        else if (f.captured(1).endsWith(u"number")) listed[current].number = f.captured(2);
    }
    return listed;
}
}

class TestGammuReadBack : public QObject {
    Q_OBJECT
private slots:
    void gammuListsEveryRecordAsWritten();
};

void TestGammuReadBack::gammuListsEveryRecordAsWritten()
{
    const QString gammu = QStandardPaths::findExecutable("gammu");
    if (gammu.isEmpty()) QSKIP("gammu is not installed");
    EmulatedPhone phone;
    QVERIFY(phone.started());
    QList<WriteRequest> requests;
    for (const Entry& e : kEntries) requests.append({"SM", e.index, sentName(e), e.number});
    ChainedWriter writer(requests);
    writer.start();
    QTRY_VERIFY_WITH_TIMEOUT(writer.finished(), kWaitMs);
    QCOMPARE(writer.results, QList<intptr_t>(std::size(kEntries), 0));
    // The link holds the line exclusively while it is open; gammu gets it once the link has let go.
    StopTelephoneLink();

    QFile config(phone.folder() + "/gammurc");
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write("[gammu]\ndevice = " + phone.path().toLocal8Bit() + "\nconnection = at\n");
    config.close();
    QProcess process;
    process.setProcessEnvironment(WithUtf8Locale());
    process.start(gammu, {"-c", config.fileName(), "getallmemory", "SM"});
    QVERIFY(process.waitForFinished(kWaitMs));
    QVERIFY2(process.exitCode() == 0, process.readAllStandardError().constData());
    const QMap<int, Listed> listed = parseListing(QString::fromUtf8(process.readAllStandardOutput()));
    for (const Entry& e : kEntries) {
        QVERIFY2(listed.contains(e.index), qPrintable(QString::number(e.index)));
        QCOMPARE(listed[e.index].name, QString::fromUtf8(e.onPhone));
        QCOMPARE(listed[e.index].number, QString::fromLatin1(e.number));
    }
    QCOMPARE(listed.value(1).name, QStringLiteral("Anna Müller")); // the records not written stay as they were
}

QTEST_GUILESS_MAIN(TestGammuReadBack)
#include "TestGammuReadBack.moc"
