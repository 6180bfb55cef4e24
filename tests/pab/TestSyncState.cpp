// The synchronization state survives a save and a load byte for byte (cards as the server sent them, invalid
// UTF-8 and CR LF included), starts empty without a file or for another collection, and never takes a damaged
// or unwritable file for an empty state.
#include "TestSeed.h"

#include "pab/SyncState.h"

#include <QFile>
#include <QRandomGenerator64>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QByteArray RandomBytes(QRandomGenerator64& random, int size)
{
    QByteArray bytes(size, '\0');
    for (char& c : bytes) c = char(random.bounded(256));
    return bytes;
}

QString RandomText(QRandomGenerator64& random)
{
    static const QString pieces[] = {QStringLiteral("Łukasz"), QStringLiteral("Иван"), QStringLiteral("李"),
                                     QStringLiteral("a/b%20c"), QStringLiteral("\"W/1-2\""), QStringLiteral("x")};
    QString text;
    for (int i = 0, n = int(random.bounded(1, 4)); i < n; ++i) text += pieces[random.bounded(int(std::size(pieces)))];
    return text;
}
}

class TestSyncState : public QObject {
    Q_OBJECT
private slots:
    void roundTripKeepsEveryByte()
    {
        const quint64 seed = TestSeed();
        qInfo("seed %llu (TD_SEED=%llu replays)", seed, seed);
        QRandomGenerator64 random(seed);
        QTemporaryDir dir;
        const QString path = SyncState::PathFor(dir.filePath(QStringLiteral("book.pab")));
        for (int round = 0; round < 20; ++round) {
            SyncState state;
            state.BindTo(QStringLiteral("https://dav.example.org/books/") + RandomText(random));
            state.SetToken(RandomText(random));
            for (int i = 0, n = int(random.bounded(0, 30)); i < n; ++i)
                state.Put(RandomText(random) + QString::number(i),
                          {RandomText(random), RandomText(random),
                           "BEGIN:VCARD\r\n" + RandomBytes(random, int(random.bounded(0, 300))) + "\r\nEND:VCARD\r\n"});
            QString error;
            QVERIFY2(state.Save(path, error), qPrintable(error));
            SyncState read;
            QVERIFY2(read.Load(path, error), qPrintable(error));
            QVERIFY2(read == state, qPrintable(QStringLiteral("round %1").arg(round)));
        }
    }

    void emptyDamagedAndUnwritableStates()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("book.pab.sync"));
        QString error;
        SyncState state;
        QVERIFY(state.Load(path, error)); // no file yet: a first synchronization
        QVERIFY(state.Cards().empty());

        state.BindTo(QStringLiteral("https://a/"));
        state.SetToken(QStringLiteral("t1"));
        state.Put(QStringLiteral("u1"), {QStringLiteral("/a/u1.vcf"), QStringLiteral("e1"), "card"});
        state.BindTo(QStringLiteral("https://a/")); // the same collection keeps what it knows
        QCOMPARE(state.Cards().size(), size_t(1));
        state.BindTo(QStringLiteral("https://b/")); // another one starts afresh
        QVERIFY(state.Cards().empty());
        QVERIFY(state.Token().isEmpty());

        QFile damaged(path);
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("{\"format\":1,\"cards\":[");
        damaged.close();
        SyncState read;
        QVERIFY(!read.Load(path, error));
        QVERIFY(error.contains(QLatin1String("damaged")));

        error.clear();
        QVERIFY(!state.Save(dir.filePath(QStringLiteral("missing/folder/book.pab.sync")), error));
        QVERIFY(error.contains(QLatin1String("cannot be written")));
    }
};

QTEST_GUILESS_MAIN(TestSyncState)
#include "TestSyncState.moc"
