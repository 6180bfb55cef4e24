// The pieces under the reader: logical lines, content lines, value decoding and tel: URIs.
#include "model/VCardLine.h"
#include "model/VCardTelUri.h"
#include "model/VCardUnfolder.h"
#include "model/VCardValueDecoder.h"

#include <QtTest>

namespace {

QString describe(const VCardLine& line)
{
    QStringList parameters;
    for (const VCardLine::Parameter& parameter : line.parameters)
        parameters << QString::fromUtf8(parameter.name + '=' + parameter.values.join('|'));
    return QString::fromUtf8(line.group) + u'/' + QString::fromUtf8(line.name) + u'/' + parameters.join(u' ') + u'/'
        + QString::fromUtf8(line.value);
}

}

class TestVCardDecoding : public QObject {
    Q_OBJECT
private slots:
    void unfold_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("lines");  // "physical line number:text"
        QTest::newRow("folding removes one blank") << QByteArray("A:1\r\n  2\r\n\t3\r\nB:4") << QStringList{"1:A:1 23", "4:B:4"};
        QTest::newRow("2.1 keeps the blank of a fold until the next card")
            << QByteArray("BEGIN:VCARD\nVERSION:2.1\nA:1\n 2\nBEGIN:VCARD\nB:3\n 4")
            << QStringList{"1:BEGIN:VCARD", "2:VERSION:2.1", "3:A:1 2", "5:BEGIN:VCARD", "6:B:34"};
        QTest::newRow("empty lines end a fold and are dropped") << QByteArray("A:1\n\n 2\n") << QStringList{"1:A:1", "3: 2"};
        QTest::newRow("soft break keeps the next line whole")
            << QByteArray("N;QUOTED-PRINTABLE:a=\n b=\r\nc\nD:") << QStringList{"1:N;QUOTED-PRINTABLE:a bc", "4:D:"};
        QTest::newRow("'=' ends a line that is not quoted-printable") << QByteArray("A:x=\nB:y") << QStringList{"1:A:x=", "2:B:y"};
        // Found by fuzzing: a type that merely contains the word made a folded "=" a soft break.
        QTest::newRow("only an encoding parameter makes a soft break")
            << QByteArray("TEL;TYPE=X-QUOTED-PRINTABLE:1=\n 2\nB:y") << QStringList{"1:TEL;TYPE=X-QUOTED-PRINTABLE:1=2", "3:B:y"};
        QTest::newRow("ENCODING=QUOTED-PRINTABLE makes a soft break")
            << QByteArray("N;ENCODING=QUOTED-PRINTABLE:a=\nb") << QStringList{"1:N;ENCODING=QUOTED-PRINTABLE:ab"};
        QTest::newRow("2.1 base64 runs until the empty line")
            << QByteArray("P;BASE64:AA\nBB\n  CC\n\nD:1") << QStringList{"1:P;BASE64:AABBCC", "5:D:1"};
        QTest::newRow("2.1 base64 without its empty line stops at a property")
            << QByteArray("P;ENCODING=BASE64:AA\nBB\nEND:VCARD") << QStringList{"1:P;ENCODING=BASE64:AABB", "3:END:VCARD"};
        QTest::newRow("CR alone ends lines") << QByteArray("A:1\r 2\rB:3") << QStringList{"1:A:12", "3:B:3"};
        QTest::newRow("fold at the very start has nothing to continue") << QByteArray(" A:1") << QStringList{"1: A:1"};
    }
    void unfold()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, lines);
        QStringList found;
        for (const VCardUnfolder::Line& line : VCardUnfolder::unfold(file))
            found << QString::number(line.number) + u':' + QString::fromUtf8(line.text);
        QCOMPARE(found, lines);
    }

    void parseLine_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("parsed");  // group/NAME/PARAM=v|v .../value, or empty when unreadable
        QTest::newRow("plain") << QByteArray("FN:Anna") << "/FN//Anna";
        QTest::newRow("group and case") << QByteArray("item1.tel;type=pref:+1") << "item1/TEL/TYPE=pref/+1";
        QTest::newRow("bare 2.1 parameters") << QByteArray("TEL;CELL;QUOTED-PRINTABLE;base64:1")
                                             << "/TEL/TYPE=CELL ENCODING=QUOTED-PRINTABLE ENCODING=BASE64/1";
        QTest::newRow("comma list and quoted list")
            << QByteArray("TEL;TYPE=cell,voice;TYPE=\"home, work\":1") << "/TEL/TYPE=cell|voice TYPE=home|work/1";
        QTest::newRow("colon and semicolon inside quotes")
            << QByteArray("X-A;LABEL=\"a:b;c\";PREF=1:v:w") << "/X-A/LABEL=a:b;c PREF=1/v:w";
        QTest::newRow("value keeps colons and escapes") << QByteArray("NOTE:a\\:b\\,c:d") << "/NOTE//a\\:b\\,c:d";
        QTest::newRow("empty parameter and value") << QByteArray("N;;:") << "/N//";
        QTest::newRow("no colon") << QByteArray("just text") << QString();
        QTest::newRow("no name") << QByteArray(":value") << QString();
        QTest::newRow("no colon after parameters") << QByteArray("TEL;TYPE=cell") << QString();
        QTest::newRow("empty") << QByteArray() << QString();
    }
    void parseLine()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, parsed);
        const std::optional<VCardLine> line = VCardLine::parse(text);
        QCOMPARE(line ? describe(*line) : QString(), parsed);
    }

    void quotedPrintable_data()
    {
        QTest::addColumn<QByteArray>("encoded");
        QTest::addColumn<QByteArray>("decoded");
        QTest::newRow("UTF-8 pair") << QByteArray("M=C3=BCller") << QByteArray("M\xC3\xBCller");
        QTest::newRow("lower-case hex") << QByteArray("=3d=0d=0a") << QByteArray("=\r\n");
        QTest::newRow("'=' at the end") << QByteArray("a=") << QByteArray("a=");
        QTest::newRow("one digit at the end") << QByteArray("a=4") << QByteArray("a=4");
        QTest::newRow("not hex") << QByteArray("=ZZ=G1") << QByteArray("=ZZ=G1");
        QTest::newRow("NUL byte") << QByteArray("a=00b") << QByteArray("a\0b", 3);
    }
    void quotedPrintable()
    {
        QFETCH(QByteArray, encoded);
        QFETCH(QByteArray, decoded);
        QCOMPARE(VCardValueDecoder::decodeQuotedPrintable(encoded), decoded);
    }

    void charset_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("charset");
        QTest::addColumn<QString>("text");
        QTest::newRow("UTF-8 by default") << QByteArray("\xC3\xBC\xF0\x9F\x98\x80") << QByteArray() << "ü😀";
        QTest::newRow("invalid UTF-8 falls back") << QByteArray("M\xFCller \x80") << QByteArray("UTF-8") << "Müller €";
        QTest::newRow("ISO-8859-1") << QByteArray("\xE9\xE8") << QByteArray("iso-8859-1") << "éè";
        QTest::newRow("windows-1252 quotes") << QByteArray("\x84Hi\x93 \x9F") << QByteArray("Windows-1252")
                                             << "„Hi“ Ÿ";
        QTest::newRow("unknown name is taken for UTF-8") << QByteArray("\xC3\xA4") << QByteArray("X-NONSENSE") << "ä";
        QTest::newRow("U+FEFF opening a value stays") << QByteArray("\xEF\xBB\xBFu") << QByteArray() << QStringLiteral("\uFEFFu");
    }
    void charset()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, charset);
        QFETCH(QString, text);
        QCOMPARE(VCardValueDecoder::decodeCharset(bytes, charset), text);
    }

    void components_data()
    {
        QTest::addColumn<QString>("escaped");
        QTest::addColumn<QStringList>("parts");
        QTest::newRow("five parts") << "Doe;John;;Dr.;" << QStringList{"Doe", "John", "", "Dr.", ""};
        QTest::newRow("escaped separator stays") << "A\\;B;C" << QStringList{"A;B", "C"};
        QTest::newRow("escaped backslash before separator") << "A\\\\;B" << QStringList{"A\\", "B"};
        QTest::newRow("newlines and commas") << "a\\nb\\N\\,c" << QStringList{"a\nb\n,c"};
        QTest::newRow("unknown escape and lone backslash stay") << "a\\tb\\" << QStringList{"a\\tb\\"};
        QTest::newRow("empty") << "" << QStringList{""};
    }
    void components()
    {
        QFETCH(QString, escaped);
        QFETCH(QStringList, parts);
        QCOMPARE(VCardValueDecoder::splitComponents(escaped), parts);
    }

    void telUri_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<bool>("carried");
        QTest::newRow("global with separators") << "+49-30-(123).456" << true;
        QTest::newRow("digits only global") << "+4930123" << true;
        QTest::newRow("spaces") << "+49 30 123" << false;
        QTest::newRow("local number needs a context") << "030123" << false;
        QTest::newRow("star and hash") << "+49*31#" << false;
        QTest::newRow("pause") << "+4930p12" << false;
        QTest::newRow("plus alone") << "+" << false;
        QTest::newRow("empty") << "" << false;
    }
    void telUri()
    {
        QFETCH(QString, number);
        QFETCH(bool, carried);
        QCOMPARE(VCardTelUri::canCarry(number), carried);
        if (carried)
            QCOMPARE(VCardTelUri::toNumber(VCardTelUri::toUri(number)), number);
    }
};

QTEST_GUILESS_MAIN(TestVCardDecoding)
#include "TestVCardDecoding.moc"
