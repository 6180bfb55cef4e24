// The layering check (scripts/check-layers.sh) on small source trees of its own: which includes it lets through,
// which it refuses and how it names them, and how it honours its list of exceptions. It also checks the real tree.
#include "Utf8Locale.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {
struct CheckRun {
    int exitCode = -1;
    QString output; // standard output and standard error together
};

CheckRun RunCheck(const QString& root)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment environment = WithUtf8Locale();
    environment.remove(QStringLiteral("LAYER_EXCEPTIONS"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral("bash"), {QStringLiteral(CHECK_LAYERS_SCRIPT), root});
    CheckRun run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) return run;
    run.exitCode = process.exitCode();
    run.output = QString::fromUtf8(process.readAll());
    return run;
}

// A source tree with one header in every layer, each including only what the layers allow.
class SourceTree {
public:
    SourceTree()
    {
        for (const char* layer : {"app", "ui", "phone", "pab", "model", "link", "mapi", "dav", "res"})
            Write(QStringLiteral("%1/Part.h").arg(QLatin1String(layer)), "#pragma once\n#include <QString>\n");
        Write(QStringLiteral("app/main.cpp"), "#include \"app/Part.h\"\n#include \"ui/Part.h\"\n#include \"link/Part.h\"\n"
                                              "#include \"mapi/Part.h\"\n#include \"res/Part.h\"\n");
        Write(QStringLiteral("ui/Form.cpp"), "#include \"ui/Part.h\"\n#include \"phone/Part.h\"\n#include \"pab/Part.h\"\n"
                                             "#include \"model/Part.h\"\n#include \"res/Part.h\"\n#include \"Part.h\"\n");
        Write(QStringLiteral("phone/Reading.cpp"), "#include \"link/Part.h\"\n#include \"model/Part.h\"\n");
        Write(QStringLiteral("pab/Folders.cpp"), "#include \"mapi/Part.h\"\n#include \"model/Part.h\"\n");
        Write(QStringLiteral("pab/CardSync.cpp"), "#include \"dav/Part.h\"\n#include \"res/Part.h\"\n");
        Write(QStringLiteral("dav/Client.cpp"), "#include \"dav/Part.h\"\n#include \"res/Part.h\"\n");
        Write(QStringLiteral("link/tools/Tool.cpp"), "#include \"link/Part.h\"\n#include \"res/Part.h\"\n");
        // Neither checked nor counted: tests may reach into every layer.
        Write(QStringLiteral("tests/TestAll.cpp"), "#include \"app/Part.h\"\n#include \"mapi/Part.h\"\n");
    }

    QString Root() const { return m_dir.path(); }

    void Write(const QString& path, const QByteArray& text)
    {
        QDir(m_dir.path()).mkpath(QFileInfo(path).path());
        QFile file(m_dir.filePath(path));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }
    void Append(const QString& path, const QByteArray& text)
    {
        QFile file(m_dir.filePath(path));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Append));
        file.write(text);
    }
    // Lines the file has now; 0 when there is none yet.
    int LineCount(const QString& path) const
    {
        QFile file(m_dir.filePath(path));
        return file.open(QIODevice::ReadOnly) ? int(file.readAll().count('\n')) : 0;
    }
    void SetExceptions(const QByteArray& text) { Write(QStringLiteral("scripts/layer-exceptions.txt"), text); }

private:
    QTemporaryDir m_dir;
};
}

class TestLayerCheck : public QObject {
    Q_OBJECT
private slots:
    void theSourceTreeKeepsItsLayers();
    void includesDownTheLayersPass();
    void includeAgainstTheLayersIsNamedWithItsRule_data();
    void includeAgainstTheLayersIsNamedWithItsRule();
    void includesOutsideCodeAreNotRead();
    void mapiTypesStayInsidePab_data();
    void mapiTypesStayInsidePab();
    void everyViolationIsListed();
    void listedExceptionLetsOnlyItsPairThrough();
    void exceptionNoLongerNeededIsNotedButPasses();
    void malformedExceptionFails();
};

void TestLayerCheck::theSourceTreeKeepsItsLayers()
{
    const CheckRun run = RunCheck(QStringLiteral(SOURCE_ROOT));
    QVERIFY2(run.exitCode == 0, qPrintable(run.output));
}

void TestLayerCheck::includesDownTheLayersPass()
{
    SourceTree tree;
    const CheckRun run = RunCheck(tree.Root());
    QVERIFY2(run.exitCode == 0, qPrintable(run.output));
    QVERIFY(run.output.contains(QStringLiteral("every include keeps to the layers")));
}

void TestLayerCheck::includeAgainstTheLayersIsNamedWithItsRule_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("included");
    QTest::addColumn<QString>("rule");
    QTest::newRow("model includes ui") << "model/FieldRules.cpp" << "ui/CDlgView.h" << "ui/ lies above model/";
    QTest::newRow("ui includes app") << "ui/CDlgView.cpp" << "app/CMainFrame.h" << "app/ lies above ui/";
    QTest::newRow("pab includes ui") << "pab/Folders.cpp" << "ui/Part.h" << "ui/ lies above pab/";
    QTest::newRow("res includes link") << "res/Strings.cpp" << "link/Part.h" << "link/ lies above res/";
    QTest::newRow("link tool includes ui") << "link/tools/Tool.cpp" << "ui/Part.h" << "ui/ lies above link/";
    QTest::newRow("ui includes link") << "ui/Form.cpp" << "link/Cellbus.h" << "ui/ reaches link/ only through phone/";
    QTest::newRow("ui includes mapi") << "ui/CDlgView.h" << "mapi/MapiTypes.h" << "ui/ reaches mapi/ only through pab/";
    QTest::newRow("pab includes link") << "pab/Folders.cpp" << "link/Cellbus.h" << "pab/ never uses link/";
    QTest::newRow("phone includes mapi") << "phone/Reading.cpp" << "mapi/Mapi.h" << "phone/ never uses mapi/";
    QTest::newRow("ui includes dav") << "ui/Form.cpp" << "dav/CardDavClient.h" << "ui/ reaches dav/ only through pab/";
    QTest::newRow("phone includes dav") << "phone/Reading.cpp" << "dav/CardDavClient.h" << "phone/ never uses dav/";
    QTest::newRow("dav includes pab") << "dav/Client.cpp" << "pab/Part.h" << "pab/ lies above dav/";
    QTest::newRow("dav includes mapi") << "dav/Client.cpp" << "mapi/Part.h" << "dav/ and mapi/ are one layer";
    QTest::newRow("phone includes pab") << "phone/Reading.cpp" << "pab/Part.h" << "phone/ and pab/ are one layer";
    QTest::newRow("model includes link") << "model/Rules.cpp" << "link/Part.h" << "model/ and link/ are one layer";
    QTest::newRow("folder outside the layers") << "ui/Form.cpp" << "tests/support/FormFixture.h"
                                               << "tests/ is not a layer of the program";
    QTest::newRow("climbing out") << "pab/Folders.cpp" << "../ui/Part.h" << "without \"./\" or \"../\"";
}

void TestLayerCheck::includeAgainstTheLayersIsNamedWithItsRule()
{
    QFETCH(QString, file);
    QFETCH(QString, included);
    QFETCH(QString, rule);
    SourceTree tree;
    const int includeLine = tree.LineCount(file) + 3;
    tree.Append(file, "// A comment line first.\n#include <vector>\n");
    tree.Append(file, QStringLiteral("#  include \"%1\"   // spaces after the hash are still an include\n")
                          .arg(included).toUtf8());
    const CheckRun run = RunCheck(tree.Root());
    QCOMPARE(run.exitCode, 1);
    const QString expected = QStringLiteral("%1:").arg(file);
    const QStringList lines = run.output.split(u'\n');
    const QStringList reported = lines.filter(expected);
    QVERIFY2(reported.size() == 1, qPrintable(run.output));
    QVERIFY2(reported.first().startsWith(QStringLiteral("%1:%2: #include \"%3\"").arg(file).arg(includeLine).arg(included)),
             qPrintable(reported.first()));
    QVERIFY2(reported.first().contains(rule), qPrintable(reported.first()));
}

void TestLayerCheck::includesOutsideCodeAreNotRead()
{
    SourceTree tree;
    tree.Write(QStringLiteral("model/Notes.cpp"), "// #include \"ui/Part.h\" is what this file must never do\n"
                                                  "#include <QtCore/QString>\n"
                                                  "const char* text = \"#include \\\"app/Part.h\\\"\";\n");
    tree.Write(QStringLiteral("model/ReadMe.txt"), "#include \"app/Part.h\"\n");
    const CheckRun run = RunCheck(tree.Root());
    QVERIFY2(run.exitCode == 0, qPrintable(run.output));
}

void TestLayerCheck::mapiTypesStayInsidePab_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("include");
    QTest::addColumn<QString>("rule");
    QTest::newRow("ui, mapi/ in angle brackets") << "ui/Form.cpp" << "<mapi/MapiTypes.h>"
                                                 << "included in quotes, named from the source root";
    QTest::newRow("app, mapi/ in angle brackets") << "app/main.cpp" << "<mapi/Mapi.h>"
                                                  << "included in quotes, named from the source root";
    QTest::newRow("ui, a pab/ header that includes mapi/") << "ui/Form.cpp" << "\"pab/Session.h\""
                                                           << "MAPI types above pab/ (pab/Session.h -> mapi/Part.h)";
    QTest::newRow("app, a pab/ header that reaches mapi/ through another")
        << "app/main.cpp" << "\"pab/Book.h\"" << "MAPI types above pab/ (pab/Book.h -> pab/Session.h -> mapi/Part.h)";
}

// The session's header carries MAPI types and is for pab/ itself (and tests); the headers the layers above include
// must carry none, whichever way the include is spelled and however many pab/ headers lie between.
void TestLayerCheck::mapiTypesStayInsidePab()
{
    QFETCH(QString, file);
    QFETCH(QString, include);
    QFETCH(QString, rule);
    SourceTree tree;
    tree.Write(QStringLiteral("pab/Session.h"), "#pragma once\n#include \"mapi/Part.h\"\n");
    tree.Write(QStringLiteral("pab/Book.h"), "#pragma once\n#include \"pab/Part.h\"\n#include \"pab/Session.h\"\n");
    tree.Append(QStringLiteral("pab/Folders.cpp"), "#include \"pab/Book.h\"\n");
    tree.Append(QStringLiteral("tests/TestAll.cpp"), "#include \"pab/Book.h\"\n#include <mapi/Part.h>\n");
    const int includeLine = tree.LineCount(file) + 1;
    tree.Append(file, QStringLiteral("#include %1\n").arg(include).toUtf8());
    const CheckRun run = RunCheck(tree.Root());
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.output.contains(QStringLiteral("1 include(s) against the layers")), qPrintable(run.output));
    const QStringList reported = run.output.split(u'\n').filter(QStringLiteral("%1:").arg(file));
    QVERIFY2(reported.size() == 1, qPrintable(run.output));
    QVERIFY2(reported.first().startsWith(QStringLiteral("%1:%2: #include %3: ").arg(file).arg(includeLine).arg(include)),
             qPrintable(reported.first()));
    QVERIFY2(reported.first().contains(rule), qPrintable(reported.first()));
}

void TestLayerCheck::everyViolationIsListed()
{
    SourceTree tree;
    tree.Append(QStringLiteral("ui/Form.cpp"), "#include \"app/Part.h\"\n#include \"mapi/Part.h\"\n");
    tree.Append(QStringLiteral("pab/Folders.cpp"), "#include \"link/Part.h\"\n");
    const CheckRun run = RunCheck(tree.Root());
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.output.contains(QStringLiteral("ui/Form.cpp:7: #include \"app/Part.h\"")), qPrintable(run.output));
    QVERIFY2(run.output.contains(QStringLiteral("ui/Form.cpp:8: #include \"mapi/Part.h\"")), qPrintable(run.output));
    QVERIFY2(run.output.contains(QStringLiteral("pab/Folders.cpp:3: #include \"link/Part.h\"")), qPrintable(run.output));
    QVERIFY2(run.output.contains(QStringLiteral("3 include(s) against the layers")), qPrintable(run.output));
}

void TestLayerCheck::listedExceptionLetsOnlyItsPairThrough()
{
    SourceTree tree;
    tree.Append(QStringLiteral("pab/Folders.cpp"), "#include \"ui/Part.h\"\n#include \"link/Part.h\"\n");
    tree.Append(QStringLiteral("pab/Session.cpp"), "#include \"ui/Part.h\"\n");
    tree.SetExceptions("# Until the address book is a layer of its own.\n\n"
                       "pab/Folders.cpp -> ui/Part.h   # the form's members\n"
                       "  pab/Folders.cpp->link/Part.h\n");
    const CheckRun run = RunCheck(tree.Root());
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(!run.output.contains(QStringLiteral("pab/Folders.cpp:")), qPrintable(run.output));
    QVERIFY2(run.output.contains(QStringLiteral("pab/Session.cpp:1: #include \"ui/Part.h\"")), qPrintable(run.output));

    tree.SetExceptions("pab/Folders.cpp -> ui/Part.h\npab/Folders.cpp -> link/Part.h\npab/Session.cpp -> ui/Part.h\n");
    const CheckRun excused = RunCheck(tree.Root());
    QVERIFY2(excused.exitCode == 0, qPrintable(excused.output));
    QVERIFY2(excused.output.contains(QStringLiteral("3 let through")), qPrintable(excused.output));
}

void TestLayerCheck::exceptionNoLongerNeededIsNotedButPasses()
{
    SourceTree tree;
    tree.SetExceptions("pab/Folders.cpp -> ui/CDlgView.h\n");
    const CheckRun run = RunCheck(tree.Root());
    QVERIFY2(run.exitCode == 0, qPrintable(run.output));
    QVERIFY2(run.output.contains(QStringLiteral("layer-exceptions.txt:1: note: no longer needed: pab/Folders.cpp -> ui/CDlgView.h")),
             qPrintable(run.output));
}

void TestLayerCheck::malformedExceptionFails()
{
    SourceTree tree;
    tree.SetExceptions("pab/Folders.cpp ui/Part.h\n");
    const CheckRun run = RunCheck(tree.Root());
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.output.contains(QStringLiteral("layer-exceptions.txt:1: not a \"file -> included\" pair")),
             qPrintable(run.output));
}

QTEST_GUILESS_MAIN(TestLayerCheck)
#include "TestLayerCheck.moc"
