
// vCards between the address book and other programs, through the address-book tool's commands on a real
// address-book file: book -> vCard -> book keeps names, numbers, indices, VIP marks and comments (also for random
// entries: the seed is printed, TD_SEED=N replays it); an import follows the insertion rules (names unique in the
// folder, indices free), takes the numbers the user chose, names every card it leaves out by line and imports
// the rest; names in every script come back as they were, and the tool as a program prints them in UTF-8 whatever
// the locale and answers with exit codes and the report's text.
#include "PabQuery.h"
#include "PabSeeder.h"
#include "TestSeed.h"
#include "Utf8Locale.h"

#include "mapi/MapiFaults.h"
#include "pab/tools/AddressBookCommand.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QRegularExpression>
#include <QUuid>
#include <QtTest>

#include <random>
#include <sqlite3.h>
#include <set>

namespace {
struct Seeded {
    std::string name;
    std::string number;
    std::optional<std::string> comment;
};

QByteArray Cards(const QStringList& cards)
{
    return (cards.join(QString()) ).toUtf8();
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The byte order mark is no character of a name: the exchange drops it.
QString WithoutByteOrderMarks(QString text)
{
    return text.remove(QChar(0xFEFF));
}

// Lines as the exchange gives them back: without byte order marks, sorted.
QStringList WithoutByteOrderMarks(QStringList lines)
{
    lines.replaceInStrings(QString(QChar(0xFEFF)), QString());
    lines.sort();
    return lines;
}

QStringList Lines(const QString& text)
{
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// The lines the tool lists, sorted: index, name, number, VIP.
QStringList Listed(const AddressBookCommandResult& result)
{
    QStringList lines = Lines(result.out);
    lines.sort();
    return lines;
}

// Every mail user of the book as it lies on disk: name, number, comment, number kind and UID. A UID the book made
// up itself shows as <new>; the cards' own UIDs are chosen not to look like one.
QStringList Stored(const QString& pab, bool maskNewUids = true)
{
    QStringList rows = QueryPab(pab, R"sql(
        SELECT coalesce((SELECT CAST(value AS TEXT) FROM props WHERE object = o.id AND propid = 12289), '') || '|' ||
               coalesce((SELECT CAST(value AS TEXT) FROM props WHERE object = o.id AND propid = 14874), '') || '|' ||
               coalesce((SELECT CAST(value AS TEXT) FROM props WHERE object = o.id AND propid = 12292), '') || '|' ||
               coalesce((SELECT CAST(value AS TEXT) FROM props WHERE object = o.id AND propid = 26369), '') || '|' ||
               coalesce((SELECT CAST(value AS TEXT) FROM props WHERE object = o.id AND propid = 26368), '')
        FROM objects o WHERE o.type = 6)sql");
    for (QString& row : rows) {
        const qsizetype bar = row.lastIndexOf(QLatin1Char('|'));
        if (maskNewUids && !QUuid::fromString(QStringView(row).sliced(bar + 1)).isNull()) row = row.left(bar + 1) + "<new>";
    }
    rows.sort();
    return rows;
}

// The cards of an export as another program reads them (python3-vobject), one line each, sorted:
// FN|N family;given|TEL value|its TYPE params|its label|NOTE|UID|index|VIP.
const char* const kReadWithVobject = R"py(
import sys, vobject
lines = []
with open(sys.argv[1], encoding="utf-8", newline="") as file:
    for card in vobject.readComponents(file.read()):
        c = card.contents
        first = lambda key: c[key][0].value if key in c else ""
        tel = c.get("tel", [None])[0]
        label = ""
        if tel is not None and tel.group:
            label = "".join(l.value for l in c.get("x-ablabel", []) if l.group == tel.group)
        lines.append("|".join(f.replace("\n", "\\n") for f in [first("fn"), card.n.value.family + ";" + card.n.value.given,
                               tel.value if tel is not None else "",
                               ",".join(tel.params.get("TYPE", [])).lower() if tel is not None else "",
                               label, first("note"), first("uid"), first("x-korvane-index"),
                               first("x-korvane-vip")]))
print("\n".join(sorted(lines)))
)py";

QStringList ReadWithVobject(const QString& file)
{
    QProcess python;
    python.setProcessEnvironment(WithUtf8Locale());
    // Debian's own python3 first: one earlier in PATH may lack the module.
    python.start(QFile::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3", {"-c", kReadWithVobject, file});
    if (!python.waitForFinished(60000) || python.exitCode() != 0)
        return {QString::fromUtf8(python.readAllStandardError())};
    QStringList lines = QString::fromUtf8(python.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString& line : lines) {
        QStringList fields = line.split(QLatin1Char('|'));
        if (fields.size() > 6 && !QUuid::fromString(fields[6]).isNull()) fields[6] = "<new>";
        line = fields.join(QLatin1Char('|'));
    }
    return lines;
}
}

class TestVCardInterchange : public QObject {
    Q_OBJECT
private slots:
    void init();
    void bookToVCardToBookKeepsEverything_data();
    void bookToVCardToBookKeepsEverything();
    void randomEntriesSurviveTheRoundTrip();
    void importFollowsTheInsertionRules();
    void numbersAreTakenAsChosen_data();
    void numbersAreTakenAsChosen();
    void brokenCardsAreNamedAndTheRestImported();
    void notAVCardFileChangesNothing();
    void importIntoADistributionList();
    void toolAsAProgram();
    void cardsOfOtherProgramsComeBackAsTheyWent_data();
    void cardsOfOtherProgramsComeBackAsTheyWent();
    void oldBookGetsStableUids();
    void partialImportSaysWhatWentIn();
    void toolSpeaksUtf8WhateverTheLocale();

private:
    AddressBookCommandResult Run(const QString& pab, const QStringList& arguments,
                                 VCardVersion version = VCardVersion::V3_0,
                                 VCardNumberChoice numbers = VCardNumberChoice::Preferred);
    void Seed(const QString& pab, const std::vector<Seeded>& users);
    QString Path(const QString& name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestVCardInterchange::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

AddressBookCommandResult TestVCardInterchange::Run(const QString& pab, const QStringList& arguments,
                                                   VCardVersion version, VCardNumberChoice numbers)
{
    AddressBookCommand::Options options;
    options.pabFile = pab;
    options.create = true; // the books of these tests begin with their first import
    options.version = version;
    options.numbers = numbers;
    return AddressBookCommand(options).Run(arguments);
}

void TestVCardInterchange::Seed(const QString& pab, const std::vector<Seeded>& users)
{
    PabSeeder seeder(pab.toStdString());
    QVERIFY(seeder.Ok());
    for (const Seeded& user : users) seeder.AddUser(user.name, user.number, user.comment);
}

void TestVCardInterchange::bookToVCardToBookKeepsEverything_data()
{
    QTest::addColumn<int>("version");
    QTest::newRow("vCard 3.0") << 3;
    QTest::newRow("vCard 4.0") << 4;
}

void TestVCardInterchange::bookToVCardToBookKeepsEverything()
{
    QFETCH(int, version);
    const QString from = Path("from.sqlite");
    const QString to = Path("to.sqlite");
    // Names beyond Latin-1, a VIP, a free comment, characters vCard escapes, a number with blanks and "*#".
    Seed(from, {{"Anna Müller", "+49 30 123456", std::string("Met at fair VIP-Status - Index: 7 ")},
                {"Bert; Co, \\Ltd", "*100#", std::string("Standard-Status - Index: 2 ")},
                {"Zoë Łukasiewicz", "0301234", std::string("Standard-Status - Index: 3 ")}});
    const VCardVersion v = version == 4 ? VCardVersion::V4_0 : VCardVersion::V3_0;
    const AddressBookCommandResult exported = Run(from, {"export", Path("book.vcf")}, v);
    QCOMPARE(exported.exitCode, 0);
    QCOMPARE(exported.out, QStringLiteral("Exported 3 entries to %1.\n").arg(Path("book.vcf")));
    const AddressBookCommandResult imported = Run(to, {"import", Path("book.vcf")});
    QCOMPARE(imported.exitCode, 0);
    QCOMPARE(imported.err, QString());
    QCOMPARE(Listed(Run(to, {"list"})), Listed(Run(from, {"list"})));
    QCOMPARE(Listed(Run(to, {"list"})), QStringList({"2\tBert; Co, \\Ltd\t*100#\t", "3\tZoë Łukasiewicz\t0301234\t",
                                                    "7\tAnna Müller\t+49 30 123456\tVIP"}));
    // The comment travels in the note and lands in the book's comment form again.
    QCOMPARE(QueryPab(to, "SELECT value FROM props WHERE propid = 12292 AND value LIKE 'Met%'"),
             QStringList({"Met at fair VIP-Status - Index: 7 "}));
}

void TestVCardInterchange::randomEntriesSurviveTheRoundTrip()
{
    const uint64_t seed = TestSeed();
    qInfo("seed %llu (replay: TD_SEED=%llu test_vcard_interchange randomEntriesSurviveTheRoundTrip)",
          static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed));
    std::mt19937_64 rng(seed);
    auto random = [&rng](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
    // Letters of Latin with Polish, Czech, Turkish and Romanian marks, Greek, Cyrillic, Arabic, Hebrew, CJK (one
    // beyond the BMP), Devanagari and Thai; names start with one of them.
    const std::vector<std::string> letters = {
        "A", "z", "ą", "ł", "Ż", "ś", "č", "ř", "ů", "Ě", "ğ", "ı", "İ", "ş", "ă", "ș", "ț", "Î", "Ω", "λ", "έ", "ς",
        "И", "в", "щ", "Ё", "ж", "م", "ح", "ع", "ي", "ש", "ל", "ם", "王", "伟", "李", "娜", "𠀀", "न", "म", "स", "ส",
        "ว", "ด"};
    // What may follow: more letters, emoji beyond the BMP (one built with a joiner, a flag), combining marks (also
    // Devanagari's and Thai's vowel signs), the characters vCard escapes, blanks, a no-break space, and the byte
    // order mark, which the exchange drops.
    std::vector<std::string> following = letters;
    for (const char* piece : {"😀", "🎉", "👩‍💻", "🇵🇱", "\u0301", "\u0308", "\u0327", "े", "्", "ั", "ี", " ", " ", ";",
                              ",", "\\", ":", "'", "\"", "-", ".", "(", ")", "!", "\u00A0", "\uFEFF", "\uFEFF"})
        following.emplace_back(piece);
    // Pieces after the first one; never ending in a blank that the exchange would trim once the marks are gone.
    auto text = [&](std::string first, int most) {
        std::vector<std::string> pieces{std::move(first)};
        for (int k = random(0, most); k > 0; --k) pieces.push_back(following[size_t(random(0, int(following.size()) - 1))]);
        auto joined = [&pieces] { std::string all; for (const std::string& piece : pieces) all += piece; return all; };
        while (WithoutByteOrderMarks(QString::fromStdString(joined())).endsWith(u' ')) pieces.pop_back();
        return joined();
    };
    std::vector<Seeded> users;
    std::set<QString> names;
    std::set<int> indices;
    while (users.size() < 40) {
        const std::string name = text(letters[size_t(random(0, int(letters.size()) - 1))], 20);
        const int index = random(1, 250);
        if (!names.insert(WithoutByteOrderMarks(QString::fromStdString(name))).second || !indices.insert(index).second)
            continue;
        // Blanks inside a number are kept; around it they mean nothing and the exchange drops them.
        std::string number = random(0, 1) ? "+" : "";
        number += "0123456789*#"[size_t(random(0, 11))];
        for (int k = random(0, 17); k > 0; --k) number += "0123456789*# "[size_t(random(0, 12))];
        while (number.back() == ' ') number.pop_back();
        if (number.find_first_of("0123456789") == std::string::npos) number += '0'; // "*#" alone is no number
        const std::string comment = random(0, 2) == 0 ? "" : text("note", 12) + " ";
        users.push_back({name, number, comment + (random(0, 1) ? "VIP-Status" : "Standard-Status") + " - Index: "
                                           + std::to_string(index) + " "});
    }
    const QString from = Path("from.sqlite");
    Seed(from, users);
    for (VCardVersion version : {VCardVersion::V3_0, VCardVersion::V4_0}) {
        const QString to = Path(QStringLiteral("to%1.sqlite").arg(int(version)));
        QCOMPARE(Run(from, {"export", Path("r.vcf")}, version).exitCode, 0);
        const AddressBookCommandResult imported = Run(to, {"import", Path("r.vcf")});
        QCOMPARE(imported.exitCode, 0);
        QCOMPARE(imported.err, QString());
        QCOMPARE(Listed(Run(to, {"list"})), WithoutByteOrderMarks(Listed(Run(from, {"list"}))));
        QStringList again = QueryPab(to, "SELECT value FROM props WHERE propid = 12292");
        again.sort();
        QCOMPARE(again, WithoutByteOrderMarks(QueryPab(from, "SELECT value FROM props WHERE propid = 12292")));
    }
}

void TestVCardInterchange::importFollowsTheInsertionRules()
{
    const QString pab = Path("p.sqlite");
    Seed(pab, {{"Anna", "111", std::string("Standard-Status - Index: 1 ")},
               {"Carl", "333", std::string("Standard-Status - Index: 3 ")}});
    const QByteArray file = Cards({
        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anna\r\nTEL:999\r\nEND:VCARD\r\n",                    // name taken
        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Dora\r\nTEL:444\r\nNOTE:VIP-Status - Index: 3 \r\nEND:VCARD\r\n", // index taken
        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Emil\r\nTEL:555\r\nEND:VCARD\r\n",                    // no index
        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Emil\r\nTEL:556\r\nEND:VCARD\r\n",                    // twice in the file
    });
    QVERIFY(WriteFile(Path("in.vcf"), file));
    const AddressBookCommandResult result = Run(pab, {"import", Path("in.vcf")});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QStringLiteral("Imported 2 of 4 entries from %1.\n").arg(Path("in.vcf")));
    QCOMPARE(Lines(result.err), QStringList({"\"Anna\" is already in the folder; that card was left out.",
                                             "\"Emil\" is already in the folder; that card was left out."}));
    QCOMPARE(Listed(Run(pab, {"list"})), QStringList({"1\tAnna\t111\t", "2\tDora\t444\tVIP", "3\tCarl\t333\t",
                                                      "4\tEmil\t555\t"}));
}

void TestVCardInterchange::numbersAreTakenAsChosen_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("first") << int(VCardNumberChoice::First) << QStringList({"1\tAnna\t+4930111\t", "2\tBert\t222\t"});
    QTest::newRow("preferred") << int(VCardNumberChoice::Preferred)
                               << QStringList({"1\tAnna\t+4940222\t", "2\tBert\t222\t"});
    QTest::newRow("each") << int(VCardNumberChoice::EachNumber)
                          << QStringList({"1\tAnna\t+4930111\t", "2\tAnna (work)\t+4940222\t", "3\tAnna (3)\t0800\t",
                                          "4\tBert\t222\t"});
}

void TestVCardInterchange::numbersAreTakenAsChosen()
{
    QFETCH(int, choice);
    QFETCH(QStringList, listed);
    // Thunderbird writes 4.0 with PREF=1 on the preferred number; the third has no kind of its own.
    QVERIFY(WriteFile(Path("in.vcf"),
                      "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Anna\r\nTEL;VALUE=TEXT;TYPE=cell:+4930111\r\n"
                      "TEL;VALUE=TEXT;TYPE=work;PREF=1:+4940222\r\nTEL;VALUE=TEXT:0800\r\nEND:VCARD\r\n"
                      "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Bert\r\nTEL;VALUE=uri:tel:222\r\nEND:VCARD\r\n"));
    const QString pab = Path("p.sqlite");
    const AddressBookCommandResult result =
        Run(pab, {"import", Path("in.vcf")}, VCardVersion::V3_0, VCardNumberChoice(choice));
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(Listed(Run(pab, {"list"})), listed);
}

void TestVCardInterchange::brokenCardsAreNamedAndTheRestImported()
{
    // Android 2.1 with quoted-printable, a card without END before the next, one without a number.
    QVERIFY(WriteFile(Path("in.vcf"),
                      "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:M=C3=BCller;J=C3=B6rg;;;\r\n"
                      "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:J=C3=B6rg M=C3=BCller\r\nTEL;CELL;PREF:+49 170 1\r\n"
                      "END:VCARD\r\n"
                      "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Half\r\nTEL;CELL:2\r\n"
                      "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Nobody\r\nEND:VCARD\r\n"
                      "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Last\r\nTEL;HOME;VOICE:3\r\nEND:VCARD\r\n"));
    const QString pab = Path("p.sqlite");
    const AddressBookCommandResult result = Run(pab, {"import", Path("in.vcf")});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QStringLiteral("Imported 2 of 2 entries from %1.\n").arg(Path("in.vcf")));
    const QStringList problems = Lines(result.err);
    QCOMPARE(problems.size(), 2);
    QCOMPARE(problems[0], QStringLiteral("Line 7: the card has no END:VCARD before the next BEGIN:VCARD on line 11; it was skipped."));
    QCOMPARE(problems[1], QStringLiteral("Line 11: the card of \"Nobody\" has no telephone number; it was left out."));
    QCOMPARE(Listed(Run(pab, {"list"})), QStringList({"1\tJörg Müller\t+49 170 1\t", "2\tLast\t3\t"}));
}

void TestVCardInterchange::notAVCardFileChangesNothing()
{
    const QString pab = Path("p.sqlite");
    Seed(pab, {{"Anna", "111", std::string("Standard-Status - Index: 1 ")}});
    QVERIFY(WriteFile(Path("in.vcf"), "name,number\nAnna,111\n"));
    const AddressBookCommandResult result = Run(pab, {"import", Path("in.vcf")});
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.err, QStringLiteral("The file %1 is not a vCard file: no card begins with BEGIN:VCARD.\n").arg(Path("in.vcf")));
    QCOMPARE(Run(pab, {"import", Path("missing.vcf")}).exitCode, 1);
    QCOMPARE(Listed(Run(pab, {"list"})), QStringList({"1\tAnna\t111\t"}));
    // An export that cannot be written leaves no file behind.
    const AddressBookCommandResult unwritable = Run(pab, {"export", Path("no/such/folder/out.vcf")});
    QCOMPARE(unwritable.exitCode, 1);
    QVERIFY(unwritable.err.contains("cannot be written"));
}

void TestVCardInterchange::importIntoADistributionList()
{
    const QString pab = Path("p.sqlite");
    {
        PabSeeder seeder(pab.toStdString());
        QVERIFY(seeder.Ok());
        seeder.AddUser("Anna", "111", std::string("Standard-Status - Index: 1 "));
        const auto friends = seeder.AddList("Friends");
        seeder.AddUser("Bert", "222", std::string("Standard-Status - Index: 1 "), friends);
    }
    QVERIFY(WriteFile(Path("in.vcf"), "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anna\r\nTEL:999\r\nEND:VCARD\r\n"));
    // "Anna" is taken in the book, not in the list: names are unique per folder.
    QCOMPARE(Run(pab, {"import", Path("in.vcf"), "Friends"}).exitCode, 0);
    QCOMPARE(Listed(Run(pab, {"list", "Friends"})), QStringList({"1\tBert\t222\t", "2\tAnna\t999\t"}));
    QCOMPARE(Listed(Run(pab, {"list"})).filter("Anna"), QStringList({"1\tAnna\t111\t"}));
    QCOMPARE(Run(pab, {"export", "Friends", Path("f.vcf")}).out, QStringLiteral("Exported 2 entries to %1.\n").arg(Path("f.vcf")));
    const AddressBookCommandResult missing = Run(pab, {"list", "Enemies"});
    QCOMPARE(missing.exitCode, 1);
    QCOMPARE(missing.err, QStringLiteral("There is no folder \"Enemies\". Folders: \"Personal Address Book\", \"Friends\".\n"));
}

void TestVCardInterchange::toolAsAProgram()
{
    const QString tool = QCoreApplication::applicationDirPath() + "/address-book";
    QProcess process;
    QProcessEnvironment env = WithUtf8Locale();
    env.insert("XDG_DATA_HOME", Path("data"));
    env.insert("XDG_CONFIG_HOME", Path("config"));
    process.setProcessEnvironment(env);
    auto run = [&](const QStringList& arguments) {
        process.start(tool, arguments);
        [&] { QVERIFY(process.waitForFinished(60000)); }();
        return process.exitCode();
    };
    QVERIFY(WriteFile(Path("in.vcf"), "BEGIN:VCARD\nVERSION:3.0\nFN:Anna\nTEL:111\nEND:VCARD\n"));
    QCOMPARE(run({"--pab", Path("p.sqlite"), "--create", "import", Path("in.vcf")}), 0);
    QCOMPARE(run({"--pab", Path("p.sqlite"), "list"}), 0);
    QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()), QStringLiteral("1\tAnna\t111\t\n"));
    QCOMPARE(run({"--pab", Path("p.sqlite"), "--vcard-version", "4.0", "export", Path("out.vcf")}), 0);
    QFile out(Path("out.vcf"));
    QVERIFY(out.open(QIODevice::ReadOnly));
    QVERIFY(out.readAll().contains("VERSION:4.0\r\n"));
    QCOMPARE(run({"--pab", Path("p.sqlite"), "frobnicate"}), 2);
    QCOMPARE(run({"--vcard-version", "5.0", "list"}), 2);
    QCOMPARE(run({"--pab", Path("p.sqlite"), "import", Path("nothing.vcf")}), 1);
    QVERIFY(process.readAllStandardError().contains("cannot be read"));
    // Without --pab the tool uses the program's own address-book file in the user's data folder.
    QCOMPARE(run({"import", Path("in.vcf")}), 0);
    QVERIFY(QFile::exists(Path("data/Korvane/Telvora PRO/pab.sqlite")));
}

// Cards as Google, Apple, Android, Outlook, Thunderbird, Nextcloud and Evolution write them: what the book keeps
// of each (numbers with only their own characters and their kind, notes exactly, UIDs), what is said about what
// it cannot keep, an export that another program reads as the book holds it, an import of that export that gives
// the same book, and a second import of either file that adds nothing.
void TestVCardInterchange::cardsOfOtherProgramsComeBackAsTheyWent_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("stored");  // name|number|comment|kind|UID
    QTest::addColumn<QStringList>("notes");   // what the import said on stderr
    QTest::addColumn<QStringList>("exported"); // FN|N|TEL|TYPE|label|NOTE|UID|index|VIP as python3-vobject reads them
    QTest::newRow("Google: a label of its own, a note about an index fund, numbers that are none")
        << QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Hans Meier\r\nN:Meier;Hans;;;\r\nitem1.TEL:+49 30 1234567\r\n"
                      "item1.X-ABLabel:Büro\r\nNOTE:Index fund manager at ACME\r\nCATEGORIES:myContacts\r\nEND:VCARD\r\n"
                      "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Florist\r\nN:;Florist;;;\r\nTEL;TYPE=CELL:+1 800 FLOWERS\r\n"
                      "TEL;TYPE=HOME:n/a\r\nEND:VCARD\r\n")
        << QStringList{"Hans Meier|+49 30 1234567|Index fund manager at ACME Standard-Status - Index: 1 |Büro|<new>"}
        << QStringList{"Line 10: the number \"+1 800 FLOWERS\" of the card of \"Florist\" holds letters; it was not taken.",
                       "Line 10: the number \"n/a\" of the card of \"Florist\" holds no digit; it was not taken.",
                       "Line 10: the card of \"Florist\" has no usable telephone number; it was left out."}
        << QStringList{"Hans Meier|Meier;Hans|+49 30 1234567||Büro|Index fund manager at ACME|<new>|1|"};
    QTest::newRow("Apple: its own label, a note about VIP guests, a company card without FN")
        << QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nPRODID:-//Apple Inc.//iPhone OS 17.4//EN\r\nN:Lefèvre;François;;;\r\n"
                      "FN:François Lefèvre\r\nORG:ACME;\r\nitem1.TEL;type=pref:+33 1 42 68 53 00\r\n"
                      "item1.X-ABLabel:_$!<Mobile>!$_\r\nNOTE:Birthday party list - VIP-Status guests\r\n"
                      "UID:apple-6F1A2B3C\r\nEND:VCARD\r\n"
                      "BEGIN:VCARD\r\nVERSION:3.0\r\nN:;;;;\r\nORG:Stadtwerke Köln;\r\n"
                      "TEL;type=WORK;type=VOICE;type=pref:0221 1780\r\nX-ABShowAs:COMPANY\r\nUID:apple-7A8B9C0D\r\n"
                      "END:VCARD\r\n")
        << QStringList{"François Lefèvre|+33 1 42 68 53 00|Birthday party list - VIP-Status guests Standard-Status - "
                       "Index: 1 |_$!<Mobile>!$_|apple-6F1A2B3C",
                       "Stadtwerke Köln|0221 1780|Standard-Status - Index: 2 |work,voice|apple-7A8B9C0D"}
        << QStringList{}
        << QStringList{"François Lefèvre|Lefèvre;François|+33 1 42 68 53 00||_$!<Mobile>!$_|Birthday party list - "
                       "VIP-Status guests|apple-6F1A2B3C|1|",
                       "Stadtwerke Köln|Köln;Stadtwerke|0221 1780|work,voice|||apple-7A8B9C0D|2|"};
    QTest::newRow("Android: 2.1 in quoted-printable, the preferred of two numbers")
        << QByteArray("BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=C3=96zt=C3=BCrk;"
                      "=C5=9E=C3=BCkr=C3=BC;;;\r\nFN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=C5=9E=C3=BCkr=C3=BC "
                      "=C3=96zt=C3=BCrk\r\nTEL;HOME:+90 212 345 67 89\r\nTEL;CELL;PREF:+90 532 111 22 33\r\nEND:VCARD\r\n")
        << QStringList{"Şükrü Öztürk|+90 532 111 22 33|Standard-Status - Index: 1 |cell|<new>"}
        << QStringList{}
        << QStringList{"Şükrü Öztürk|Öztürk;Şükrü|+90 532 111 22 33|cell|||<new>|1|"};
    QTest::newRow("Outlook: filed family first, a landline in brackets, a number spelt in letters")
        << QByteArray("BEGIN:VCARD\r\nVERSION:2.1\r\nN;LANGUAGE=de:Müller;Hans\r\nFN:Müller, Hans\r\n"
                      "TEL;WORK;VOICE:+49 (30) 1234-567\r\nTEL;CELL;VOICE:+1 800 FLOWERS\r\n"
                      "X-MS-OL-DEFAULT-POSTAL-ADDRESS:0\r\nREV:20240101T120000Z\r\nEND:VCARD\r\n")
        << QStringList{"Müller, Hans|+49 30 1234567|Standard-Status - Index: 1 |work,voice|<new>"}
        << QStringList{"Line 1: the number \"+1 800 FLOWERS\" of the card of \"Müller, Hans\" holds letters; it was not taken."}
        << QStringList{"Müller, Hans|Müller;Hans|+49 30 1234567|work,voice|||<new>|1|"};
    QTest::newRow("Thunderbird: 4.0 tel: URIs with an extension and a phone context")
        << QByteArray("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Zoë Łukasiewicz\r\nN:Łukasiewicz;Zoë;;;\r\n"
                      "TEL;TYPE=work;VALUE=URI:tel:+49-30-1234567;ext=89\r\nNOTE:Met at fair\r\nUID:tb-3b2e7f8a\r\n"
                      "END:VCARD\r\nBEGIN:VCARD\r\nVERSION:4.0\r\nFN:Pförtner\r\n"
                      "TEL;VALUE=URI:tel:1234567;phone-context=+49-30\r\nUID:tb-9c8d7e6f\r\nEND:VCARD\r\n")
        << QStringList{"Pförtner|1234567|Standard-Status - Index: 2 ||tb-9c8d7e6f",
                       "Zoë Łukasiewicz|+49301234567|Met at fair Standard-Status - Index: 1 |work|tb-3b2e7f8a"}
        << QStringList{"Line 1: \"ext=89\" after the number +49-30-1234567 of the card of \"Zoë Łukasiewicz\" is no part "
                       "of the number; it was left out.",
                       "Line 9: \"phone-context=+49-30\" after the number 1234567 of the card of \"Pförtner\" is no part "
                       "of the number; it was left out."}
        << QStringList{"Pförtner|Pförtner;|1234567||||tb-9c8d7e6f|2|",
                       "Zoë Łukasiewicz|Łukasiewicz;Zoë|+49301234567|work||Met at fair|tb-3b2e7f8a|1|"};
    QTest::newRow("Nextcloud: our own properties, and the note form of the export before them")
        << QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nPRODID:-//Sabre//Sabre VObject 4.5.0//EN\r\nUID:nc-1f3e5d7c\r\n"
                      "FN:Björn Strauß\r\nN:Strauß;Björn;;;\r\nTEL;TYPE=HOME,VOICE:040 987654\r\n"
                      "NOTE:Trainer\\nDienstag und Donnerstag\r\nX-KORVANE-INDEX:7\r\nX-KORVANE-VIP:1\r\nEND:VCARD\r\n"
                      "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:nc-2a4b6c8d\r\nFN:Jürgen Lüdenscheidt\r\n"
                      "TEL;TYPE=CELL:+49 171 2345678\r\nNOTE:Stammtisch VIP-Status - Index: 3\r\nEND:VCARD\r\n")
        << QStringList{"Björn Strauß|040 987654|Trainer\nDienstag und Donnerstag VIP-Status - Index: 7 |home,voice|nc-1f3e5d7c",
                       "Jürgen Lüdenscheidt|+49 171 2345678|Stammtisch VIP-Status - Index: 3 |cell|nc-2a4b6c8d"}
        << QStringList{}
        << QStringList{"Björn Strauß|Strauß;Björn|040 987654|home,voice||Trainer\\nDienstag und Donnerstag|nc-1f3e5d7c|7|1",
                       "Jürgen Lüdenscheidt|Lüdenscheidt;Jürgen|+49 171 2345678|cell||Stammtisch|nc-2a4b6c8d|3|1"};
    QTest::newRow("Evolution: a bare FN line costs that line, not the card")
        << QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nFN\r\nN:Peña;Ñuño;;;\r\nX-EVOLUTION-FILE-AS:Peña\\, Ñuño\r\n"
                      "TEL;TYPE=CELL:*31#0301234\r\nUID:pas-id-4F5E6D7C00000001\r\nEND:VCARD\r\n")
        << QStringList{"Ñuño Peña|*31#0301234|Standard-Status - Index: 1 |cell|pas-id-4F5E6D7C00000001"}
        << QStringList{"Line 3: the line has no ':' and cannot be read; the rest of the card that begins on line 1 was read."}
        << QStringList{"Ñuño Peña|Peña;Ñuño|*31#0301234|cell|||pas-id-4F5E6D7C00000001|1|"};
}

void TestVCardInterchange::cardsOfOtherProgramsComeBackAsTheyWent()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, stored);
    QFETCH(QStringList, notes);
    QFETCH(QStringList, exported);
    const QString a = Path("a.sqlite");
    const QString b = Path("b.sqlite");
    QVERIFY(WriteFile(Path("in.vcf"), file));
    const AddressBookCommandResult imported = Run(a, {"import", Path("in.vcf")});
    QCOMPARE(imported.exitCode, 0);
    QCOMPARE(Lines(imported.err), notes);
    QCOMPARE(Stored(a), stored);
    const QStringList book = Stored(a, false);

    QCOMPARE(Run(a, {"export", Path("out.vcf")}).exitCode, 0);
    QCOMPARE(ReadWithVobject(Path("out.vcf")), exported);
    // Two exports of an unchanged book agree, UIDs and all.
    QCOMPARE(Run(a, {"export", Path("again.vcf")}).exitCode, 0);
    QFile first(Path("out.vcf"));
    QFile second(Path("again.vcf"));
    QVERIFY(first.open(QIODevice::ReadOnly) && second.open(QIODevice::ReadOnly));
    QCOMPARE(second.readAll(), first.readAll());

    // The export makes the same book elsewhere, and again adds nothing there.
    const AddressBookCommandResult copied = Run(b, {"import", Path("out.vcf")});
    QCOMPARE(copied.exitCode, 0);
    QCOMPARE(copied.err, QString());
    QCOMPARE(Stored(b, false), book);
    QCOMPARE(Listed(Run(b, {"list"})), Listed(Run(a, {"list"})));
    const AddressBookCommandResult twice = Run(b, {"import", Path("out.vcf")});
    QCOMPARE(twice.out, QStringLiteral("Imported 0 of %1 entries from %2; %1 updated.\n").arg(book.size()).arg(Path("out.vcf")));
    QCOMPARE(Stored(b, false), book);

    // The first file again: cards with a UID update their entries, the others find their names taken.
    const AddressBookCommandResult again = Run(a, {"import", Path("in.vcf")});
    QCOMPARE(again.exitCode, 0);
    QVERIFY2(again.out.startsWith(QStringLiteral("Imported 0 of %1 entries").arg(book.size())), qPrintable(again.out));
    QCOMPARE(Stored(a, false), book);
}

// A book written before entries had UIDs: its entries get UIDs that stay the same from export to export, that
// another book with the same entries does not share, and that the next save stores.
void TestVCardInterchange::oldBookGetsStableUids()
{
    const QString old = Path("old.sqlite");
    const QString other = Path("other.sqlite");
    const std::vector<Seeded> users = {{"Anna", "111", std::string("Standard-Status - Index: 1 ")},
                                       {"Bert", "222", std::string("VIP-Status - Index: 2 ")}};
    Seed(old, users);
    Seed(other, users);
    auto uids = [this](const QString& pab, const QString& name) {
        [&] { QCOMPARE(Run(pab, {"export", Path(name)}).exitCode, 0); }();
        QStringList found;
        for (const QString& line : ReadWithVobject(Path(name))) found << line.section(QLatin1Char('|'), 6, 6);
        return found;
    };
    QCOMPARE(Stored(old), QStringList({"Anna|111|Standard-Status - Index: 1 ||", "Bert|222|VIP-Status - Index: 2 ||"}));
    const QStringList exported = uids(old, "1.vcf");
    QCOMPARE(exported, QStringList({"<new>", "<new>"}));
    QFile one(Path("1.vcf"));
    QVERIFY(one.open(QIODevice::ReadOnly));
    const QByteArray firstExport = one.readAll();
    uids(old, "2.vcf");
    QFile two(Path("2.vcf"));
    QVERIFY(two.open(QIODevice::ReadOnly));
    QCOMPARE(two.readAll(), firstExport);
    uids(other, "3.vcf");
    QFile three(Path("3.vcf"));
    QVERIFY(three.open(QIODevice::ReadOnly));
    const QByteArray otherExport = three.readAll();
    QVERIFY(otherExport != firstExport);
    QCOMPARE(QString::fromUtf8(otherExport).replace(QRegularExpression("UID:[^\r]*"), "UID"),
             QString::fromUtf8(firstExport).replace(QRegularExpression("UID:[^\r]*"), "UID"));

    // The next save stores them. The export with one more card: its two entries are updated, not added again.
    QVERIFY(WriteFile(Path("more.vcf"), firstExport + "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Carl\r\nTEL:333\r\nEND:VCARD\r\n"));
    const AddressBookCommandResult imported = Run(old, {"import", Path("more.vcf")});
    QCOMPARE(imported.out, QStringLiteral("Imported 1 of 3 entries from %1; 2 updated.\n").arg(Path("more.vcf")));
    QCOMPARE(Stored(old, false).filter(QRegularExpression("\\|$")), QStringList());
    uids(old, "4.vcf");
    QFile four(Path("4.vcf"));
    QVERIFY(four.open(QIODevice::ReadOnly));
    QVERIFY(four.readAll().startsWith(firstExport));
}

// 1,003 cards into a book that holds 997 entries: the first three go in and are saved, the rest are named with
// their line, and the exit code says that the import did not complete.
void TestVCardInterchange::partialImportSaysWhatWentIn()
{
    const QString pab = Path("p.sqlite");
    {
        PabSeeder seeder(pab.toStdString());
        QVERIFY(seeder.Ok());
        for (int k = 1; k <= 997; ++k)
            seeder.AddUser("Held " + std::to_string(k), std::to_string(1000 + k),
                           "Standard-Status - Index: " + std::to_string(k) + " ");
    }
    QStringList cards;
    for (int k = 1; k <= 5; ++k)
        cards << QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:New %1\r\nTEL:%1\r\nEND:VCARD\r\n").arg(k);
    QVERIFY(WriteFile(Path("in.vcf"), Cards(cards)));
    const AddressBookCommandResult result = Run(pab, {"import", Path("in.vcf")});
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.out, QStringLiteral("Imported 3 of 5 entries from %1.\n").arg(Path("in.vcf")));
    const QStringList err = Lines(result.err);
    QVERIFY2(err.size() >= 2, qPrintable(result.err));
    QCOMPARE(err.mid(0, 2), QStringList({"Line 16: \"New 4\" did not fit: the folder is full; that card was left out.",
                                         "Line 21: \"New 5\" could not be added after the import stopped; that card was left out."}));
    QCOMPARE(Run(pab, {"list"}).out.count(QLatin1Char('\n')), 1000);
    QCOMPARE(Listed(Run(pab, {"list"})).filter("New"), QStringList({"1000\tNew 3\t3\t", "998\tNew 1\t1\t", "999\tNew 2\t2\t"}));

    // A save that fails at its second write is undone as a whole: nothing went in, and the output says so.
    const QString other = Path("q.sqlite");
    QVERIFY(PabSeeder(other.toStdString()).Ok());
    MapiFaults::InjectStoreWrite(SQLITE_FULL, 1);
    const AddressBookCommandResult failed = Run(other, {"import", Path("in.vcf")});
    QCOMPARE(failed.exitCode, 1);
    QCOMPARE(failed.out, QStringLiteral("Imported 0 of 5 entries from %1.\n").arg(Path("in.vcf")));
    QCOMPARE(Run(other, {"list"}).out, QString());
}

// Names that code page 1252 cannot hold are four people, not four "???? ??????"; the tool reads its arguments
// and prints in UTF-8 with no locale set and under LC_ALL=C alike.
void TestVCardInterchange::toolSpeaksUtf8WhateverTheLocale()
{
    QVERIFY(WriteFile(Path("люди.vcf"), Cards({"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Иван Петров\r\nTEL:111\r\nEND:VCARD\r\n",
                                               "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Олег Иванов\r\nTEL:222\r\nEND:VCARD\r\n",
                                               "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:王伟\r\nTEL:333\r\nEND:VCARD\r\n",
                                               "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:李娜\r\nTEL:444\r\nEND:VCARD\r\n"})));
    const QStringList people{"1\tИван Петров\t111\t", "2\tОлег Иванов\t222\t", "3\t王伟\t333\t", "4\t李娜\t444\t"};
    for (const char* locale : {"", "C"}) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"LANG", "LANGUAGE", "LC_ALL", "LC_CTYPE", "LC_MESSAGES"}) env.remove(name);
        if (*locale) env.insert("LC_ALL", locale);
        process.setProcessEnvironment(env);
        auto run = [&](const QStringList& arguments) {
            process.start(QCoreApplication::applicationDirPath() + "/address-book", arguments);
            [&] { QVERIFY(process.waitForFinished(60000)); }();
            return process.exitCode();
        };
        const QString to = Path(QStringLiteral("book-%1.sqlite").arg(locale));
        {
            PabSeeder seeder(to.toStdString());
            QVERIFY(seeder.Ok());
            seeder.AddList("Друзья");
        }
        QCOMPARE(run({"--pab", to, "import", Path("люди.vcf"), "Друзья"}), 0);
        QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()),
                 QStringLiteral("Imported 4 of 4 entries from %1.\n").arg(Path("люди.vcf")));
        QCOMPARE(run({"--pab", to, "list", "Друзья"}), 0);
        QCOMPARE(Lines(QString::fromUtf8(process.readAllStandardOutput())), people);
        QCOMPARE(run({"--pab", to, "list", "Враги"}), 1);
        QCOMPARE(QString::fromUtf8(process.readAllStandardError()),
                 QStringLiteral("There is no folder \"Враги\". Folders: \"Personal Address Book\", \"Друзья\".\n"));
    }
}

QTEST_GUILESS_MAIN(TestVCardInterchange)
#include "TestVCardInterchange.moc"
