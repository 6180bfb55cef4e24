// Where the file dialogs open: the documents folder (home without one), the folder chosen last in this run, a
// typed path first; the export dialog's suggested name follows the list the entries come from. No real file
// dialog opens: the start is computed code, read back from the path field.
#include "model/Questions.h"
#include "ui/CFilePathField.h"
#include "ui/CVCardExportDlg.h"
#include "ui/FileDialogStart.h"

#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

class TestFileDialogStart : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { FileDialogStart::Forget(); }
    void startFolderIsDocumentsHomeOrTheLastChoice();
    void suggestedNameIsAFileNameOfTheList_data();
    void suggestedNameIsAFileNameOfTheList();
    void exportDialogSuggestsTheChosenListsName();

private:
    QString Home(const QString& path = {}) const { return path.isEmpty() ? m_home.path() : m_home.filePath(path); }
    QTemporaryDir m_home;
};

void TestFileDialogStart::initTestCase()
{
    QVERIFY(m_home.isValid());
    // A home of the test's own, without the desktop's folder names: documents is then ~/Documents.
    qputenv("HOME", QFile::encodeName(m_home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(Home(QStringLiteral(".config"))));
    QCOMPARE(QDir::homePath(), m_home.path());
}

void TestFileDialogStart::startFolderIsDocumentsHomeOrTheLastChoice()
{
    // No documents folder: home.
    QCOMPARE(FileDialogStart::StartFolder(), Home());
    QCOMPARE(FileDialogStart::StartPath({}, QStringLiteral("SIM directory.vcf")), Home(QStringLiteral("SIM directory.vcf")));
    QVERIFY(QDir(Home()).mkpath(QStringLiteral("Documents")));
    QCOMPARE(FileDialogStart::StartFolder(), Home(QStringLiteral("Documents")));
    QCOMPARE(FileDialogStart::StartPath(QStringLiteral("  "), {}), Home(QStringLiteral("Documents")));

    // A file chosen elsewhere: the next dialogs start in its folder, with their own suggested name.
    QVERIFY(QDir(Home()).mkpath(QStringLiteral("cards/old")));
    FileDialogStart::Remember(Home(QStringLiteral("cards/old/friends.vcf")));
    QCOMPARE(FileDialogStart::StartFolder(), Home(QStringLiteral("cards/old")));
    QCOMPARE(FileDialogStart::StartPath({}, QStringLiteral("Work.vcf")), Home(QStringLiteral("cards/old/Work.vcf")));
    // A typed path wins over everything.
    QCOMPARE(FileDialogStart::StartPath(QStringLiteral(" /srv/x.vcf "), QStringLiteral("Work.vcf")), QStringLiteral("/srv/x.vcf"));

    // The chosen folder was removed meanwhile: back to documents rather than a place that is gone.
    QVERIFY(QDir(Home(QStringLiteral("cards/old"))).removeRecursively());
    QCOMPARE(FileDialogStart::StartFolder(), Home(QStringLiteral("Documents")));
}

void TestFileDialogStart::suggestedNameIsAFileNameOfTheList_data()
{
    QTest::addColumn<QString>("listName");
    QTest::addColumn<QString>("expected");
    QTest::newRow("directory") << "SIM directory" << "SIM directory.vcf";
    QTest::newRow("accents kept") << "Büro Zürich" << "Büro Zürich.vcf";
    QTest::newRow("separators replaced") << "Friends/Work: A\\B" << "Friends_Work_ A_B.vcf";
    QTest::newRow("no hidden file") << "..family" << "family.vcf";
    QTest::newRow("nothing left") << " . " << "vCards.vcf";
    QTest::newRow("no name") << "" << "vCards.vcf";
}

void TestFileDialogStart::suggestedNameIsAFileNameOfTheList()
{
    QFETCH(QString, listName);
    QFETCH(QString, expected);
    QCOMPARE(FileDialogStart::SuggestedFileName(listName, QStringLiteral("vcf"), QStringLiteral("vCards")), expected);
}

void TestFileDialogStart::exportDialogSuggestsTheChosenListsName()
{
    QVERIFY(QDir(Home()).mkpath(QStringLiteral("Documents")));
    VCardExportData data;
    data.m_nList = 1;
    data.m_strListNames[0] = "SIM directory";
    data.m_strListNames[1] = "Personal Address Book";
    CVCardExportDlg dialog(nullptr, data);
    auto* field = dialog.findChild<CFilePathField*>();
    QVERIFY(field);
    QCOMPARE(field->BrowseStart(), Home(QStringLiteral("Documents/SIM directory.vcf")));
    dialog.findChild<QRadioButton*>(QStringLiteral("list2"))->click();
    QCOMPARE(field->BrowseStart(), Home(QStringLiteral("Documents/Personal Address Book.vcf")));
    field->Edit()->setText(QStringLiteral("/tmp/mine.vcf"));
    QCOMPARE(field->BrowseStart(), QStringLiteral("/tmp/mine.vcf"));

    // Opening a file starts in the folder alone.
    CFilePathField open(nullptr, CFilePathField::Purpose::Open, QStringLiteral("Import vCard"), QStringLiteral("*.vcf"));
    open.SetSuggestedName(QStringLiteral("ignored.vcf"));
    QCOMPARE(open.BrowseStart(), Home(QStringLiteral("Documents")));
}

QTEST_MAIN(TestFileDialogStart)
#include "TestFileDialogStart.moc"
