#include "model/EntryStore.h"
#include "pab/AbNameCheck.h"
#include "RecordingHost.h"
#include "ScriptedAnswers.h"

#include <QtTest>

#include <memory>

class TestAbNameCheck : public QObject {
    Q_OBJECT
    std::unique_ptr<EntryStore> m_store;
    ScriptedAnswers m_questions;
    RecordingHost m_host;

    void ShowAbEntries(const std::vector<std::string>& names)
    {
        for (size_t i = 0; i < names.size(); ++i) m_store->m_abTable[static_cast<int>(i)].m_strName = names[i];
        m_store->m_abTable.m_nCount = static_cast<int>(names.size());
        m_host.m_nAbListItems = static_cast<int>(names.size());
    }
    int Check(std::string& name) { return MakeAbNameUnique(*m_store, m_questions, m_host, name); }

private slots:
    void init()
    {
        m_store = std::make_unique<EntryStore>();
        m_questions = ScriptedAnswers();
        m_host = RecordingHost();
        ShowAbEntries({"Miller", "Smith", "Jones"});
    }

    void aNewNameIsUsedWithoutAsking()
    {
        std::string name = "miller"; // names differ by case
        QCOMPARE(Check(name), 1);
        QCOMPARE(name, std::string("miller"));
        QVERIFY(m_questions.m_askedYesNo.empty());
        QVERIFY(m_questions.m_shownNameTexts.empty());
    }

    void aClashAsksForAnotherName()
    {
        m_questions.m_yesNoAnswers = {true};
        m_questions.m_nameAnswers = {{true, "Miller B"}};
        std::string name = "Miller";
        QCOMPARE(Check(name), 1);
        QCOMPARE(name, std::string("Miller B"));
        QCOMPARE(m_questions.m_askedYesNo.size(), size_t(1));
        QCOMPARE(m_questions.m_askedYesNo[0].first, 41022);
        QCOMPARE(m_questions.m_askedYesNo[0].second,
                 std::string("The name  'Miller'  already exists in the PAB-list - Saving impossible.\nEnter another name ?"));
        QCOMPARE(m_questions.m_lastNameTitle, std::string("Enter another name for saving to the PAB"));
        QCOMPARE(m_questions.m_lastNamePrompt, std::string("Enter name:"));
        QCOMPARE(m_questions.m_shownNameTexts, std::vector<std::string>{"Miller"});
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
        m_questions.m_yesNoAnswers = {yes};
        m_questions.m_nameAnswers = {{dialogOk, "Other"}};
        std::string name = "Smith";
        QCOMPARE(Check(name), 0);
        QCOMPARE(name, std::string("Smith"));
    }

    void aReplacedNameIsCheckedAgainstEveryEntry()
    {
        // Jones clashes; the first replacement is Jones again, the second the earlier entry Miller.
        m_questions.m_yesNoAnswers = {true, true, true};
        m_questions.m_nameAnswers = {{true, "Jones"}, {true, "Miller"}, {true, "Jones Jr"}};
        std::string name = "Jones";
        QCOMPARE(Check(name), 1);
        QCOMPARE(name, std::string("Jones Jr"));
        QCOMPARE(m_questions.m_shownNameTexts, (std::vector<std::string>{"Jones", "Jones", "Miller"}));
    }

    void anEmptyNameIsRefused()
    {
        std::string name;
        QCOMPARE(Check(name), 0);
        m_questions.m_yesNoAnswers = {true};
        m_questions.m_nameAnswers = {{true, ""}};
        name = "Smith";
        QCOMPARE(Check(name), 0);
        QCOMPARE(name, std::string("Smith"));
    }

    void onlyTheRowsTheListShowsAreCompared()
    {
        m_host.m_nAbListItems = 2; // the list has not been refilled since Jones was inserted by a transfer
        std::string name = "Jones";
        QCOMPARE(Check(name), 1);
        QVERIFY(m_questions.m_askedYesNo.empty());
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
