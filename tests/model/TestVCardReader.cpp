// Reading vCard files as phones, mail programs and address book servers write them, and reading broken files.
#include "TestVCardText.h"
#include "model/VCardReader.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QtTest>

namespace {

QByteArray crlf(QByteArray text)
{
    return text.replace("\n", "\r\n");
}

QStringList problemTexts(const VCardReadResult& result)
{
    QStringList texts;
    for (const VCardProblem& problem : result.problems)
        texts << problem.text;
    return texts;
}

QList<int> problemLines(const VCardReadResult& result)
{
    QList<int> lines;
    for (const VCardProblem& problem : result.problems)
        lines << problem.line;
    return lines;
}

// Three good cards with the features most likely to trip a reader, for the damage tests.
const QByteArray kThreeCards = crlf("BEGIN:VCARD\n"
                                    "VERSION:2.1\n"
                                    "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:M=C3=BCller;J=C3=BC=\n"
                                    "rgen;;;\n"
                                    "TEL;CELL;PREF:+491701234567\n"
                                    "PHOTO;ENCODING=BASE64;JPEG:/9j/4AAQSkZJRgABAQ\n"
                                    "  AAAQABAAD/2wBDAAMCAgMCAgMDAwMEAwMEBQgFBQQEBQoHBwYIDAoMDAsKCwsNDhIQDQ4RDgsLEBYQ\n"
                                    "\n"
                                    "END:VCARD\n"
                                    "BEGIN:VCARD\n"
                                    "VERSION:3.0\n"
                                    "FN:Anna \"Annie\" Schmidt\n"
                                    "N:Schmidt;Anna;;;\n"
                                    "item1.TEL;TYPE=\"HOME,VOICE\":+49 30 123\n"
                                    "NOTE:a long note that was folded\n"
                                    "  by the writer\\, with escapes\\n\n"
                                    "END:VCARD\n"
                                    "BEGIN:VCARD\n"
                                    "VERSION:4.0\n"
                                    "FN:Bernd\n"
                                    "TEL;VALUE=uri;TYPE=\"cell,voice\";PREF=1:tel:+49-30-1234\n"
                                    "END:VCARD\n");

}

class TestVCardReader : public QObject {
    Q_OBJECT
private slots:
    // Files in the shapes the programs our users export from write them. Each row names the program it imitates.
    void programShapes_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("Android 2.1: QP with CHARSET=UTF-8, bare types, X-ANDROID-CUSTOM")
            << crlf("BEGIN:VCARD\n"
                    "VERSION:2.1\n"
                    "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:M=C3=BCller;J=C3=BCrgen;;;\n"
                    "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:J=C3=BCrgen M=C3=BCller\n"
                    "TEL;CELL;PREF:+49 170 1234567\n"
                    "TEL;HOME:030 123456\n"
                    "X-ANDROID-CUSTOM:vnd.android.cursor.item/nickname;Jogi;1;;;;;;;;;;;;;\n"
                    "NOTE;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Erste Zeile=0D=0Azweite Zeile, die beim Schreiben um=\n"
                    "gebrochen wurde\n"
                    "END:VCARD\n")
            << QStringList{"FN:Jürgen Müller", "N:Müller|Jürgen|||", "TEL:+49 170 1234567 [cell,pref] pref=1",
                           "TEL:030 123456 [home]", "NOTE:Erste Zeile\nzweite Zeile, die beim Schreiben umgebrochen wurde",
                           "--"};
        QTest::newRow("Android 2.1: base64 photo indented and ended by an empty line")
            << crlf("BEGIN:VCARD\n"
                    "VERSION:2.1\n"
                    "N:Weber;Eva;;;\n"
                    "FN:Eva Weber\n"
                    "PHOTO;ENCODING=BASE64;JPEG:/9j/4AAQSkZJRgABAQAAAQABAAD/2wBDAAMCAgMCAgMDAwMEAwMEBQgFBQQEBQoH\n"
                    "  BwYIDAoMDAsKCwsNDhIQDQ4RDgsLEBYQERMUFRUVDA8XGBYUGBIUFRT/2wBDAQMEBAUEBQkFBQkU\n"
                    "\n"
                    "TEL;WORK;VOICE:089 4711\n"
                    "END:VCARD\n")
            << QStringList{"FN:Eva Weber", "N:Weber|Eva|||", "TEL:089 4711 [work,voice]", "--"};
        QTest::newRow("Older phone 2.1: base64 on unindented lines, bare QUOTED-PRINTABLE, ISO-8859-1")
            << crlf("BEGIN:VCARD\n"
                    "VERSION:2.1\n"
                    "N;QUOTED-PRINTABLE;CHARSET=ISO-8859-1:St=F6hr;G=FCnter\n"
                    "PHOTO;BASE64;TYPE=GIF:R0lGODlhAQABAIAAAAAAAP///yH5BAEAAAAALAAAAAABAAEAAAIBRAA7\n"
                    "R0lGODlhAQABAIAAAAAAAP///yH5BAEAAAAALAAAAAABAAEAAAIBRAA7\n"
                    "\n"
                    "TEL;HOME;VOICE:0711 55 66\n"
                    "END:VCARD\n")
            << QStringList{"FN:", "N:Stöhr|Günter", "TEL:0711 55 66 [home,voice]", "--"};
        QTest::newRow("Windows mail program 2.1: windows-1252 with euro sign and quotes")
            << crlf("BEGIN:VCARD\n"
                    "VERSION:2.1\n"
                    "FN;CHARSET=windows-1252;ENCODING=QUOTED-PRINTABLE:=93Euro=94 =80 GmbH\n"
                    "TEL;WORK:+43 1 234\n"
                    "END:VCARD\n")
            << QStringList{"FN:“Euro” € GmbH", "N:", "TEL:+43 1 234 [work]", "--"};
        QTest::newRow("Old phone 2.1: Latin-1 bytes without CHARSET")
            << crlf("BEGIN:VCARD\nVERSION:2.1\nN:M\xFCller;Fran\xE7oise\nTEL:123\nEND:VCARD\n")
            << QStringList{"FN:", "N:Müller|Françoise", "TEL:123 []", "--"};
        QTest::newRow("Evolution 3.0: X-EVOLUTION params, TYPE=CELL, folded long note with escapes")
            << crlf("BEGIN:VCARD\n"
                    "VERSION:3.0\n"
                    "UID:pas-id-5F3A1B2C00000001\n"
                    "FN:Jürgen Müller\n"
                    "N:Müller;Jürgen;;;\n"
                    "X-EVOLUTION-FILE-AS:Müller\\, Jürgen\n"
                    "TEL;X-EVOLUTION-UI-SLOT=1;TYPE=CELL:+49 170 1234567\n"
                    "TEL;TYPE=WORK;TYPE=VOICE;X-EVOLUTION-UI-SLOT=2:+49 30 9876\n"
                    "NOTE:Eine lange Notiz\\, die Evolution nach fünfundsiebzig Bytes umbric\n"
                    " ht\\; mit Semikolon\\nund Zeilenumbruch\n"
                    "REV:2024-05-01T10:00:00Z\n"
                    "END:VCARD\n")
            << QStringList{"FN:Jürgen Müller", "N:Müller|Jürgen|||", "TEL:+49 170 1234567 [cell]",
                           "TEL:+49 30 9876 [work,voice]",
                           "NOTE:Eine lange Notiz, die Evolution nach fünfundsiebzig Bytes umbricht; mit Semikolon\n"
                           "und Zeilenumbruch",
                           "--"};
        QTest::newRow("Nextcloud 3.0: Sabre PRODID, item group with label, quoted type list")
            << crlf("BEGIN:VCARD\n"
                    "VERSION:3.0\n"
                    "PRODID:-//Sabre//Sabre VObject 4.5.4//EN\n"
                    "UID:0c7a4f1e-3c1d-4e8a-9a57-2f1e3d4c5b6a\n"
                    "FN:Dr. Anna Schmidt\n"
                    "N:Schmidt;Anna;;Dr.;\n"
                    "item1.TEL;TYPE=pref:+49 89 111\n"
                    "item1.X-ABLabel:Büro\n"
                    "TEL;TYPE=\"HOME,VOICE\":+49 89 222\n"
                    "END:VCARD\n")
            << QStringList{"FN:Dr. Anna Schmidt", "N:Schmidt|Anna||Dr.|", "TEL:+49 89 111 [pref] pref=1",
                           "TEL:+49 89 222 [home,voice]", "--"};
        QTest::newRow("Apple 3.0: lower-case parameter names, repeated type")
            << crlf("BEGIN:VCARD\nVERSION:3.0\nN:Lee;Kim;;;\nFN:Kim Lee\n"
                    "TEL;type=CELL;type=VOICE;type=pref:(555) 010-9999\nEND:VCARD\n")
            << QStringList{"FN:Kim Lee", "N:Lee|Kim|||", "TEL:(555) 010-9999 [cell,voice,pref] pref=1", "--"};
        QTest::newRow("Thunderbird 4.0: VALUE=TEXT with TYPE, UID, PRODID")
            << crlf("BEGIN:VCARD\n"
                    "VERSION:4.0\n"
                    "PRODID:-//Thunderbird.net/NONSGML Thunderbird 115.0//EN\n"
                    "UID:4b6e8f2a-1c3d-4e5f-8a9b-0c1d2e3f4a5b\n"
                    "FN:Anna Schmidt\n"
                    "N:Schmidt;Anna;;;\n"
                    "TEL;VALUE=TEXT;TYPE=cell:+49 170 555\n"
                    "TEL;VALUE=TEXT;TYPE=home:030 555\n"
                    "END:VCARD\n")
            << QStringList{"FN:Anna Schmidt", "N:Schmidt|Anna|||", "TEL:+49 170 555 [cell]", "TEL:030 555 [home]",
                           "--"};
        QTest::newRow("4.0 as its standard shows it: tel URIs, quoted type list, PREF=n, percent escape")
            << crlf("BEGIN:VCARD\n"
                    "VERSION:4.0\n"
                    "FN:Bernd\n"
                    "TEL;VALUE=uri;TYPE=\"cell,voice\";PREF=1:tel:+49-30-1234\n"
                    "TEL;VALUE=uri;PREF=50;TYPE=work:tel:+49-30-9999;ext=12\n"
                    "TEL;VALUE=uri:TEL:%2B4930777\n"
                    "TEL;PREF=300:+1 555\n"
                    "END:VCARD\n")
            << QStringList{"FN:Bernd", "N:", "TEL:+49-30-1234 [cell,voice] pref=1", "TEL:+49-30-9999 [work] pref=50",
                           "TEL:+4930777 []", "TEL:+1 555 [] pref=100", "--"};
    }
    void programShapes()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, expected);
        const VCardReadResult result = VCardReader::read(file);
        QCOMPARE(problemTexts(result), QStringList());
        QVERIFY(result.isVCard);
        QCOMPARE(VCardTestText::describe(result.cards), expected);
    }

    // The same card in the ways a file may be laid out: line ends, byte order marks, case, blank lines, folding.
    void layout_data()
    {
        QTest::addColumn<QByteArray>("file");
        const QByteArray card = "BEGIN:VCARD\nVERSION:3.0\nFN:Zoë\nN:;Zoë;;;\nTEL;TYPE=CELL:+33 6 12\nEND:VCARD\n";
        QTest::newRow("LF only") << card;
        QTest::newRow("CRLF") << crlf(card);
        QTest::newRow("CR only") << QByteArray(card).replace('\n', '\r');
        QTest::newRow("UTF-8 byte order mark") << "\xEF\xBB\xBF" + card;
        const QString text = QString::fromUtf8(crlf(card));
        QTest::newRow("UTF-16LE with byte order mark")
            << "\xFF\xFE" + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        QTest::newRow("lower-case names") << QByteArray("begin:vcard\nversion:3.0\nfn:Zoë\nn:;Zoë;;;\n"
                                                        "tel;type=cell:+33 6 12\nend:vcard\n");
        QTest::newRow("blank lines and text around the card") << "garbage before\n\n\n" + card + "\n\n  \n";
        QTest::newRow("folded with a tab and in the middle of the name")
            << QByteArray("BEGIN:VCARD\nVERSION:3.0\nF\n\tN:Zo\xC3\n \xAB\nN:;Zoë;;;\nTEL;TY\n PE=CELL:+33 6 12\nEND:VCARD\n");
        // Neither is a character of the name; a byte order mark at a value's start was dropped, one inside kept.
        QTest::newRow("byte order marks inside values")
            << QByteArray("BEGIN:VCARD\nVERSION:3.0\nFN:Z\xEF\xBB\xBFo\xC3\xAB\xEF\xBB\xBF\nN:;\xEF\xBB\xBFZo\xC3\xAB;;;\n"
                          "TEL;TYPE=CELL:+33 6\xEF\xBB\xBF 12\nEND:VCARD\n");
        QTest::newRow("U+0000 from quoted-printable and from a tel: URI")
            << QByteArray("BEGIN:VCARD\nVERSION:3.0\nFN;ENCODING=QUOTED-PRINTABLE:Zo=00=C3=AB\nN:;Zoë;;;\n"
                          "TEL;VALUE=uri;TYPE=CELL:tel:+33 6%00 12\nEND:VCARD\n");
    }
    void layout()
    {
        QFETCH(QByteArray, file);
        const VCardReadResult result = VCardReader::read(file);
        QCOMPARE(problemTexts(result), QStringList());
        QCOMPARE(VCardTestText::describe(result.cards),
                 (QStringList{"FN:Zoë", "N:|Zoë|||", "TEL:+33 6 12 [cell]", "--"}));
        QCOMPARE(result.versionSeen, QStringLiteral("3.0"));
    }

    void beginLineIsThePhysicalLine()
    {
        const VCardReadResult result = VCardReader::read(kThreeCards);
        QCOMPARE(result.cards.size(), 3);
        QCOMPARE(result.cards.at(0).line, 1);
        QCOMPARE(result.cards.at(1).line, 10);
        QCOMPARE(result.cards.at(2).line, 18);
        QCOMPARE(result.cards.at(1).formattedName, QStringLiteral("Anna \"Annie\" Schmidt"));
        QCOMPARE(result.cards.at(1).note, QStringLiteral("a long note that was folded by the writer, with escapes\n"));
        QCOMPARE(result.versionSeen, QStringLiteral("4.0"));
    }

    // Broken cards are named with their line and left out; the cards around them are kept.
    void brokenCards_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("keptNames");
        QTest::addColumn<QList<int>>("problemLines");
        QTest::addColumn<QString>("problemWords");
        const QByteArray good = "BEGIN:VCARD\nFN:Good\nEND:VCARD\n";
        QTest::newRow("card without END before the next BEGIN")
            << "BEGIN:VCARD\nFN:Lost\nTEL:1\n" + good << QStringList{"Good"} << QList<int>{1}
            << QStringLiteral("Line 1: the card has no END:VCARD before the next BEGIN:VCARD on line 4; it was skipped.");
        QTest::newRow("END missing at the end of the file")
            << good + "BEGIN:VCARD\nFN:Lost\n" << QStringList{"Good"} << QList<int>{4}
            << QStringLiteral("Line 4: the card has no END:VCARD; it was skipped.");
        // One line that cannot be read costs that line, not its card.
        QTest::newRow("line without a colon")
            << "BEGIN:VCARD\nFN:Kept\nthis is no property\nEND:VCARD\n" + good << QStringList{"Kept", "Good"} << QList<int>{3}
            << QStringLiteral("Line 3: the line has no ':' and cannot be read; the rest of the card that begins on line 1 was read.");
        QTest::newRow("Evolution's bare FN")
            << QByteArray("BEGIN:VCARD\nVERSION:3.0\nFN\nN:Peña;Ñuño;;;\nTEL:1\nEND:VCARD\n") << QStringList{""} << QList<int>{3}
            << QStringLiteral("Line 3: the line has no ':' and cannot be read; the rest of the card that begins on line 1 was read.");
        QTest::newRow("line without a colon in a card without END")
            << "BEGIN:VCARD\nFN;TYPE\n" + good << QStringList{"Good"} << QList<int>{1, 2}
            << QStringLiteral("Line 2: the line has no ':' and cannot be read; the rest of the card that begins on line 1 was read.");
        QTest::newRow("no FN, no N, no TEL")
            << good + "BEGIN:VCARD\nVERSION:3.0\nEMAIL:a@b.example\nEND:VCARD\n" + good << QStringList{"Good", "Good"}
            << QList<int>{4} << QStringLiteral("Line 4: the card has no name and no number; it was skipped.");
        QTest::newRow("name made of blanks and an empty number")
            << "BEGIN:VCARD\nFN: \nN:;;;;\nTEL:\nEND:VCARD\n" + good << QStringList{"Good"} << QList<int>{1}
            << QStringLiteral("Line 1: the card has no name and no number; it was skipped.");
        QTest::newRow("a number alone is enough")
            << QByteArray("BEGIN:VCARD\nTEL:+49 1\nEND:VCARD\n") << QStringList{""} << QList<int>{} << QString();
        QTest::newRow("END without BEGIN and a stray quote are harmless")
            << QByteArray("END:VCARD\nBEGIN:VCARD\nNOTE;X-A=\"b:c\nFN:Good\nEND:VCARD\n") << QStringList{"Good"} << QList<int>{}
            << QString();
        QTest::newRow("a 2.1 QP value ending with '=' does not swallow END")
            << QByteArray("BEGIN:VCARD\nFN;ENCODING=QUOTED-PRINTABLE:Good=\nEND:VCARD\n") << QStringList{"Good="} << QList<int>{}
            << QString();
    }
    void brokenCards()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, keptNames);
        QFETCH(QList<int>, problemLines);
        QFETCH(QString, problemWords);
        for (const QByteArray& variant : {file, crlf(file)}) {
            const VCardReadResult result = VCardReader::read(variant);
            QStringList names;
            for (const VCardCard& card : result.cards)
                names << card.formattedName;
            QCOMPARE(names, keptNames);
            QCOMPARE(::problemLines(result), problemLines);
            if (!problemWords.isEmpty())
                QVERIFY2(problemTexts(result).contains(problemWords), qPrintable(problemTexts(result).join(u'\n')));
        }
    }

    void notVCard_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("only blank lines") << QByteArray("\r\n\n \n");
        QTest::newRow("CSV") << QByteArray("Name,Number\nAnna,123\n");
        QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\xFF\xD8:", 19);
        QTest::newRow("BEGIN of another kind") << QByteArray("BEGIN:VCALENDAR\nEND:VCALENDAR\n");
    }
    void notVCard()
    {
        QFETCH(QByteArray, file);
        const VCardReadResult result = VCardReader::read(file);
        QVERIFY(!result.isVCard);
        QVERIFY(result.cards.isEmpty());
        QCOMPARE(result.problems.size(), 1);
    }

    // Every shortened form of a good file reads without crashing, never invents cards, and names any cut card.
    void everyTruncationReads()
    {
        for (qsizetype length = 0; length <= kThreeCards.size(); ++length) {
            const VCardReadResult result = VCardReader::read(kThreeCards.first(length));
            QVERIFY(result.cards.size() <= 3);
            for (const VCardProblem& problem : result.problems)
                QVERIFY(problem.text.startsWith(QStringLiteral("Line %1: ").arg(problem.line)));
        }
    }

    // Random bytes mixed with the characters that steer the reader: no crash, no overrun (run under ASan).
    void randomBytesRead()
    {
        const QList<QByteArray> pieces{"BEGIN:VCARD\r\n", "END:VCARD\n", ":", ";", "=", "\\", "\"", " ", "\n", "\r",
                                       "TEL;", "N:", "ENCODING=QUOTED-PRINTABLE", "BASE64", "=C3", "\xC3", "\xFF\xFE",
                                       "\xEF\xBB\xBF", ",", "tel:", "%", "PREF=", "TYPE=\"", "item1."};
        QRandomGenerator random(20240501);
        for (int round = 0; round < 3000; ++round) {
            QByteArray file;
            const int count = random.bounded(60);
            for (int i = 0; i < count; ++i) {
                if (random.bounded(3) == 0)
                    file += char(random.bounded(256));
                else
                    file += pieces.at(random.bounded(pieces.size()));
            }
            const VCardReadResult result = VCardReader::read(file);
            for (const VCardCard& card : result.cards)
                QVERIFY(card.line >= 1);
        }
    }

    // Very long lines in their several shapes read in one pass; the time is printed, not checked.
    void longLines_data()
    {
        QTest::addColumn<QByteArray>("note");
        QTest::addColumn<qsizetype>("noteLength");
        const qsizetype length = 4 * 1024 * 1024;
        QByteArray folded;
        for (qsizetype i = 0; i < length / 74; ++i)
            folded += QByteArray(74, 'x') + "\r\n ";
        QTest::newRow("one unfolded line") << QByteArray(length, 'x') << length;
        QTest::newRow("folded every 74 octets") << folded << length / 74 * 74;
        QByteArray softBreaks = ";ENCODING=QUOTED-PRINTABLE:";
        for (qsizetype i = 0; i < length / 74; ++i)
            softBreaks += QByteArray(73, 'x') + "=\r\n";
        QTest::newRow("quoted-printable soft breaks") << softBreaks << length / 74 * 73;
    }
    void longLines()
    {
        QFETCH(QByteArray, note);
        QFETCH(qsizetype, noteLength);
        const QByteArray separator = note.startsWith(';') ? "" : ":";
        const QByteArray file = "BEGIN:VCARD\r\nFN:Long\r\nNOTE" + separator + note + "\r\nEND:VCARD\r\n";
        QElapsedTimer timer;
        timer.start();
        const VCardReadResult result = VCardReader::read(file);
        qInfo("%lld bytes read in %lld ms", static_cast<long long>(file.size()), static_cast<long long>(timer.elapsed()));
        QCOMPARE(result.cards.size(), 1);
        QCOMPARE(result.cards.front().note.size(), noteLength);
    }
};

QTEST_GUILESS_MAIN(TestVCardReader)
#include "TestVCardReader.moc"
