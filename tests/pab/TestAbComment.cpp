#include "pab/AbComment.h"

#include <QtTest>

#include <memory>

namespace {
QByteArray Bytes(const std::string& text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}
}

class TestAbComment : public QObject {
    Q_OBJECT
    std::unique_ptr<DirTable> m_table;

private slots:
    void init()
    {
        m_table = std::make_unique<DirTable>();
        m_table->m_nCapacity = kTableSlots;
        // Entries read before the one parsed hold indices 4 and 5.
        (*m_table)[0].m_nIndex = 4;
        (*m_table)[1].m_nIndex = 5;
        // A slot beyond those read is not looked at, whatever it holds.
        (*m_table)[2].m_nIndex = 6;
    }

    void parse_data()
    {
        QTest::addColumn<bool>("hasComment");
        QTest::addColumn<QByteArray>("comment");
        QTest::addColumn<QByteArray>("status");
        QTest::addColumn<int>("index");
        QTest::addColumn<QByteArray>("freeComment");
        QTest::newRow("created by us") << true << QByteArray("Standard-Status - Index: 12 ") << QByteArray(" ") << 12 << QByteArray("");
        QTest::newRow("vip") << true << QByteArray("VIP-Status - Index: 7 ") << QByteArray("!") << 7 << QByteArray("");
        QTest::newRow("updated with free comment") << true << QByteArray("Met at fair Standard-Status - Index: 3 ")
                                                   << QByteArray(" ") << 3 << QByteArray("Met at fair");
        QTest::newRow("free comment only") << true << QByteArray("Met at fair") << QByteArray(" ") << 0 << QByteArray("Met at fair");
        QTest::newRow("no comment") << false << QByteArray() << QByteArray("") << 0 << QByteArray("");
        QTest::newRow("empty comment") << true << QByteArray("") << QByteArray(" ") << 0 << QByteArray("");
        // Only the tail the save writes is the program's; the same words anywhere else are the user's text.
        QTest::newRow("vip without index") << true << QByteArray("VIP-Status") << QByteArray(" ") << 0 << QByteArray("VIP-Status");
        QTest::newRow("index word at the end") << true << QByteArray("Call Index") << QByteArray(" ") << 0 << QByteArray("Call Index");
        QTest::newRow("a note about an index fund") << true << QByteArray("Index fund manager at ACME") << QByteArray(" ") << 0
                                                    << QByteArray("Index fund manager at ACME");
        QTest::newRow("a note about VIP guests") << true << QByteArray("Birthday party list - VIP-Status guests")
                                                 << QByteArray(" ") << 0 << QByteArray("Birthday party list - VIP-Status guests");
        QTest::newRow("such a note saved by the program")
            << true << QByteArray("Index fund - VIP-Status guests Standard-Status - Index: 9 ") << QByteArray(" ") << 9
            << QByteArray("Index fund - VIP-Status guests");
        QTest::newRow("a note of several lines") << true << QByteArray("line one\nline two VIP-Status - Index: 4 ")
                                                 << QByteArray("!") << 0 << QByteArray("line one\nline two");
        QTest::newRow("updated entry without a comment") << true << QByteArray(" Standard-Status - Index: 12 ")
                                                         << QByteArray(" ") << 12 << QByteArray("");
        QTest::newRow("status word glued to the text") << true << QByteArray("fairVIP-Status - Index: 3 ")
                                                       << QByteArray(" ") << 0 << QByteArray("fairVIP-Status - Index: 3 ");
        QTest::newRow("without the closing blank") << true << QByteArray("VIP-Status - Index: 3")
                                                   << QByteArray(" ") << 0 << QByteArray("VIP-Status - Index: 3");
        QTest::newRow("index taken by an earlier entry") << true << QByteArray("Standard-Status - Index: 5 ")
                                                         << QByteArray(" ") << 0 << QByteArray("");
        QTest::newRow("index of an entry not read yet") << true << QByteArray("Standard-Status - Index: 6 ")
                                                        << QByteArray(" ") << 6 << QByteArray("");
        QTest::newRow("index zero") << true << QByteArray("Standard-Status - Index: 0 ") << QByteArray(" ") << 0 << QByteArray("");
        QTest::newRow("index above the table") << true << QByteArray("Standard-Status - Index: 1001 ") << QByteArray(" ") << 0
                                               << QByteArray("");
        QTest::newRow("index at the table's end") << true << QByteArray("Standard-Status - Index: 1000 ") << QByteArray(" ")
                                                  << 1000 << QByteArray("");
        QTest::newRow("index not a number") << true << QByteArray("Standard-Status - Index: abc ") << QByteArray(" ") << 0
                                            << QByteArray("Standard-Status - Index: abc ");
        QTest::newRow("negative index passes") << true << QByteArray("Standard-Status - Index: -3 ") << QByteArray(" ") << -3
                                               << QByteArray("");
        QTest::newRow("huge index") << true << QByteArray("Standard-Status - Index: 99999999999999999999 ")
                                    << QByteArray(" ") << 0 << QByteArray("");
        QTest::newRow("text after the index") << true << QByteArray("VIP-Status - Index: 8 see note")
                                              << QByteArray(" ") << 0 << QByteArray("VIP-Status - Index: 8 see note");
        QTest::newRow("words are case-sensitive") << true << QByteArray("vip-status - index: 8 ")
                                                  << QByteArray(" ") << 0 << QByteArray("vip-status - index: 8 ");
    }
    void parse()
    {
        QFETCH(bool, hasComment);
        QFETCH(QByteArray, comment);
        QFETCH(QByteArray, status);
        QFETCH(int, index);
        QFETCH(QByteArray, freeComment);
        std::optional<std::string> text;
        if (hasComment) text = comment.toStdString();
        const AbCommentFields fields = AbComment::Parse(text, *m_table, 2);
        QCOMPARE(Bytes(fields.m_strStatus), status);
        QCOMPARE(fields.m_nIndex, index);
        QCOMPARE(Bytes(fields.m_strComment), freeComment);
    }

    void formats_data()
    {
        QTest::addColumn<QByteArray>("comment");
        QTest::addColumn<QByteArray>("status");
        QTest::addColumn<int>("index");
        QTest::addColumn<QByteArray>("newFormat");
        QTest::addColumn<QByteArray>("updatedFormat");
        QTest::newRow("standard") << QByteArray("Met at fair") << QByteArray(" ") << 12
                                  << QByteArray("Standard-Status - Index: 12 ")
                                  << QByteArray("Met at fair Standard-Status - Index: 12 ");
        QTest::newRow("vip") << QByteArray("Met at fair") << QByteArray("!") << 3 << QByteArray("VIP-Status - Index: 3 ")
                             << QByteArray("Met at fair VIP-Status - Index: 3 ");
        QTest::newRow("empty status is standard") << QByteArray("") << QByteArray("") << 1
                                                  << QByteArray("Standard-Status - Index: 1 ")
                                                  << QByteArray(" Standard-Status - Index: 1 ");
        QTest::newRow("status must be exactly !") << QByteArray("x") << QByteArray("!!") << 2
                                                  << QByteArray("Standard-Status - Index: 2 ")
                                                  << QByteArray("x Standard-Status - Index: 2 ");
        QTest::newRow("comment ending in a blank") << QByteArray("Ami ") << QByteArray(" ") << 4
                                                   << QByteArray("Standard-Status - Index: 4 ")
                                                   << QByteArray("Ami  Standard-Status - Index: 4 ");
        QTest::newRow("comment in the status words") << QByteArray("Index fund - VIP-Status guests") << QByteArray("!") << 5
                                                     << QByteArray("VIP-Status - Index: 5 ")
                                                     << QByteArray("Index fund - VIP-Status guests VIP-Status - Index: 5 ");
    }
    void formats()
    {
        QFETCH(QByteArray, comment);
        QFETCH(QByteArray, status);
        QFETCH(int, index);
        QFETCH(QByteArray, newFormat);
        QFETCH(QByteArray, updatedFormat);
        QCOMPARE(Bytes(AbComment::FormatForNewEntry(status.toStdString(), index)), newFormat);
        QCOMPARE(Bytes(AbComment::FormatForUpdatedEntry(comment.toStdString(), status.toStdString(), index)), updatedFormat);
        // What is written reads back as it was: the comment exactly, the status and the index.
        const AbCommentFields back = AbComment::Parse(updatedFormat.toStdString());
        QCOMPARE(Bytes(back.m_strComment), comment);
        QCOMPARE(back.m_strStatus, std::string(status == "!" ? "!" : " "));
        QCOMPARE(back.m_nIndex, index);
    }
};

QTEST_APPLESS_MAIN(TestAbComment)
#include "TestAbComment.moc"
