
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

#include "pab/tools/AddressBookCommand.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <random>
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
