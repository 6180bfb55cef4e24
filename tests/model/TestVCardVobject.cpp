// Our exports read by another program: Debian's python3-vobject must find the same names and numbers in them.
#include "Utf8Locale.h"
#include "model/VCardWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(VCardVersion)

namespace {

// Prints the cards of the file as JSON: FN, the five N components and the TEL values of each.
const char* const kReadWithVobject = R"(
import json, sys, vobject
def text(value):
    return ",".join(value) if isinstance(value, list) else value
cards = []
with open(sys.argv[1], encoding="utf-8", newline="") as file:
    for card in vobject.readComponents(file.read()):
        name = card.n.value
        cards.append({"fn": card.fn.value,
                      "n": [text(getattr(name, part)) for part in ("family", "given", "additional", "prefix", "suffix")],
                      "tel": [tel.value for tel in card.contents.get("tel", [])]})
print(json.dumps(cards))
)";

VCardCard card(const QString& formattedName, const QStringList& nameParts, const QStringList& numbers,
               const QString& note = {})
{
    VCardCard card;
    card.formattedName = formattedName;
    card.nameParts = nameParts;
    for (const QString& number : numbers)
        card.phones << VCardPhone{number, {QStringLiteral("cell")}, card.phones.isEmpty() ? 1 : 0};
    card.note = note;
    return card;
}

QList<VCardCard> exportedCards()
{
    return {
        card("Jürgen Müller", {"Müller", "Jürgen", "", "", ""}, {"+49 170 1234567", "+49-30-123456", "030 99 88"}),
        card("O'Brien, Mary; \\the second\\", {"O;Brien", "Mary,Ann", "back\\slash", "Dr.", "Jr."}, {"+1 (555) 010-9999"},
             "first line\nsecond line; with, separators"),
        card("Zeilen\numbruch", {"Zeilen\numbruch", "", "", "", ""}, {"*100#", "+4930p12"}),
        card(QStringLiteral("Ærøskøbing Ünïcødé 😀 ").repeated(8), {QString(100, u'ß'), "日本語", "", "", ""},
             {"+4512345678"}, QStringLiteral("long note ").repeated(50)),
        card("Nur Nummer", {"", "", "", "", ""}, {"112"}),
    };
}

// The first python3 that can import vobject: Debian's own first, since a python3 of its own earlier in PATH lacks
// Debian's packages.
QString pythonWithVobject()
{
    for (const QString& candidate : {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
        QProcess probe;
        probe.start(candidate, {"-c", "import vobject"});
        if (probe.waitForFinished(30000) && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0)
            return candidate;
    }
    return {};
}

}

class TestVCardVobject : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_python = pythonWithVobject();
        if (m_python.isEmpty())
            QFAIL("python3 with the vobject module is missing; install the Debian package python3-vobject");
    }

    void vobjectReadsOurExport_data()
    {
        QTest::addColumn<VCardVersion>("version");
        QTest::newRow("3.0") << VCardVersion::V3_0;
        QTest::newRow("4.0") << VCardVersion::V4_0;
    }
    void vobjectReadsOurExport()
    {
        QFETCH(VCardVersion, version);
        const QList<VCardCard> cards = exportedCards();
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString path = folder.filePath(QStringLiteral("export.vcf"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(VCardWriter::write(cards, version));
        file.close();

        QProcess python;
        python.setProcessEnvironment(WithUtf8Locale());
        python.start(m_python, {"-c", kReadWithVobject, path});
        QVERIFY(python.waitForFinished(60000));
        QVERIFY2(python.exitCode() == 0, python.readAllStandardError().constData());
        const QJsonArray read = QJsonDocument::fromJson(python.readAllStandardOutput()).array();

        QCOMPARE(read.size(), cards.size());
        for (qsizetype i = 0; i < cards.size(); ++i) {
            const QJsonObject found = read.at(i).toObject();
            QCOMPARE(found.value("fn").toString(), cards.at(i).formattedName);
            QCOMPARE(found.value("n").toVariant().toStringList(), cards.at(i).nameParts);
            QStringList numbers;
            for (const QJsonValue& tel : found.value("tel").toArray())
                numbers << tel.toString().remove(QRegularExpression(QStringLiteral("^tel:")));
            QStringList expected;
            for (const VCardPhone& phone : cards.at(i).phones)
                expected << phone.number;
            QCOMPARE(numbers, expected);
        }
    }

private:
    QString m_python;
};

QTEST_GUILESS_MAIN(TestVCardVobject)
#include "TestVCardVobject.moc"
