// The GUI test base fails a test function that leaves a question open, and passes one that does not. The test
// functions below run under the base as any GUI test does; the program checks which of them failed and why.
#include "FormTestCase.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>

class LeftOpenQuestions : public FormTestCase {
    Q_OBJECT
    FormFixture& StartedForm()
    {
        FormFixture& f = NewForm();
        f.WithoutPhone();
        f.Start();
        return f;
    }

private slots:
    void nothingLeftOpen()
    {
        FormFixture& f = StartedForm();
        f.Questions().AnswerYesNo(61262, true);
        QVERIFY(f.Questions().AskYesNo(61262, "Save?"));
    }
    void reportTakenAndChecked()
    {
        FormFixture& f = StartedForm();
        f.Questions().ReportError(4, 41016);
        QCOMPARE(f.Questions().TakeReports(), std::vector<int>{4 * 100000 + 41016});
    }
    void questionWithoutAnAnswer()
    {
        FormFixture& f = StartedForm();
        QVERIFY(!f.Questions().AskYesNo(61261, "Save?"));
    }
    void answerNoQuestionTook()
    {
        FormFixture& f = StartedForm();
        f.Questions().AnswerName(true, "Folder");
    }
    void reportNobodyChecked()
    {
        FormFixture& f = StartedForm();
        f.Questions().ReportError(2, 41014);
    }
};

namespace {
struct Expectation {
    const char* function;
    const char* failure; // empty: the function passes
};

bool Check(const QString& log, const Expectation& expected)
{
    const QString failLine = QStringLiteral("FAIL!  : LeftOpenQuestions::%1()").arg(QLatin1String(expected.function));
    const qsizetype at = log.indexOf(failLine);
    const bool ok = *expected.failure ? at >= 0 && log.indexOf(QLatin1String(expected.failure), at) >= 0 : at < 0;
    std::printf("%s %s: %s\n", ok ? "ok  " : "FAIL", expected.function,
                *expected.failure ? expected.failure : "passes");
    return ok;
}
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString logPath = dir.filePath(QStringLiteral("left-open.txt"));
    LeftOpenQuestions tests;
    const int failed = QTest::qExec(&tests, QStringList{QStringLiteral("left-open"), QStringLiteral("-o"), logPath + ",txt"});
    QFile file(logPath);
    if (!file.open(QIODevice::ReadOnly)) return 1;
    const QString log = QString::fromUtf8(file.readAll());
    const Expectation expectations[] = {
        {"nothingLeftOpen", ""},
        {"reportTakenAndChecked", ""},
        {"questionWithoutAnAnswer", "asked without an answer: yesno 61261"},
        {"answerNoQuestionTook", "never asked: name"},
        {"reportNobodyChecked", "report not checked: 241014"},
    };
    bool ok = failed == 3;
    std::printf("%d test functions failed under the base (3 expected)\n", failed);
    for (const Expectation& expected : expectations) ok = Check(log, expected) && ok;
    if (!ok) std::printf("%s", qPrintable(log));
    return ok ? 0 : 1;
}

#include "TestFormTestCase.moc"
