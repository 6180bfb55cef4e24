// A writer killed with SIGKILL at an arbitrary moment of a long series of saves, updates and deletions
// leaves a database in which every entry is either fully saved or untouched, and every save it had
// reported finished is there.
#include "MapiTestSession.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <set>
#include <sqlite3.h>

namespace {
std::map<ULONG, std::string> entryFor(const std::string& token)
{
    return {{PR_DISPLAY_NAME, "Entry " + token},
            {PR_PRIMARY_TELEPHONE_NUMBER, token},
            {PR_ADDRTYPE, "SMTP"},
            {PR_EMAIL_ADDRESS, "- -"},
            {PR_COMMENT, "Comment " + token}};
}

// The child: saves entries until it is killed, reporting each finished call on standard output.
int runWriter(const std::string& file, int first)
{
    MapiTestSession session(file);
    if (!session.Ok()) return 2;
    std::vector<MapiTestSession::Bytes> ids;
    for (int i = first;; ++i) {
        MapiTestSession::Bytes id;
        if (FAILED(session.Create(session.Pab(), session.PabId(), entryFor(std::to_string(i)), &id))) return 3;
        ids.push_back(id);
        std::printf("saved %d\n", i);
        if (i % 4 == 0 && ids.size() >= 2) {
            const std::string token = std::to_string(i - 1) + "e";
            auto fields = entryFor(token);
            fields.erase(PR_ADDRTYPE);
            fields.erase(PR_EMAIL_ADDRESS);
            if (FAILED(session.Update(ids[ids.size() - 2], fields))) return 4;
            std::printf("edited %d\n", i - 1);
        }
        if (i % 7 == 0 && ids.size() >= 4) {
            // Announced first: a kill after the deletion but before its report must not count as a loss.
            std::printf("deleting %d\n", i - 3);
            std::fflush(stdout);
            MapiTestSession::Bytes& victim = ids[ids.size() - 4];
            SBinary one{static_cast<ULONG>(victim.size()), reinterpret_cast<LPBYTE>(victim.data())};
            ENTRYLIST entries{1, &one};
            if (session.Pab()->DeleteEntries(&entries, 0) != S_OK) return 5;
            std::printf("deleted %d\n", i - 3);
        }
        std::fflush(stdout);
    }
}

std::string tokenOf(const std::string& text, const std::string& prefix)
{
    return text.rfind(prefix, 0) == 0 ? text.substr(prefix.size()) : std::string("<bad:") + text + ">";
}
}

constexpr int kRounds = 12;

// What the writer reported before it died: each line names a call that had returned ("saved", "edited",
// "deleted") or, for deletions, one about to be made ("deleting").
struct WriterReports {
    std::set<int> saved;
    std::set<int> edited;
    std::set<int> deleting;
    std::set<int> deleted;
    int lines = 0;
    QByteArray pending;

    void Consume(const QByteArray& output)
    {
        pending += output;
        int end = 0;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QList<QByteArray> words = pending.left(end).split(' ');
            pending.remove(0, end + 1);
            ++lines;
            const int n = words.value(1).toInt();
            if (words[0] == "saved") saved.insert(n);
            else if (words[0] == "edited") edited.insert(n);
            else if (words[0] == "deleting") deleting.insert(n);
            else if (words[0] == "deleted") deleted.insert(n);
        }
    }
};

class TestMapiCrash : public QObject {
    Q_OBJECT

private slots:
    void killedWriterLeavesEveryEntryWholeOrAbsent()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString file = dir.path() + "/pab.sqlite";
        WriterReports reports;
        for (int round = 0; round < kRounds; ++round) {
            QProcess writer;
            writer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            writer.start(QCoreApplication::applicationFilePath(),
                         {"--writer", file, QString::number(round * 100000 + 1)});
            QVERIFY(writer.waitForStarted(30000));
            const int killAfter = reports.lines + 20 + static_cast<int>(QRandomGenerator::global()->bounded(100));
            while (reports.lines < killAfter) {
                QVERIFY2(writer.state() == QProcess::Running, "the writer stopped by itself");
                writer.waitForReadyRead(1000);
                reports.Consume(writer.readAllStandardOutput());
            }
            // Killing right on a report would find the writer just after it, between two saves: let it
            // run on for a random moment so the kill lands anywhere inside the next calls.
            QThread::usleep(QRandomGenerator::global()->bounded(100, 3000));
            ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
            QVERIFY(writer.waitForFinished(30000));
            reports.Consume(writer.readAllStandardOutput());
            VerifyConsistent(file.toStdString(), reports);
            if (QTest::currentTestFailed()) return;
        }
    }

private:
    void VerifyConsistent(const std::string& file, const WriterReports& reports)
    {
        {
            sqlite3* db = nullptr;
            QCOMPARE(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
            sqlite3_stmt* statement = nullptr;
            QCOMPARE(sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr), SQLITE_OK);
            QCOMPARE(sqlite3_step(statement), SQLITE_ROW);
            QCOMPARE(std::string(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))), std::string("ok"));
            sqlite3_finalize(statement);
            sqlite3_close(db);
        }
        MapiTestSession session(file);
        QVERIFY2(session.Ok(), "the book opens again after the kill");
        std::set<int> present;
        for (const auto& row : session.Rows(session.Pab())) {
            auto props = session.Props(row.at(PR_ENTRYID));
            QVERIFY2(props.count(PR_DISPLAY_NAME) && props.count(PR_PRIMARY_TELEPHONE_NUMBER) &&
                         props.count(PR_COMMENT) && props.count(PR_ADDRTYPE) && props.count(PR_EMAIL_ADDRESS),
                     "an entry with only some of its properties");
            const std::string token = tokenOf(props[PR_DISPLAY_NAME], "Entry ");
            QCOMPARE(props[PR_PRIMARY_TELEPHONE_NUMBER], token);
            QCOMPARE(tokenOf(props[PR_COMMENT], "Comment "), token);
            QCOMPARE(props[PR_ADDRTYPE], std::string("SMTP"));
            QCOMPARE(props[PR_EMAIL_ADDRESS], std::string("- -"));
            const int n = std::atoi(token.c_str());
            if (reports.edited.count(n)) QCOMPARE(token, std::to_string(n) + "e");
            present.insert(n);
        }
        for (int n : reports.saved) {
            if (!reports.deleting.count(n)) QVERIFY2(present.count(n), qPrintable(QString("saved entry %1 lost").arg(n)));
        }
        for (int n : reports.deleted) QVERIFY2(!present.count(n), qPrintable(QString("deleted entry %1 back").arg(n)));
    }
};

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--writer") return runWriter(argv[2], std::atoi(argv[3]));
    QCoreApplication app(argc, argv);
    TestMapiCrash test;
    return QTest::qExec(&test, argc, argv);
}
#include "TestMapiCrash.moc"
