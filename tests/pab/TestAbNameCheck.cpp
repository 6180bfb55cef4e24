#include "model/EntryStore.h"
#include "pab/AbNameCheck.h"
#include "RecordingHost.h"
#include "ScriptedQuestions.h"

#include <QtTest>

#include <memory>

class TestAbNameCheck : public QObject {
    Q_OBJECT
    std::unique_ptr<EntryStore> m_store;
    ScriptedQuestions m_questions;
    RecordingHost m_host;

    void ShowAbEntries(const std::vector<std::string>& names)
    {
        for (size_t i = 0; i < names.size(); ++i) m_store->m_abTable[static_cast<int>(i)].m_strName = names[i];
        m_store->m_abTable.m_nCount = static_cast<int>(names.size());
        m_host.m_nAbListItems = static_cast<int>(names.size());
    }
    int Check(std::string& name) { return MakeAbNameUnique(*m_store, m_questions, m_host, name); }
    // The text each name dialog showed when it opened.
    std::vector<std::string> NameTextsShown() const
    {
        std::vector<std::string> texts;
        for (const auto& shown : m_questions.NameDialogsShown()) texts.push_back(shown.text);
        return texts;
    }

private slots:
    void init()
    {
        m_store = std::make_unique<EntryStore>();
        m_questions = ScriptedQuestions();
        m_host = RecordingHost();
        ShowAbEntries({"Miller", "Smith", "Jones"});
    }

    void aNewNameIsUsedWithoutAsking()
    {
        std::string name = "miller"; // names differ by case
        QCOMPARE(Check(name), 1);
        QCOMPARE(name, std::string("miller"));
        QVERIFY(m_questions.AskedOfKind("yesno").empty());
        QVERIFY(m_questions.NameDialogsShown().empty());
    }

    void aClashAsksForAnotherName()
    {
        m_questions.AnswerYesNo(41022, true);
        m_questions.AnswerName(true, "Miller B");
        std::string name = "Miller";
        QCOMPARE(Check(name), 1);
        QCOMPARE(name, std::string("Miller B"));
        const auto askedYesNo = m_questions.AskedOfKind("yesno");
        QCOMPARE(askedYesNo.size(), size_t(1));
        QCOMPARE(askedYesNo[0].id, 41022);
        QCOMPARE(askedYesNo[0].text,
                 std::string("The name  'Miller'  already exists in the PAB-list - Saving impossible.\nEnter another name ?"));
        QCOMPARE(NameTextsShown(), std::vector<std::string>{"Miller"});
        QCOMPARE(m_questions.NameDialogsShown().back().title, std::string("Enter another name for saving to the PAB"));
        QCOMPARE(m_questions.NameDialogsShown().back().prompt, std::string("Enter name:"));
    }

    void givingUpLeavesTheNameAlone_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("dialogOk");
        QTest::newRow("answer No") << false << true;
        QTest::newRow("cancel the dialog") << true << false;
    }
    void givingUpLeavesTheNameAlone()
    {
        QFETCH(bool, yes);
        QFETCH(bool, dialogOk);
        m_questions.AnswerYesNo(41022, yes);
        m_questions.AnswerName(dialogOk, "Other");
        std::string name = "Smith";
        QCOMPARE(Check(name), 0);
        QCOMPARE(name, std::string("Smith"));
    }

    void aReplacedNameIsCheckedAgainstEveryEntry()
    {
        // Jones clashes; the first replacement is Jones again, the second the earlier entry Miller.
        for (int i = 0; i < 3; ++i) m_questions.AnswerYesNo(41022, true);
        m_questions.AnswerName(true, "Jones");
        m_questions.AnswerName(true, "Miller");
        m_questions.AnswerName(true, "Jones Jr");
        std::string name = "Jones";
        QCOMPARE(Check(name), 1);
        QCOMPARE(name, std::string("Jones Jr"));
        QCOMPARE(NameTextsShown(), (std::vector<std::string>{"Jones", "Jones", "Miller"}));
    }

    void anEmptyNameIsRefused()
    {
        std::string name;
        QCOMPARE(Check(name), 0);
        m_questions.AnswerYesNo(41022, true);
        m_questions.AnswerName(true, "");
        name = "Smith";
        QCOMPARE(Check(name), 0);
        QCOMPARE(name, std::string("Smith"));
    }

    void onlyTheRowsTheListShowsAreCompared()
    {
        m_host.m_nAbListItems = 2; // the list has not been refilled since Jones was inserted by a transfer
        std::string name = "Jones";
        QCOMPARE(Check(name), 1);
        QVERIFY(m_questions.AskedOfKind("yesno").empty());
    }

    void deletionRecordsAndFreeSlotsAreNotCompared()
    {
        m_store->m_abTable[3].m_strName = "Gone";
        m_store->m_abTable[3].m_nState = ENTRY_REMOVED;
        std::string name = "Gone";
        QCOMPARE(Check(name), 1);
        m_host.m_nAbListItems = 5000; // a wrong count never reads past the table
        name = "Nobody";
        QCOMPARE(Check(name), 1);
    }

    void longNamesAreCutBeforeTheCheck()
    {
        const std::string longMiller = "Miller" + std::string(300, 'x');
        ShowAbEntries({longMiller.substr(0, 255)});
        std::string name = longMiller;
        QCOMPARE(Check(name), 0); // the cut name clashes; the unscripted question is answered No
        name = std::string(300, 'y');
        QCOMPARE(Check(name), 1);
        QCOMPARE(name, std::string(255, 'y'));
    }
};

QTEST_APPLESS_MAIN(TestAbNameCheck)
#include "TestAbNameCheck.moc"
