// Random cards as other programs write them, edited at random on both sides and merged: an oracle checks that
// the other programs' properties come back byte for byte, that each owned field follows the side that changed
// it, that a conflict copy is made exactly when both sides changed a field differently, and that no value of
// either side is lost. Servers that fold differently, end lines with LF or keep unreadable lines are part of it.
#include "TestSeed.h"
#include "model/VCardEntryCard.h"
#include "model/VCardMerge.h"
#include "model/VCardOwnedFieldEditor.h"
#include "model/VCardOwnedFields.h"
#include "model/VCardRawCard.h"
#include "model/VCardValueEncoder.h"

#include <QtTest>

#include <random>

namespace {

const QStringList kKnownLists{"Family", "Friends", "Kids", "Ärzte"};
const QStringList kForeignCategories{"Work", "VIP Club", "starred"};
const QStringList kNames{"Łukasz Nowak", "Иван Петров", "李", "Anna Berg", "Müller, Hans", "O'Brien; Pat",
                         "Zoë van der Berg", "李 娜"};
const QStringList kComments{"", "Met at the fair, hall 3", "line one\nline two", "a;b\\c", "Ärztin — Notdienst"};
const QByteArray kOwnedNames[] = {"FN", "N", "NOTE", "X-KORVANE-INDEX", "X-KORVANE-VIP", "UID", "CATEGORIES"};

class Random {
public:
    explicit Random(quint64 seed) : m_engine(seed) {}
    int in(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_engine); }
    bool chance(int percent) { return in(1, 100) <= percent; }
    template <typename List> auto pick(const List& list) { return list.at(in(0, int(list.size()) - 1)); }

private:
    std::mt19937_64 m_engine;
};

QByteArray randomNumber(Random& random)
{
    QByteArray number = random.chance(60) ? "+" + QByteArray::number(random.in(1, 49)) + " " : "0";
    for (int k = random.in(5, 9); k > 0; --k)
        number += char('0' + random.in(0, 9));
    return number;
}

QByteArray base64Block(Random& random)
{
    QByteArray bytes;
    for (int k = random.in(60, 400); k > 0; --k)
        bytes += char(random.in(0, 255));
    return bytes.toBase64();
}

QByteArray upperOrLower(Random& random, const QByteArray& word)
{
    return random.in(0, 2) == 0 ? word.toLower() : random.chance(50) ? word.toUpper() : word;
}

// A property of another program, sometimes with a group and its label.
QList<QByteArray> foreignProperty(Random& random, bool version4, int& group)
{
    const QByteArray type = upperOrLower(random, "TYPE");
    switch (random.in(0, 10)) {
    case 0: return {"EMAIL;" + type + "=" + upperOrLower(random, "INTERNET") + ",home:anna@example.org"};
    case 1: {
        const QByteArray item = "item" + QByteArray::number(++group);
        return {item + ".EMAIL;" + type + "=INTERNET:w@example.com", item + ".X-ABLabel:_$!<Other>!$_"};
    }
    case 2: return {"ADR;" + type + "=home:;;ul. Długa 5;Warszawa;;00-238;Polska"};
    case 3: return {"ORG:Korvane GmbH;Vertrieb"};
    case 4: return {version4 ? "BDAY:--0412" : "BDAY;VALUE=date:1985-04-12"};
    case 5: return {version4 ? "PHOTO:data:image/jpeg;base64," + base64Block(random)
                             : "PHOTO;ENCODING=b;" + type + "=JPEG:" + base64Block(random)};
    case 6: return {"X-SOCIALPROFILE;type=twitter;x-user=" + QByteArray(random.in(10, 90), 'x') + ":https://x.example/"};
    case 7: return {"X-ANDROID-CUSTOM:vnd.android.cursor.item/nickname;Łukasz;1;;;;;;;;;;;;;"};
    case 8: return {"TEL;" + type + "=work,voice:" + randomNumber(random)};
    case 9: {
        const QByteArray item = "item" + QByteArray::number(++group);
        return {item + ".TEL;" + type + "=CELL:" + randomNumber(random), item + ".X-ABLabel:Büro"};
    }
    default: return {"URL:https://example.org/" + QByteArray(random.in(0, 120), 'p')};
    }
}

// Folds at a width of the writer's own (servers differ; some split a character, some do not fold at all) and
// ends lines with CRLF or, now and then, LF.
QByteArray writeLines(Random& random, const QList<QByteArray>& lines)
{
    const int width = random.pick(QList<int>{75, 75, 60, 31, 5000});
    const QByteArray end = random.chance(15) ? "\n" : "\r\n";
    QByteArray text;
    for (const QByteArray& line : lines) {
        text += line.left(width);
        for (qsizetype at = width; at < line.size(); at += width - 1)
            text += end + " " + line.mid(at, width - 1);
        text += end;
    }
    return text;
}

QByteArray escaped(const QString& text)
{
    return VCardValueEncoder::escapeText(text).toUtf8();
}

VCardRawCard parsed(const QByteArray& text)
{
    const std::optional<VCardRawCard> card = VCardRawCard::parse(text);
    if (!card)
        qFatal("a generated card cannot be read:\n%s", text.constData());
    return *card;
}

// A card as another program wrote it: its owned fields, some foreign properties, in a shuffled order.
VCardRawCard randomCard(Random& random, const QString& uid)
{
    const bool version4 = random.chance(30);
    int group = 0;
    QList<QByteArray> body;
    const QString name = random.pick(kNames);
    body << "FN:" + escaped(name) << (random.chance(70) ? "N:" + escaped(name.section(u' ', -1)) + ";;;;" : "N:;;;;");
    if (random.chance(80))
        body << (random.chance(30) ? "TEL;" + upperOrLower(random, "TYPE") + "=cell,pref:" : "TEL:") + randomNumber(random);
    if (random.chance(50))
        body << "NOTE:" + escaped(random.pick(kComments));
    if (random.chance(60))
        body << "X-KORVANE-INDEX:" + QByteArray::number(random.in(1, 4));
    if (random.chance(30))
        body << "X-KORVANE-VIP:1";
    if (random.chance(50))
        body << "CATEGORIES:" + random.pick(kForeignCategories).toUtf8() + "," + random.pick(kKnownLists).toUtf8();
    for (int k = random.in(0, 6); k > 0; --k)
        body << foreignProperty(random, version4, group);
    if (random.chance(10))
        body << "an unreadable line without a colon";
    std::shuffle(body.begin(), body.end(), std::mt19937(random.in(0, 1 << 30)));
    QList<QByteArray> lines{"BEGIN:VCARD", version4 ? "VERSION:4.0" : "VERSION:3.0"};
    lines << body << "UID:" + uid.toUtf8() << "END:VCARD";
    return parsed(writeLines(random, lines));
}

QStringList randomLists(Random& random)
{
    QStringList lists;
    for (const QString& list : kKnownLists) {
        if (random.chance(30))
            lists << list;
    }
    return lists;
}

// The user's edit of the entry in this program; `edited` receives the entry as edited and its lists.
VCardRawCard localEdit(Random& random, const VCardRawCard& base, std::pair<DirEntry, QStringList>& edited)
{
    QStringList lists;
    DirEntry entry = VCardEntryCard::entryOf(base, kKnownLists, &lists);
    if (random.chance(30))
        entry.m_strName = random.pick(kNames).toStdString();
    if (random.chance(30))
        entry.m_strNumber = randomNumber(random).toStdString();
    if (random.chance(30))
        entry.m_strComment = random.pick(kComments).toStdString();
    if (random.chance(30))
        entry.m_nIndex = random.in(0, 4);
    if (random.chance(20))
        entry.m_strStatus = entry.m_strStatus == "!" ? " " : "!";
    if (random.chance(30))
        lists = randomLists(random);
    edited = {entry, lists};
    return VCardEntryCard::cardOf(entry, lists, kKnownLists, &base);
}

// Another program's edit on the server: owned fields, its own properties, a new preferred number, a new fold.
VCardRawCard serverEdit(Random& random, const VCardRawCard& base)
{
    VCardRawCard card = base;
    const VCardOwnedFields fields = VCardOwnedFields::of(card);
    if (random.chance(25))
        VCardOwnedFieldEditor::setName(card, random.pick(kNames));
    if (random.chance(25))
        VCardOwnedFieldEditor::setNumber(card, QString::fromLatin1(randomNumber(random)), {});
    if (random.chance(25))
        VCardOwnedFieldEditor::setComment(card, random.pick(kComments));
    if (random.chance(25))
        VCardOwnedFieldEditor::setIndex(card, random.in(0, 4));
    if (random.chance(15))
        VCardOwnedFieldEditor::setVip(card, !fields.vip);
    if (random.chance(25)) {
        QStringList categories = randomLists(random);
        if (random.chance(50))
            categories << random.pick(kForeignCategories);
        VCardOwnedFieldEditor::setCategories(card, categories);
    }
    int group = 50;
    for (int k = random.in(-2, 2); k > 0; --k) {
        for (const QByteArray& line : foreignProperty(random, card.version() == "4.0", group))
            card.append(line);
    }
    if (random.chance(20)) {
        const QList<qsizetype> emails = card.find("EMAIL");
        if (!emails.isEmpty())
            card.remove(emails.front());
    }
    if (random.chance(10))
        card.append("TEL;TYPE=cell;PREF=1:" + randomNumber(random));  // the entry's number is another one now
    if (random.chance(15)) {
        QList<QByteArray> lines;
        for (const VCardRawLine& line : card.lines())
            lines << line.logical;
        card = parsed(writeLines(random, lines));
    }
    return card;
}

bool isOwnedLine(const VCardRawCard& card, qsizetype at)
{
    const QByteArray& name = card.lines()[at].parsed.name;
    return std::find(std::begin(kOwnedNames), std::end(kOwnedNames), name) != std::end(kOwnedNames)
        || at == VCardOwnedFields::ownedPhoneLine(card);
}

bool containsLine(const VCardRawCard& card, const QByteArray& text)
{
    return std::any_of(card.lines().begin(), card.lines().end(), [&](const VCardRawLine& l) { return l.text == text; });
}

// The expected value of one field, and whether it conflicts.
template <typename Value>
Value expected(const Value& base, const Value& local, const Value& server, bool& conflict)
{
    if (local != base && server != base && local != server)
        conflict = true;
    return local != base && server == base ? local : server;
}

QSet<QString> expectedCategories(const QStringList& base, const QStringList& local, const QStringList& server)
{
    QSet<QString> merged;
    for (const QStringList* side : {&base, &local, &server}) {
        for (const QString& category : *side) {
            const bool localChanged = base.contains(category) != local.contains(category);
            if (localChanged ? local.contains(category) : server.contains(category))
                merged << category;
        }
    }
    return merged;
}

}

class TestCardMergeRandom : public QObject {
    Q_OBJECT

private slots:
    void randomEditsMergeWithoutLoss();

private:
    void checkCardShowsEntry(const VCardRawCard& card, const DirEntry& entry, const QStringList& lists);
    void checkBothKept(const VCardRawCard* base, const VCardRawCard& local, const VCardRawCard& server,
                       const VCardMergeResult& result);
    void checkOneSide(const VCardRawCard* base, const VCardRawCard* local, const VCardRawCard* server,
                      const VCardMergeResult& result);
    void checkNextSyncIsQuiet(const VCardMergeResult& result);

    const QDate m_day{2026, 12, 9};
    int m_conflicts = 0;
};

void TestCardMergeRandom::randomEditsMergeWithoutLoss()
{
    const quint64 seed = TestSeed();
    qInfo("seed %llu (replay: TD_SEED=%llu test_card_merge_random)", static_cast<unsigned long long>(seed),
          static_cast<unsigned long long>(seed));
    Random random(seed);
    for (int round = 0; round < 600; ++round) {
        const QString uid = QStringLiteral("uid-%1").arg(round);
        std::optional<VCardRawCard> base = randomCard(random, uid);
        std::pair<DirEntry, QStringList> edited;
        std::optional<VCardRawCard> local = localEdit(random, *base, edited);
        checkCardShowsEntry(*local, edited.first, edited.second);
        std::optional<VCardRawCard> server = serverEdit(random, *base);
        if (random.chance(15)) {  // added on both sides with one UID
            DirEntry entry = VCardEntryCard::entryOf(randomCard(random, uid), kKnownLists);
            const QStringList lists = randomLists(random);
            local = VCardEntryCard::cardOf(entry, lists, kKnownLists, nullptr);
            checkCardShowsEntry(*local, entry, lists);
            base.reset();
        }
        if (random.chance(12))
            local.reset();
        if (random.chance(12))
            server.reset();
        const VCardRawCard* b = base ? &*base : nullptr;
        const VCardMergeResult result = VCardMerge::merge(b, local ? &*local : nullptr, server ? &*server : nullptr,
                                                          m_day);
        const QByteArray context = QByteArray("round ") + QByteArray::number(round) + ", seed "
            + QByteArray::number(seed) + "\nserver:\n" + (server ? server->toBytes() : "(deleted)") + "\nlocal:\n"
            + (local ? local->toBytes() : "(deleted)") + "\nmerged:\n" + (result.merged ? result.merged->toBytes() : "-");
        if (local && server)
            checkBothKept(b, *local, *server, result);
        else
            checkOneSide(b, local ? &*local : nullptr, server ? &*server : nullptr, result);
        if (QTest::currentTestFailed()) {
            qInfo().noquote() << context;
            return;
        }
        checkNextSyncIsQuiet(result);
        if (QTest::currentTestFailed()) {
            qInfo().noquote() << context;
            return;
        }
    }
    qInfo("%d of 600 merges made a conflict copy", m_conflicts);
    QVERIFY(m_conflicts > 20);
}

// The entry's card gives back the entry as edited, lists included.
void TestCardMergeRandom::checkCardShowsEntry(const VCardRawCard& card, const DirEntry& entry, const QStringList& lists)
{
    QStringList read;
    const DirEntry back = VCardEntryCard::entryOf(card, kKnownLists, &read);
    QCOMPARE(back.m_strName, entry.m_strName);
    QCOMPARE(back.m_strNumber, entry.m_strNumber);
    QCOMPARE(back.m_strComment, entry.m_strComment);
    QCOMPARE(back.m_nIndex, entry.m_nIndex);
    QCOMPARE(back.m_strStatus == "!", entry.m_strStatus == "!");
    QCOMPARE(QSet<QString>(read.begin(), read.end()), QSet<QString>(lists.begin(), lists.end()));
    if (!entry.m_strUid.empty())
        QCOMPARE(back.m_strUid, entry.m_strUid);
}

void TestCardMergeRandom::checkBothKept(const VCardRawCard* base, const VCardRawCard& local,
                                        const VCardRawCard& server, const VCardMergeResult& result)
{
    QVERIFY(result.merged);
    const VCardRawCard& merged = *result.merged;
    // Every property of other programs on the server's card is there, byte for byte and in its order.
    qsizetype from = 0;
    for (qsizetype at = 0; at < server.lines().size(); ++at) {
        if (isOwnedLine(server, at))
            continue;
        while (from < merged.lines().size() && merged.lines()[from].text != server.lines()[at].text)
            ++from;
        QVERIFY2(from < merged.lines().size(), server.lines()[at].logical.constData());
    }
    // Nothing else changed: a line the server does not have is one of the owned properties.
    for (const VCardRawLine& line : merged.lines()) {
        const bool owned = line.parsed.name == "TEL" || line.parsed.name == "X-ABLABEL"
            || std::find(std::begin(kOwnedNames), std::end(kOwnedNames), line.parsed.name) != std::end(kOwnedNames);
        QVERIFY2(owned || containsLine(server, line.text), line.logical.constData());
    }
    // Each owned field follows the side that changed it; both changing it differently is a conflict.
    const VCardOwnedFields b = base ? VCardOwnedFields::of(*base) : VCardOwnedFields{};
    const VCardOwnedFields l = VCardOwnedFields::of(local);
    const VCardOwnedFields s = VCardOwnedFields::of(server);
    const VCardOwnedFields m = VCardOwnedFields::of(merged);
    bool conflict = false;
    QCOMPARE(m.name, expected(b.name, l.name, s.name, conflict));
    QCOMPARE(m.number, expected(b.number, l.number, s.number, conflict));
    QCOMPARE(m.comment, expected(b.comment, l.comment, s.comment, conflict));
    QCOMPARE(m.index, expected(b.index, l.index, s.index, conflict));
    QCOMPARE(m.vip, expected(b.vip, l.vip, s.vip, conflict));
    QCOMPARE(QSet<QString>(m.categories.begin(), m.categories.end()),
             expectedCategories(b.categories, l.categories, s.categories));
    QCOMPARE(m.uid, s.uid);
    QCOMPARE(bool(result.conflictCopy), conflict);
    m_conflicts += conflict ? 1 : 0;
    // Nothing either side changed is lost: each new value is in the merged card or in the copy.
    const VCardOwnedFields c = result.conflictCopy ? VCardOwnedFields::of(*result.conflictCopy) : m;
    for (const VCardOwnedFields* side : {&l, &s}) {
        QVERIFY(side->name == b.name || m.name == side->name
                || c.name == VCardMerge::conflictName(side->name, m_day));
        QVERIFY(side->number == b.number || m.number == side->number || c.number == side->number);
        QVERIFY(side->comment == b.comment || m.comment == side->comment || c.comment == side->comment);
        QVERIFY(side->index == b.index || m.index == side->index || c.index == side->index);
        QVERIFY(side->vip == b.vip || m.vip == side->vip || c.vip == side->vip);
    }
    if (result.conflictCopy) {
        QVERIFY(c.uid != l.uid && c.uid != s.uid && !c.uid.isEmpty());
        QCOMPARE(c.categories, l.categories);
    }
    using Server = VCardMergeResult::ServerAction;
    using Local = VCardMergeResult::LocalAction;
    QCOMPARE(result.server, merged.toBytes() == server.toBytes() ? Server::Nothing : Server::Put);
    QCOMPARE(result.local, m == l ? Local::Nothing : Local::Update);
}

void TestCardMergeRandom::checkOneSide(const VCardRawCard* base, const VCardRawCard* local,
                                       const VCardRawCard* server, const VCardMergeResult& result)
{
    using Server = VCardMergeResult::ServerAction;
    using Local = VCardMergeResult::LocalAction;
    QVERIFY(!result.conflictCopy);
    if (!local && !server) {
        QVERIFY(result.server == Server::Nothing && result.local == Local::Nothing && !result.merged);
        return;
    }
    // A change survives a deletion on the other side; an unchanged card follows the deletion.
    const VCardRawCard& kept = local ? *local : *server;
    const bool changed = !base
        || (local ? !(VCardOwnedFields::of(*base) == VCardOwnedFields::of(*local)) : !base->sameContent(*server));
    if (changed) {
        QVERIFY(result.merged);
        QCOMPARE(result.merged->toBytes(), kept.toBytes());
        QCOMPARE(result.server, local ? Server::Put : Server::Nothing);
        QCOMPARE(result.local, local ? Local::Nothing : Local::Create);
    } else {
        QVERIFY(!result.merged);
        QCOMPARE(result.server, local ? Server::Nothing : Server::Delete);
        QCOMPARE(result.local, local ? Local::Delete : Local::Nothing);
    }
}

// The synchronisation after this one, with no edits in between, changes nothing; so does a copy's.
void TestCardMergeRandom::checkNextSyncIsQuiet(const VCardMergeResult& result)
{
    for (const std::optional<VCardRawCard>& card : {result.merged, result.conflictCopy}) {
        if (!card)
            continue;
        QStringList lists;
        const DirEntry entry = VCardEntryCard::entryOf(*card, kKnownLists, &lists);
        const VCardRawCard local = VCardEntryCard::cardOf(entry, lists, kKnownLists, &*card);
        QCOMPARE(local.toBytes(), card->toBytes());
        const VCardMergeResult next = VCardMerge::merge(&*card, &local, &*card, m_day);
        QVERIFY(next.server == VCardMergeResult::ServerAction::Nothing);
        QVERIFY(next.local == VCardMergeResult::LocalAction::Nothing && !next.conflictCopy);
    }
}

QTEST_GUILESS_MAIN(TestCardMergeRandom)
#include "TestCardMergeRandom.moc"
