// The File menu's vCard commands on the real form: the telephone directory shown goes out as vCards and comes
// back into the address-book folder with its names, numbers, indices and VIP marks, kept only when the user
// saves; only the selected entries when asked; a file with broken cards imports the rest and names the
// others by line; a file that is no vCard changes nothing. The two dialogs hand back what the user set.
#include "FormControls.h"
#include "FormTestCase.h"
#include "PabQuery.h"
#include "PabSeeder.h"

#include "app/CMainFrame.h"
#include "res/CommandIds.h"
#include "res/StringTable.h"
#include "ui/CDlgView.h"
#include "ui/CVCardExportDlg.h"
#include "ui/CVCardImportDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

namespace {
QStringList Rows(QTreeWidget* list)
{
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        rows << QStringLiteral("%1|%2|%3|%4").arg(item->text(0), item->text(1), item->text(2), item->text(3).trimmed());
    }
    rows.sort();
    return rows;
}

std::function<bool(VCardExportData&)> ExportTo(const QString& path, int list, int version = 3, bool selectedOnly = false)
{
    return [=](VCardExportData& data) {
        data.m_strPath = path.toStdString();
        data.m_nList = list;
        data.m_nVersion = version;
        data.m_bSelectedOnly = selectedOnly ? 1 : 0;
        return true;
    };
}

std::function<bool(VCardImportData&)> ImportFrom(const QString& path, int numbers = 1)
{
    return [=](VCardImportData& data) {
        data.m_strPath = path.toStdString();
        data.m_nNumbers = numbers;
        return true;
    };
}

void Click(QTreeWidget* list, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, list->visualItemRect(list->topLevelItem(row)).center());
}
}

class TestVCardCommands : public FormTestCase {
    Q_OBJECT
private slots:
    void phoneToVCardToBookKeepsEverything();
    void onlyTheSelectedEntriesWhenAsked();
    void brokenCardsAreNamedTheRestImported();
    void notAVCardFileChangesNothing();
    void cancelChangesNothing();
    void dialogsHandBackWhatTheUserSet();
    void namesOfEveryScriptMakeTheWholeRoundTrip();
    void cardsOfEntriesInTheFolderUpdateThemWhenTheUserAgrees();

private:
    FormFixture& StartForm();
    QTemporaryDir m_files;
};

FormFixture& TestVCardCommands::StartForm()
{
    FormFixture& f = NewForm();
    EmulatorState state = EmulatorState::blank();
    state.storage("ON")->capacity = 10;
    // "!" at the end of a name is the telephone's VIP mark.
    state.storage("ON")->entries = {{1, {"Anna Müller!", "+4930111"}}, {2, {"Bert", "222"}}, {4, {"Zoë Ærø", "*100#"}}};
    f.SetPhoneState(state);
    {
        PabSeeder pab(f.PabPath().toStdString());
        pab.AddUser("Carl", "333", std::string("Standard-Status - Index: 2 "));
    }
    f.Start();
    [&] { QVERIFY(f.WaitUntilIdle()); }();
    return f;
}

void TestVCardCommands::phoneToVCardToBookKeepsEverything()
{
    FormFixture& f = StartForm();
    CDlgView* v = f.View();
    const QString file = m_files.filePath("phone.vcf");
    QCOMPARE(Rows(PhoneList(v)), QStringList({"Anna Müller|+4930111|1|!", "Bert|222|2|", "Zoë Ærø|*100#|4|"}));
    f.Questions().AnswerVCardExport(ExportTo(file, 1, 4));
    QVERIFY(f.Frame()->ExecuteCommand(ID_FILE_EXPORT_VCARD));
    QVERIFY(QFile::exists(file));
    QCOMPARE(f.Frame()->MessageText(), QStringLiteral("3 entries exported to %1.").arg(file));

    f.Questions().AnswerVCardImport(ImportFrom(file));
    // Bert's index 2 is Carl's in this folder: the index dialog offers the lowest free one, with "Accept All".
    f.Questions().AnswerIndex(ScriptedQuestions::KeepProposal());
    QVERIFY(f.Frame()->ExecuteCommand(ID_FILE_IMPORT_VCARD));
    QCOMPARE(f.Questions().IndexDialogsShown().size(), size_t(1));
    QCOMPARE(f.Questions().IndexDialogsShown()[0].m_nChosenIndex, 3);
    QCOMPARE(f.Questions().IndexDialogsShown()[0].m_bShowAcceptAll, 1);
    QCOMPARE(Rows(AbList(v)), QStringList({"Anna Müller|+4930111|1|!", "Bert|222|3|", "Carl|333|2|", "Zoë Ærø|*100#|4|"}));
    QCOMPARE(f.Frame()->MessageText(), QStringLiteral("3 of 3 entries imported. Save the personal address book to keep them."));
    // Nothing is in the file until the user saves.
    QCOMPARE(PabDisplayNames(f.PabPath()), QStringList({"Carl", "Personal Address Book"}));
    QTest::mouseClick(SaveAddressBookButton(v), Qt::LeftButton);
    QCOMPARE(PabDisplayNames(f.PabPath()), QStringList({"Anna Müller", "Bert", "Carl", "Personal Address Book", "Zoë Ærø"}));
    QCOMPARE(QueryPab(f.PabPath(), "SELECT c.value FROM props AS n JOIN props AS c ON c.object = n.object AND c.propid = 12292 "
                                   "WHERE n.propid = 12289 AND n.value = ?1", "Anna Müller"),
             QStringList({"VIP-Status - Index: 1 "}));
}

void TestVCardCommands::onlyTheSelectedEntriesWhenAsked()
{
    FormFixture& f = StartForm();
    CDlgView* v = f.View();
    Click(PhoneList(v), 0);
    Click(PhoneList(v), 2, Qt::ControlModifier);
    const QString file = m_files.filePath("selected.vcf");
    f.Questions().AnswerVCardExport([&](VCardExportData& data) {
        // The dialog learns how many entries each list has selected, and starts on the active list.
        [&] {
            QCOMPARE(data.m_nSelected[0], 2);
            QCOMPARE(data.m_nSelected[1], 0);
            QCOMPARE(data.m_nList, 1);
        }();
        return ExportTo(file, 1, 3, true)(data);
    });
    QVERIFY(f.Frame()->ExecuteCommand(ID_FILE_EXPORT_VCARD));
    QFile written(file);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray text = written.readAll();
    QCOMPARE(text.count("BEGIN:VCARD"), 2);
    QVERIFY(text.contains("FN:Anna Müller\r\n"));
    QVERIFY(text.contains("FN:Zoë Ærø\r\n"));
    QVERIFY(!text.contains("Bert"));
    QVERIFY(text.contains("VERSION:3.0\r\n"));
}

void TestVCardCommands::brokenCardsAreNamedTheRestImported()
{
    FormFixture& f = StartForm();
    CDlgView* v = f.View();
    const QString file = m_files.filePath("broken.vcf");
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write("BEGIN:VCARD\nVERSION:3.0\nFN:Dora\nTEL;TYPE=CELL:444\nTEL;TYPE=WORK:445\nEND:VCARD\n"
              "BEGIN:VCARD\nVERSION:3.0\nFN:Broken\nTEL444\nEND:VCARD\n"
              "BEGIN:VCARD\nVERSION:3.0\nFN:Carl\nTEL:999\nEND:VCARD\n"
              "BEGIN:VCARD\nVERSION:3.0\nFN:Emil\nEND:VCARD\n");
    out.close();
    // Carl is already in the folder: the user declines to give another name.
    f.Questions().AnswerYesNo(Ids::IDS_NAME_EXISTS, false);
    f.Questions().AnswerVCardImport(ImportFrom(file, 2));
    QVERIFY(f.Frame()->ExecuteCommand(ID_FILE_IMPORT_VCARD));
    QCOMPARE(Rows(AbList(v)), QStringList({"Carl|333|2|", "Dora (work)|445|3|", "Dora|444|1|"}));
    const auto messages = f.Questions().MessagesShown();
    QCOMPARE(messages.size(), size_t(1));
    QCOMPARE(messages[0].id, Ids::IDS_VCARD_LEFT_OUT);
    QCOMPARE(QString::fromStdString(messages[0].text), QString::fromStdString("Some cards were not imported:\n"
                                           "Line 10: the line has no ':' and cannot be read; the rest of the card "
                                           "that begins on line 7 was read.\n"
                                           "Line 7: the card of \"Broken\" has no telephone number; it was left out.\n"
                                           "Line 17: the card of \"Emil\" has no telephone number; it was left out.\n"
                                           "\"Carl\" is already in the folder; that card was left out."));
    QCOMPARE(f.Frame()->MessageText(), QStringLiteral("2 of 3 entries imported. Save the personal address book to keep them."));
}

void TestVCardCommands::notAVCardFileChangesNothing()
{
    FormFixture& f = StartForm();
    CDlgView* v = f.View();
    const QStringList before = Rows(AbList(v));
    f.Questions().AnswerVCardImport(ImportFrom(m_files.filePath("missing.vcf")));
    QVERIFY(f.Frame()->ExecuteCommand(ID_FILE_IMPORT_VCARD));
    const QString text = m_files.filePath("text.vcf");
    QFile out(text);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write("Just some notes\n");
    out.close();
    f.Questions().AnswerVCardImport(ImportFrom(text));
    QVERIFY(f.Frame()->ExecuteCommand(ID_FILE_IMPORT_VCARD));
    const auto messages = f.Questions().MessagesShown();
    QCOMPARE(messages.size(), size_t(2));
    QCOMPARE(messages[0].id, Ids::IDS_VCARD_CANNOT_READ);
    QCOMPARE(messages[1].text, "The vCard file cannot be read.\nThe file " + text.toStdString()
                                   + " is not a vCard file: no card begins with BEGIN:VCARD.");
    QCOMPARE(Rows(AbList(v)), before);
    QVERIFY(!v->Store().HasFlag(VF_AB_MODIFIED));
    // An export into a folder that does not exist says so and writes nothing.
    f.Questions().AnswerVCardExport(ExportTo(m_files.filePath("no/such/out.vcf"), 2));
    QVERIFY(f.Frame()->ExecuteCommand(ID_FILE_EXPORT_VCARD));
    QCOMPARE(f.Questions().MessagesShown().back().id, Ids::IDS_VCARD_CANNOT_WRITE);
}

void TestVCardCommands::cancelChangesNothing()
{
    FormFixture& f = StartForm();
    CDlgView* v = f.View();
    const QStringList before = Rows(AbList(v));
    f.Questions().AnswerVCardImport([](VCardImportData&) { return false; });
    QVERIFY(f.Frame()->ExecuteCommand(ID_FILE_IMPORT_VCARD));
    f.Questions().AnswerVCardExport([](VCardExportData&) { return false; });
    QVERIFY(f.Frame()->ExecuteCommand(ID_FILE_EXPORT_VCARD));
    QCOMPARE(Rows(AbList(v)), before);
    QVERIFY(f.Questions().MessagesShown().empty());
}

void TestVCardCommands::dialogsHandBackWhatTheUserSet()
{
    VCardImportData in;
    in.m_strPath = "/tmp/a.vcf";
    CVCardImportDlg import(nullptr, in);
    QCOMPARE(import.findChild<QLineEdit*>("path")->text(), QStringLiteral("/tmp/a.vcf"));
    QVERIFY(import.findChild<QRadioButton*>("numbers1")->isChecked()); // the preferred number by default
    import.findChild<QRadioButton*>("numbers2")->click();
    import.findChild<QLineEdit*>("path")->setText(" /home/u/Contacts.vcf ");
    QCOMPARE(import.Data().m_strPath, std::string("/home/u/Contacts.vcf"));
    QCOMPARE(import.Data().m_nNumbers, 2);
    import.findChild<QLineEdit*>("path")->clear();
    import.accept();
    QCOMPARE(import.result(), int(QDialog::Rejected)); // no file, no import

    VCardExportData out;
    out.m_nList = 2;
    out.m_nSelected[0] = 3;
    CVCardExportDlg dialog(nullptr, out);
    auto* selectedOnly = dialog.findChild<QCheckBox*>("selectedOnly");
    QVERIFY(dialog.findChild<QRadioButton*>("list2")->isChecked());
    QVERIFY(!selectedOnly->isEnabled()); // nothing selected in the address-book list
    dialog.findChild<QRadioButton*>("list1")->click();
    QVERIFY(selectedOnly->isEnabled());
    QVERIFY(selectedOnly->text().contains("(3)"));
    selectedOnly->setChecked(true);
    QCOMPARE(dialog.findChild<QComboBox*>("version")->currentData().toInt(), 3); // 3.0 unless 4.0 is chosen
    dialog.findChild<QComboBox*>("version")->setCurrentIndex(1);
    dialog.findChild<QLineEdit*>("path")->setText("/tmp/out.vcf");
    const VCardExportData chosen = dialog.Data();
    QCOMPARE(chosen.m_nList, 1);
    QCOMPARE(chosen.m_bSelectedOnly, 1);
    QCOMPARE(chosen.m_nVersion, 4);
    QCOMPARE(chosen.m_strPath, std::string("/tmp/out.vcf"));
}


// Names of many scripts on a UCS2 phone (a VIP mark among them) go into the address book, out as vCards into a new book and from there
// onto a second phone, and arrive as they left.
void TestVCardCommands::namesOfEveryScriptMakeTheWholeRoundTrip()
{
    const QStringList names = {"Łukasz!", "Иван П", "Γιώργος", "李小龍", "محمد", "Şükrü Ö", "דוד לוי",
                               "Ștefan", "Jörg Bäcker", "€uro ^~|\\ $"};
    EmulatorState first = EmulatorState::blank();
    first.storage("ON")->capacity = 20;
    for (int i = 0; i < names.size(); ++i) first.storage("ON")->entries.insert(i + 1, {names[i], QString::number(100 + i)});
    FormFixture& from = NewForm();
    from.SetPhoneState(first);
    from.Start();
    QVERIFY(from.WaitUntilIdle());
    CDlgView* v = from.View();
    QCOMPARE(PhoneList(v)->topLevelItemCount(), qsizetype(names.size()));
    Click(PhoneList(v), 0);
    QVERIFY(from.Frame()->ExecuteCommand(ID_EDIT_SELECT_ALL));
    QTest::mouseClick(ToAddressBookButton(v), Qt::LeftButton);
    QTest::mouseClick(SaveAddressBookButton(v), Qt::LeftButton);
    const QString file = m_files.filePath("every-script.vcf");
    from.Questions().AnswerVCardExport(ExportTo(file, 2, 4));
    QVERIFY(from.Frame()->ExecuteCommand(ID_FILE_EXPORT_VCARD));

    EmulatorState second = EmulatorState::blank();
    second.storage("ON")->capacity = 20;
    FormFixture& to = NewForm();
    to.SetPhoneState(second);
    to.Start();
    QVERIFY(to.WaitUntilIdle());
    CDlgView* w = to.View();
    to.Questions().AnswerVCardImport(ImportFrom(file));
    QVERIFY(to.Frame()->ExecuteCommand(ID_FILE_IMPORT_VCARD));
    QTest::mouseClick(SaveAddressBookButton(w), Qt::LeftButton);
    Click(AbList(w), 0);
    QVERIFY(to.Frame()->ExecuteCommand(ID_EDIT_SELECT_ALL));
    QTest::mouseClick(ToPhoneButton(w), Qt::LeftButton);
    QTest::mouseClick(SaveToPhoneButton(w), Qt::LeftButton);
    QVERIFY(to.WaitUntilIdle());
    QVERIFY(to.Questions().TakeReports().empty());

    QMap<int, EmulatorEntry> arrived = to.Phone().state().storage("ON")->entries;
    QCOMPARE(arrived.size(), names.size());
    for (int i = 0; i < names.size(); ++i) {
        QCOMPARE(arrived.value(i + 1).name, names[i]);
        QCOMPARE(arrived.value(i + 1).number, QString::number(100 + i));
    }
}

// The folder's own export read back: the question comes once with the count; No leaves the cards out and names
// them, Yes updates the entries from the file. Neither adds a second entry.
void TestVCardCommands::cardsOfEntriesInTheFolderUpdateThemWhenTheUserAgrees()
{
    FormFixture& f = StartForm();
    CDlgView* v = f.View();
    const QString file = m_files.filePath("folder.vcf");
    f.Questions().AnswerVCardExport(ExportTo(file, 2));
    QVERIFY(f.Frame()->ExecuteCommand(ID_FILE_EXPORT_VCARD));
    QFile written(file);
    QVERIFY(written.open(QIODevice::ReadWrite));
    QByteArray text = written.readAll();
    QVERIFY(text.contains("UID:"));
    text.replace("TEL:333", "TEL:334");
    written.resize(0);
    written.write(text);
    written.close();

    f.Questions().AnswerYesNo(Ids::IDS_VCARD_UPDATE_KNOWN, false);
    f.Questions().AnswerVCardImport(ImportFrom(file));
    QVERIFY(f.Frame()->ExecuteCommand(ID_FILE_IMPORT_VCARD));
    QCOMPARE(Rows(AbList(v)), QStringList({"Carl|333|2|"}));
    const auto asked = f.Questions().AskedOfKind("yesno");
    QCOMPARE(asked.size(), size_t(1));
    QVERIFY(QString::fromStdString(asked[0].text).startsWith("1 cards of this file are already in the folder"));
    QCOMPARE(f.Questions().MessagesShown().size(), size_t(1));
    QVERIFY(QString::fromStdString(f.Questions().MessagesShown()[0].text).contains("\"Carl\" is already in the folder (same UID)"));

    f.Questions().AnswerYesNo(Ids::IDS_VCARD_UPDATE_KNOWN, true);
    f.Questions().AnswerVCardImport(ImportFrom(file));
    QVERIFY(f.Frame()->ExecuteCommand(ID_FILE_IMPORT_VCARD));
    QCOMPARE(Rows(AbList(v)), QStringList({"Carl|334|2|"}));
    QCOMPARE(f.Frame()->MessageText(), QStringLiteral("0 of 1 entries imported, 1 updated. Save the personal address book to keep them."));
    QTest::mouseClick(SaveAddressBookButton(v), Qt::LeftButton);
    QCOMPARE(PabDisplayNames(f.PabPath()), QStringList({"Carl", "Personal Address Book"}));
}

QTEST_MAIN(TestVCardCommands)
#include "TestVCardCommands.moc"
