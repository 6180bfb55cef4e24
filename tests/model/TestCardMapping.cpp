// A card kept line by line: what an entry owns of it, which of several numbers that is, and that everything else
// goes back to the server byte for byte.
#include "model/VCardEntryCard.h"
#include "model/VCardMerge.h"
#include "model/VCardOwnedFields.h"
#include "model/VCardRawCard.h"

#include <QtTest>

namespace {

// An iCloud-style card: folded lines, a photo, numbers with grouped labels, a category of its own.
const QByteArray kICloudCard =
    "BEGIN:VCARD\r\n"
    "VERSION:3.0\r\n"
    "PRODID:-//Apple Inc.//iOS 17.1//EN\r\n"
    "N:Nowak;Łukasz;;;\r\n"
    "FN:Łukasz Nowak\r\n"
    "ORG:Korvane GmbH;\r\n"
    "item1.EMAIL;type=INTERNET;type=pref:lukasz@example.org\r\n"
    "item1.X-ABLabel:_$!<Other>!$_\r\n"
    "TEL;type=HOME;type=VOICE:+48 22 111 11 11\r\n"
    "item2.TEL;type=CELL;type=pref:+48 601 222 333\r\n"
    "item2.X-ABLabel:_$!<Mobile>!$_\r\n"
    "ADR;type=HOME:;;ul. Długa 5;Warszawa;;00-238;Polska\r\n"
    "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQAAAQABAAD/2wBDAAMCAgICAgMCAgIDAwMDBAYEBAQEBAgGBgUGCQgKCgkI\r\n"
    " CQkKDA8MCgsOCwkJDRENDg8QEBEQCgwSExIQEw8QEBD/2wBDAQMDAwQDBAgEBAgQCwkLEBAQEBAQ\r\n"
    "NOTE:Met at the fair\\, hall 3\r\n"
    "CATEGORIES:Work,Family\r\n"
    "X-SOCIALPROFILE;type=twitter:https://twitter.com/lukasz_nowak_example_handle_that_is_rather_long_indeed\r\n"
    "UID:8D2B3C9A-1111-4222-8333-944455556666\r\n"
    "END:VCARD\r\n";

VCardRawCard parsed(const QByteArray& bytes)
{
    const std::optional<VCardRawCard> card = VCardRawCard::parse(bytes);
    if (!card)
        qFatal("the card cannot be read");
    return *card;
}

// The lines of `after` that `before` does not have, unfolded.
QStringList newLines(const VCardRawCard& before, const VCardRawCard& after)
{
    QStringList added;
    for (const VCardRawLine& line : after.lines()) {
        bool kept = false;
        for (const VCardRawLine& old : before.lines())
            kept = kept || old.text == line.text;
        if (!kept)
            added << QString::fromUtf8(line.logical);
    }
    return added;
}

}

class TestCardMapping : public QObject {
    Q_OBJECT

private slots:
    void unchangedCardKeepsItsBytes();
    void ownedNumberIsTheOneAnImportTakes_data();
    void ownedNumberIsTheOneAnImportTakes();
    void editChangesOnlyTheLinesOfChangedFields();
    void categoriesOfOtherProgramsStay();
    void newEntryMakesAThreeZeroCard();
    void foldingIsNoChangeAndAConflictKeepsBoth();
};

void TestCardMapping::unchangedCardKeepsItsBytes()
{
    QCOMPARE(parsed(kICloudCard).toBytes(), kICloudCard);
    // Line feeds alone are read; the card goes back with CRLF, folds where they were.
    QCOMPARE(parsed(QByteArray(kICloudCard).replace("\r\n", "\n")).toBytes(), kICloudCard);
    // Text around the card is no part of it.
    QCOMPARE(parsed("\xEF\xBB\xBF" "garbage\r\n" + kICloudCard + "\r\n\r\n").toBytes(), kICloudCard);
    QVERIFY(!VCardRawCard::parse("BEGIN:VCARD\r\nFN:cut short\r\n"));
    // The same entry written onto its own card changes nothing at all.
    const VCardRawCard card = parsed(kICloudCard);
    QStringList lists;
    const DirEntry entry = VCardEntryCard::entryOf(card, {"Family"}, &lists);
    QCOMPARE(lists, QStringList({"Family"}));
    QCOMPARE(VCardEntryCard::cardOf(entry, lists, {"Family"}, &card).toBytes(), kICloudCard);
}

void TestCardMapping::ownedNumberIsTheOneAnImportTakes_data()
{
    QTest::addColumn<QByteArray>("tels");
    QTest::addColumn<QString>("owned");
    QTest::newRow("the preferred one") << QByteArray("TEL;TYPE=HOME:+1 111\r\nTEL;TYPE=CELL,PREF:+1 222\r\n")
                                       << "+1 222";
    QTest::newRow("the best preference") << QByteArray("TEL;PREF=50:+1 111\r\nTEL;pref=2:+1 222\r\n") << "+1 222";
    QTest::newRow("the first without a preference")
        << QByteArray("TEL;type=work:+1 111\r\nTEL;type=cell:+1 222\r\n") << "+1 111";
    QTest::newRow("letters or no digit are no number")
        << QByteArray("TEL;TYPE=PREF:+1 800 FLOWERS\r\nTEL:n/a\r\nTEL:+1 333\r\n") << "+1 333";
    QTest::newRow("a tel: URI of 4.0")
        << QByteArray("TEL;VALUE=uri;TYPE=home:tel:+1-444\r\nTEL;VALUE=uri;PREF=1:tel:+1-555;ext=7\r\n") << "+1555";
    QTest::newRow("a URI with a quoted parameter, then text")
        << QByteArray("TEL;VALUE=uri;X-SERVICE=\"sip:a;b\":tel:+1-555\r\n") << "+1555";
    QTest::newRow("none") << QByteArray("TEL:\r\n") << "";
}

void TestCardMapping::ownedNumberIsTheOneAnImportTakes()
{
    QFETCH(QByteArray, tels);
    QFETCH(QString, owned);
    const VCardRawCard card = parsed("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:u1\r\nFN:A\r\n" + tels + "END:VCARD\r\n");
    QCOMPARE(VCardOwnedFields::of(card).number, owned);
    // The entry's new number replaces that number alone; the others stay as they were.
    DirEntry entry = VCardEntryCard::entryOf(card, {});
    entry.m_strNumber = "+49 9";
    const VCardRawCard changed = VCardEntryCard::cardOf(entry, {}, {}, &card);
    QCOMPARE(VCardOwnedFields::of(changed).number, QStringLiteral("+49 9"));
    QCOMPARE(newLines(card, changed).size(), 1);
    QCOMPARE(changed.lines().size(), card.lines().size() + (owned.isEmpty() ? 1 : 0));
}

void TestCardMapping::editChangesOnlyTheLinesOfChangedFields()
{
    const VCardRawCard card = parsed(kICloudCard);
    DirEntry entry = VCardEntryCard::entryOf(card, {});
    QCOMPARE(QString::fromStdString(entry.m_strNumber), QStringLiteral("+48 601 222 333"));
    QCOMPARE(QString::fromStdString(entry.m_strNumberKind), QStringLiteral("_$!<Mobile>!$_"));
    entry.m_strComment = "Met at the fair, hall 4";
    entry.m_strStatus = "!";
    QCOMPARE(newLines(card, VCardEntryCard::cardOf(entry, {}, {}, &card)),
             QStringList({"NOTE:Met at the fair\\, hall 4", "X-KORVANE-VIP:1"}));
    // A new name writes FN and derives N; the grouped number keeps its group and label.
    entry.m_strName = "Иван Петров";
    entry.m_strNumber = "+7 495 1234567";
    const VCardRawCard renamed = VCardEntryCard::cardOf(entry, {}, {}, &card);
    QCOMPARE(newLines(card, renamed),
             QStringList({"N:Петров;Иван;;;", "FN:Иван Петров", "item2.TEL;type=CELL;type=pref:+7 495 1234567",
                          "NOTE:Met at the fair\\, hall 4", "X-KORVANE-VIP:1"}));
    // An unchanged name leaves N alone even when N says more than the program derives.
    const VCardRawCard titled = parsed("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:李\r\nN:李;;;Dr.;\r\nUID:u2\r\nEND:VCARD\r\n");
    DirEntry chinese = VCardEntryCard::entryOf(titled, {});
    chinese.m_nIndex = 12;
    QCOMPARE(newLines(titled, VCardEntryCard::cardOf(chinese, {}, {}, &titled)), QStringList({"X-KORVANE-INDEX:12"}));
}

void TestCardMapping::categoriesOfOtherProgramsStay()
{
    const VCardRawCard card = parsed(kICloudCard);
    const QStringList known{"Family", "Friends"};
    const DirEntry entry = VCardEntryCard::entryOf(card, known);
    // Out of "Family", into "Friends": "Work" is no list of the book and stays.
    QCOMPARE(VCardOwnedFields::of(VCardEntryCard::cardOf(entry, {"Friends"}, known, &card)).categories,
             QStringList({"Work", "Friends"}));
    QCOMPARE(VCardOwnedFields::of(VCardEntryCard::cardOf(entry, {}, known, &card)).categories, QStringList({"Work"}));
}

void TestCardMapping::newEntryMakesAThreeZeroCard()
{
    DirEntry entry;
    entry.m_strName = "Müller, Hans";
    entry.m_strNumber = "+49 30 123456";
    entry.m_strNumberKind = "Büro";
    entry.m_strStatus = "!";
    entry.m_nIndex = 7;
    const VCardRawCard card = VCardEntryCard::cardOf(entry, {"Family"}, {"Family"}, nullptr);
    QCOMPARE(card.version(), QByteArray("3.0"));
    const VCardOwnedFields fields = VCardOwnedFields::of(card);
    QCOMPARE(fields.uid.size(), 36);
    QCOMPARE(fields.numberKind, QStringLiteral("Büro"));
    QCOMPARE(fields.categories, QStringList({"Family"}));
    QVERIFY(card.toBytes().contains("\r\nN:Müller;Hans;;;\r\n"));
    QVERIFY(card.toBytes().contains("\r\nitem1.X-ABLabel:Büro\r\n"));
    QCOMPARE(parsed(card.toBytes()).toBytes(), card.toBytes());
}

void TestCardMapping::foldingIsNoChangeAndAConflictKeepsBoth()
{
    using Server = VCardMergeResult::ServerAction;
    using Local = VCardMergeResult::LocalAction;
    const QDate day(2026, 12, 9);
    const VCardRawCard base = parsed(kICloudCard);
    DirEntry entry = VCardEntryCard::entryOf(base, {});
    entry.m_nIndex = 3;
    const VCardRawCard localChanged = VCardEntryCard::cardOf(entry, {}, {}, &base);

    // A server that only folded the card anew has not changed it: the deletion stands.
    const VCardRawCard refolded = parsed(QByteArray(kICloudCard).replace("\r\n ", ""));
    QVERIFY(refolded.toBytes() != base.toBytes());
    VCardMergeResult r = VCardMerge::merge(&base, nullptr, &refolded, day);
    QVERIFY(r.local == Local::Nothing && r.server == Server::Delete && !r.merged);
    // Both sides changed the index, each to its own value: the server's stays, the local one lives in the copy.
    const VCardRawCard serverIndex = VCardEntryCard::cardOf([&] { DirEntry e = entry; e.m_nIndex = 4; return e; }(),
                                                            {}, {}, &base);
    r = VCardMerge::merge(&base, &localChanged, &serverIndex, day);
    QCOMPARE(r.conflictingFields, QStringList({"index"}));
    QCOMPARE(VCardOwnedFields::of(*r.merged).index, 4);
    QCOMPARE(VCardOwnedFields::of(*r.conflictCopy).name, QStringLiteral("Łukasz Nowak (conflict 2026-12-09)"));
    QCOMPARE(VCardOwnedFields::of(*r.conflictCopy).index, 3);
    QVERIFY(r.local == Local::Update && r.server == Server::Nothing);
}

QTEST_GUILESS_MAIN(TestCardMapping)
#include "TestCardMapping.moc"
