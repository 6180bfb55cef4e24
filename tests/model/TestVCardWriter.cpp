// Writing vCard 3.0 and 4.0: line layout, escaping, numbers, and reading back what was written.
#include "TestVCardText.h"
#include "model/VCardLineFolder.h"
#include "model/VCardReader.h"
#include "model/VCardWriter.h"

#include <QElapsedTimer>
#include <QStringDecoder>
#include <QtTest>

Q_DECLARE_METATYPE(VCardVersion)
Q_DECLARE_METATYPE(VCardPhone)
Q_DECLARE_METATYPE(VCardCard)

namespace {

VCardCard card(const QString& formattedName, const QStringList& nameParts, const QList<VCardPhone>& phones = {},
               const QString& note = {})
{
    VCardCard card;
    card.formattedName = formattedName;
    card.nameParts = nameParts;
    card.phones = phones;
    card.note = note;
    return card;
}

// The content lines of a written card between VERSION and END, unfolded.
QStringList bodyLines(const QByteArray& written)
{
    QStringList lines = QString::fromUtf8(QByteArray(written).replace("\r\n ", "")).split(QStringLiteral("\r\n"));
    return lines.mid(2, lines.size() - 4);
}

bool isValidUtf8(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8(bytes);
    return !utf8.hasError();
}

}

class TestVCardWriter : public QObject {
    Q_OBJECT
private slots:
    void wholeCard_data()
    {
        QTest::addColumn<VCardVersion>("version");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("3.0") << VCardVersion::V3_0
                             << QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anna Schmidt\r\nN:Schmidt;Anna;;;\r\n"
                                           "TEL;TYPE=CELL,PREF:+4930123\r\nTEL:030 55\r\nNOTE:hi\r\nEND:VCARD\r\n");
        QTest::newRow("4.0") << VCardVersion::V4_0
                             << QByteArray("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Anna Schmidt\r\nN:Schmidt;Anna;;;\r\n"
                                           "TEL;VALUE=uri;TYPE=cell;PREF=1:tel:+4930123\r\nTEL;VALUE=text:030 55\r\n"
                                           "NOTE:hi\r\nEND:VCARD\r\n");
    }
    void wholeCard()
    {
        QFETCH(VCardVersion, version);
        QFETCH(QByteArray, expected);
        const QList<VCardPhone> phones{{"+4930123", {"cell"}, 1}, {"030 55", {}, 0}};
        QCOMPARE(VCardWriter::write({card("Anna Schmidt", {"Schmidt", "Anna"}, phones, "hi")}, version), expected);
    }

    // Text values escape what would end or split them; N escapes each component and keeps its separators.
    void escaping_data()
    {
        QTest::addColumn<VCardCard>("input");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("separators and backslash in FN")
            << card("A, B; C\\D", {}) << QStringList{"FN:A\\, B\\; C\\\\D", "N:;;;;"};
        QTest::newRow("newlines of every kind in NOTE")
            << card("X", {}, {}, "a\nb\r\nc\rd") << QStringList{"FN:X", "N:;;;;", "NOTE:a\\nb\\nc\\nd"};
        QTest::newRow("components escaped one by one")
            << card("X", {"O;Brien", "Mary,Ann", "a\\b", "", "Jr."})
            << QStringList{"FN:X", "N:O\\;Brien;Mary\\,Ann;a\\\\b;;Jr."};
        QTest::newRow("FN taken from N when empty") << card("", {"Doe", "John"}) << QStringList{"FN:John Doe", "N:Doe;John;;;"};
        QTest::newRow("no byte order mark, no U+0000, no half of a surrogate pair")
            << card(QStringLiteral("\uFEFFIvan\uFEFF Pe") + QChar(0) + QStringLiteral("trov") + QChar(0xD800), {QStringLiteral("\uFEFFPetrov")}, {},
                    QStringLiteral("a\uFEFFb") + QChar(0xDC00) + QChar(0xD83D) + QChar(0xDE00))
            << QStringList{"FN:Ivan Petrov\uFFFD", "N:Petrov;;;;", "NOTE:ab\uFFFD😀"};
        QTest::newRow("FN taken from the number without any name")
            << card("", {}, {{"112", {}, 0}}) << QStringList{"FN:112", "N:;;;;", "TEL:112"};
    }
    void escaping()
    {
        QFETCH(VCardCard, input);
        QFETCH(QStringList, lines);
        QCOMPARE(bodyLines(VCardWriter::write({input})), lines);
    }

    void phoneLine_data()
    {
        QTest::addColumn<VCardPhone>("phone");
        QTest::addColumn<QString>("line30");
        QTest::addColumn<QString>("line40");
        QTest::newRow("global number fits a URI")
            << VCardPhone{"+49-30-123", {"work", "voice"}, 0} << "TEL;TYPE=WORK,VOICE:+49-30-123"
            << "TEL;VALUE=uri;TYPE=work,voice:tel:+49-30-123";
        QTest::newRow("spaces stay as typed in a text value")
            << VCardPhone{"+49 30 123", {"home"}, 0} << "TEL;TYPE=HOME:+49 30 123" << "TEL;VALUE=text;TYPE=home:+49 30 123";
        QTest::newRow("star, hash and pause") << VCardPhone{"*31#p1", {}, 0} << "TEL:*31#p1" << "TEL;VALUE=text:*31#p1";
        QTest::newRow("pref type becomes PREF=1 in 4.0")
            << VCardPhone{"+1", {"cell", "pref"}, 0} << "TEL;TYPE=CELL,PREF:+1" << "TEL;VALUE=uri;TYPE=cell;PREF=1:tel:+1";
        QTest::newRow("preference beyond range is clamped")
            << VCardPhone{"+1", {}, 250} << "TEL;TYPE=PREF:+1" << "TEL;VALUE=uri;PREF=100:tel:+1";
        QTest::newRow("unsafe characters in types are dropped")
            << VCardPhone{"1", {"ce:ll", "x;y", "\"", "Fax"}, 0} << "TEL;TYPE=CELL,XY,FAX:1"
            << "TEL;VALUE=text;TYPE=cell,xy,fax:1";
        QTest::newRow("separators in a number are escaped")
            << VCardPhone{"1,2;3", {}, 0} << "TEL:1\\,2\\;3" << "TEL;VALUE=text:1\\,2\\;3";
    }
    void phoneLine()
    {
        QFETCH(VCardPhone, phone);
        QFETCH(QString, line30);
        QFETCH(QString, line40);
        const VCardCard input = card("X", {}, {phone});
        QCOMPARE(bodyLines(VCardWriter::write({input}, VCardVersion::V3_0)).at(2), line30);
        QCOMPARE(bodyLines(VCardWriter::write({input}, VCardVersion::V4_0)).at(2), line40);
    }

    // Each physical line has at most 75 octets and is valid UTF-8 on its own; unfolding gives the line back.
    void folding_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("exactly 75 octets") << QByteArray(75, 'a');
        QTest::newRow("76 octets") << QByteArray(76, 'a');
        QTest::newRow("long ASCII") << QByteArray(1000, 'a');
        for (int offset = 0; offset < 4; ++offset) {
            const QByteArray prefix(offset, 'a');
            QTest::addRow("two-octet characters, offset %d", offset) << prefix + QString(200, u'ü').toUtf8();
            QTest::addRow("three-octet characters, offset %d", offset) << prefix + QString(200, u'€').toUtf8();
            QTest::addRow("emoji, offset %d", offset) << prefix + QString::fromUtf8("😀👩‍👩‍👧").repeated(30).toUtf8();
        }
        QTest::newRow("not UTF-8 at all") << QByteArray(300, '\x80');
        QTest::newRow("empty") << QByteArray();
    }
    void folding()
    {
        QFETCH(QByteArray, line);
        const QByteArray folded = VCardLineFolder::fold(line);
        QVERIFY(folded.endsWith("\r\n"));
        const QList<QByteArray> physical = folded.chopped(2).split('\n');
        for (qsizetype i = 0; i < physical.size(); ++i) {
            const QByteArray text = i + 1 < physical.size() ? physical.at(i).chopped(1) : physical.at(i);
            QVERIFY2(text.size() <= VCardLineFolder::kMaxOctets, text.constData());
            QVERIFY(i == 0 || text.startsWith(' '));
            if (isValidUtf8(line))
                QVERIFY(isValidUtf8(text));
        }
        QCOMPARE(folded.chopped(2).replace("\r\n ", ""), line);
    }

    // read(write(cards)) gives back every field the program keeps.
    void roundTrip_data()
    {
        QTest::addColumn<VCardVersion>("version");
        QTest::addColumn<VCardCard>("input");
        const QString longNote = QStringLiteral("Lange Notiz mit Umlauten äöü, Kommas; Semikolons\\ und\nZeilen. ").repeated(40);
        const QList<std::pair<const char*, VCardVersion>> versions{{"3.0", VCardVersion::V3_0}, {"4.0", VCardVersion::V4_0}};
        for (const auto& [name, version] : versions) {
            QTest::addRow("%s plain", name) << version << card("Anna Schmidt", {"Schmidt", "Anna", "", "", ""},
                                                                {{"+49 30 123", {"home"}, 0}});
            QTest::addRow("%s non-ASCII and emoji", name)
                << version << card("Zoë Ærøskøbing 😀", {"Ærøskøbing", "Zoë", "", "", "😀"}, {{"+4530", {"cell"}, 0}},
                                   "日本語のメモ");
            QTest::addRow("%s separators everywhere", name)
                << version << card("O'Brien, Mary; \\Jr.", {"O;Brien", "Mary,Ann", "a\\b", "Dr.", "Jr."},
                                   {{"030 1", {}, 0}}, "a;b,c\\d\nzweite Zeile");
            QTest::addRow("%s several numbers, empty note", name)
                << version << card("Büro", {"", "", "", "", ""},
                                   {{"+49-30-1", {"work", "voice"}, 0}, {"0170 2", {"cell"}, 0}, {"*100#", {}, 0},
                                    {"+1 (555) 010", {"fax"}, 0}});
            QTest::addRow("%s long note needing many folds", name)
                << version << card(QString(120, u'ß'), {QString(90, u'x'), "y", "", "", ""}, {}, longNote);
        }
        QTest::newRow("3.0 preferred number carries the pref type")
            << VCardVersion::V3_0 << card("P", {"P", "", "", "", ""}, {{"+1", {"cell", "pref"}, 1}});
        QTest::newRow("4.0 preference level is kept")
            << VCardVersion::V4_0 << card("P", {"P", "", "", "", ""}, {{"+1", {"cell"}, 1}, {"+2", {"home"}, 40}});
    }
    void roundTrip()
    {
        QFETCH(VCardVersion, version);
        QFETCH(VCardCard, input);
        const QList<VCardCard> cards{input, card("Second", {"Second", "", "", "", ""}, {{"2", {}, 0}})};
        const VCardReadResult result = VCardReader::read(VCardWriter::write(cards, version));
        QCOMPARE(result.problems.size(), 0);
        QCOMPARE(result.versionSeen, version == VCardVersion::V4_0 ? QStringLiteral("4.0") : QStringLiteral("3.0"));
        QCOMPARE(VCardTestText::describe(result.cards), VCardTestText::describe(cards));
    }

    void shortNameIsPaddedToFiveParts()
    {
        const VCardReadResult result = VCardReader::read(VCardWriter::write({card("J", {"Doe", "John"})}));
        QCOMPARE(result.cards.front().nameParts, (QStringList{"Doe", "John", "", "", ""}));
    }

    // What a large phone book costs; printed for the record, not checked.
    void twoThousandCardsCost()
    {
        QList<VCardCard> cards;
        for (int i = 0; i < 2000; ++i) {
            cards << card(QStringLiteral("Jürgen Müller %1").arg(i), {"Müller", QStringLiteral("Jürgen %1").arg(i), "", "", ""},
                          {{QStringLiteral("+49 30 %1").arg(100000 + i), {"cell", "pref"}, 1},
                           {QStringLiteral("+4989%1").arg(i), {"work"}, 0}},
                          QStringLiteral("Notiz %1, mit Komma; und einer Zeile\nmehr").arg(i));
        }
        for (const VCardVersion version : {VCardVersion::V3_0, VCardVersion::V4_0}) {
            QElapsedTimer timer;
            timer.start();
            const QByteArray file = VCardWriter::write(cards, version);
            const qint64 writeNs = timer.nsecsElapsed();
            timer.restart();
            const VCardReadResult result = VCardReader::read(file);
            const qint64 readNs = timer.nsecsElapsed();
            qInfo("vCard %s, 2000 cards, %lld bytes: write %.2f ms, read %.2f ms",
                  version == VCardVersion::V4_0 ? "4.0" : "3.0", static_cast<long long>(file.size()), writeNs / 1e6,
                  readNs / 1e6);
            QCOMPARE(result.cards.size(), 2000);
        }
    }
};

QTEST_GUILESS_MAIN(TestVCardWriter)
#include "TestVCardWriter.moc"
