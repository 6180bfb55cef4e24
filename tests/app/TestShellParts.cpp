// The shell's smaller parts: the single-instance lock, the key-lock indicators, the artwork, the About box
// layout and the help file.
#include "app/CAboutDlg.h"
#include "app/CHelpWindow.h"
#include "app/KeyLockState.h"
#include "app/SingleInstanceLock.h"
#include "res/Artwork.h"
#include "res/CommandIds.h"
#include "ui/DialogUnits.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <memory>

class TestShellParts : public QObject {
    Q_OBJECT
private slots:
    void lockRefusesASecondHolderUntilReleased();
    void lockFolderIsTheRuntimeFolder();
    void keyLocksFollowTheKeyboardLeds();
    void artworkHasTheSizesTheFormExpects();
    void transferArrowsPointOppositeWays();
    void aboutBoxFollowsItsTemplate();
    void helpFileCoversTheTopics();

private:
    static void WriteLed(const QString& folder, const QString& name, const char* brightness);
};

void TestShellParts::lockRefusesASecondHolderUntilReleased()
{
    QTemporaryDir runtime;
    QVERIFY(runtime.isValid());
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    auto first = std::make_unique<SingleInstanceLock>(QStringLiteral("telephone-directory"));
    QCOMPARE(first->TryAcquire(), SingleInstanceLock::Result::Acquired);
    QCOMPARE(first->LockFilePath(), QDir(runtime.path()).filePath(QStringLiteral("telephone-directory.lock")));
    QVERIFY(QFile::exists(first->LockFilePath()));

    SingleInstanceLock second(QStringLiteral("telephone-directory"));
    QCOMPARE(second.TryAcquire(), SingleInstanceLock::Result::HeldByAnother);
    // Another program name is another program.
    SingleInstanceLock other(QStringLiteral("telephone-link"));
    QCOMPARE(other.TryAcquire(), SingleInstanceLock::Result::Acquired);

    first.reset();
    QCOMPARE(second.TryAcquire(), SingleInstanceLock::Result::Acquired);
}

void TestShellParts::lockFolderIsTheRuntimeFolder()
{
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    QCOMPARE(SingleInstanceLock::LockFolder(), runtime.path());
}

void TestShellParts::WriteLed(const QString& folder, const QString& name, const char* brightness)
{
    QVERIFY(QDir(folder).mkpath(name));
    QFile file(QDir(folder).filePath(name + QStringLiteral("/brightness")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(brightness);
}

void TestShellParts::keyLocksFollowTheKeyboardLeds()
{
    QTemporaryDir leds;
    WriteLed(leds.path(), QStringLiteral("input3::capslock"), "0\n");
    WriteLed(leds.path(), QStringLiteral("input7::capslock"), "1\n"); // a second keyboard with Caps Lock on
    WriteLed(leds.path(), QStringLiteral("input3::numlock"), "0\n");
    WriteLed(leds.path(), QStringLiteral("input3::scrolllockx"), "1\n"); // not a scroll lock LED
    const KeyLockState state(leds.path());
    QCOMPARE(state.Query(KeyLockState::CAPS_LOCK), KeyLockState::State::On);
    QCOMPARE(state.Query(KeyLockState::NUM_LOCK), KeyLockState::State::Off);
    QCOMPARE(state.Query(KeyLockState::SCROLL_LOCK), KeyLockState::State::Unknown);

    const KeyLockState none(leds.path() + QStringLiteral("/missing"));
    QCOMPARE(none.Query(KeyLockState::CAPS_LOCK), KeyLockState::State::Unknown);
}

void TestShellParts::artworkHasTheSizesTheFormExpects()
{
    // Toolbar pictures are line drawings in the palette's button text, drawn afresh for every size asked for.
    QPalette palette;
    const QColor ink(200, 30, 90);
    palette.setColor(QPalette::ButtonText, ink);
    QSet<QByteArray> pictures;
    for (int id : {32771, 32772, 57635, 57634, 57637, 57642, 32785, 32786, 57633, 57664}) {
        const QIcon icon = Artwork::ToolbarIcon(id, palette);
        for (const QSize size : {QSize(16, 15), QSize(24, 23), QSize(32, 30)}) {
            const QImage image = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(image.size(), size);
            int inked = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (qAlpha(image.pixel(x, y)) >= 128) {
                        const QRgb pixel = image.pixel(x, y); // premultiplied storage rounds a little
                        QVERIFY(qAbs(qRed(pixel) - ink.red()) + qAbs(qGreen(pixel) - ink.green())
                                    + qAbs(qBlue(pixel) - ink.blue()) <= 6);
                        ++inked;
                    }
            QVERIFY2(inked > image.width(), qPrintable(QString::number(id)));
        }
        const QImage small = icon.pixmap(QSize(16, 15)).toImage();
        pictures.insert(QByteArray(reinterpret_cast<const char*>(small.constBits()), small.sizeInBytes()));
    }
    QCOMPARE(pictures.size(), 10); // no two commands share a picture
    QVERIFY(Artwork::ToolbarIcon(ID_VIEW_TOOLBAR).isNull());

    for (int kind : {Artwork::FOLDER_MAIN, Artwork::FOLDER_SUB}) {
        const QImage normal = Artwork::FolderImage(kind, false).toImage();
        const QImage greyed = Artwork::FolderImage(kind, true).toImage();
        QCOMPARE(normal.size(), QSize(18, 18));
        QCOMPARE(greyed.size(), QSize(18, 18));
        QVERIFY(!normal.allGray());
        QVERIFY(greyed.allGray());
    }
    QVERIFY(Artwork::FolderImage(Artwork::FOLDER_MAIN, false).toImage()
            != Artwork::FolderImage(Artwork::FOLDER_SUB, false).toImage());

    // The small program icons are drawn for their size, not scaled down: every pixel is fully opaque or clear.
    for (int size : {16, 32}) {
        const QImage icon = Artwork::ProgramIcon().pixmap(size, size).toImage();
        QCOMPARE(icon.size(), QSize(size, size));
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) QVERIFY(qAlpha(icon.pixel(x, y)) == 0 || qAlpha(icon.pixel(x, y)) == 255);
    }
    const QCursor split = Artwork::SplitCursor();
    QCOMPARE(split.hotSpot(), QPoint(16, 16));
    QVERIFY(!split.pixmap().isNull());
}

void TestShellParts::transferArrowsPointOppositeWays()
{
    const QImage toPhone = Artwork::TransferIcon(143).pixmap(16, 16).toImage();
    const QImage toBook = Artwork::TransferIcon(144).pixmap(16, 16).toImage();
    QVERIFY(!toPhone.isNull() && !toBook.isNull());
    QCOMPARE(toPhone.mirrored(true, false), toBook);
    // The tip of the arrow to the telephone is at the left edge, its tail does not reach the right edge.
    QVERIFY(qAlpha(toPhone.pixel(1, 8)) > 0);
    QCOMPARE(qAlpha(toPhone.pixel(1, 2)), 0);
    QVERIFY(Artwork::TransferIcon(145).isNull());
}

void TestShellParts::aboutBoxFollowsItsTemplate()
{
    CAboutDlg about;
    const DialogUnits du(about.font());
    QCOMPARE(about.windowTitle(), QStringLiteral("About Telephone Directory"));
    QCOMPARE(about.size(), QSize(du.X(217), du.Y(55)));
    auto* ok = about.findChild<QPushButton*>(QStringLiteral("ID_1"));
    QVERIFY(ok);
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QCOMPARE(ok->geometry(), du.Rect(178, 7, 32, 14));
    QStringList texts;
    for (QLabel* label : about.findChildren<QLabel*>()) {
        if (label->pixmap().isNull())
            texts << label->text();
        else
            QCOMPARE(label->pos(), QPoint(du.X(11), du.Y(17)));
    }
    QVERIFY(texts.contains(QStringLiteral("Telephone Directory Version 1.1.03")));
    QVERIFY(texts.filter(QStringLiteral("Korvane")).size() == 1);

    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QTest::keyClick(&about, Qt::Key_Return);
    QCOMPARE(about.result(), int(QDialog::Accepted));
}

void TestShellParts::helpFileCoversTheTopics()
{
    CHelpWindow help;
    help.ShowContents();
    QCOMPARE(help.Browser()->source(), CHelpWindow::ContentsUrl());
    const QString text = help.Browser()->toPlainText();
    for (const char* topic : {"The two lists", "The preview row", "Saving", "Settings", "Connecting a telephone",
                              "Where the address book lives", "ShowCorrection", "Autoload", "Phonebooks",
                              "CfgPropPage2", "Link/Device", "Link/Baud", "AddressBook/File", "--device",
                              "--pab", "telephone-link", "Connection...", "Import vCard...", "Export vCard...",
                              "Restore telephone backup..."})
        QVERIFY2(text.contains(QString::fromLatin1(topic)), topic);
}

QTEST_MAIN(TestShellParts)
#include "TestShellParts.moc"
