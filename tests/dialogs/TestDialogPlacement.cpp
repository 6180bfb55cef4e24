// Laying a dialog out from its template: the dialog font, the fixed size and the buttons' places come out in
// dialog units of the dialog font, whatever font the dialog had before.
#include "ui/DialogPlacement.h"

#include <QDialog>
#include <QPushButton>
#include <QtTest>

class TestDialogPlacement : public QObject {
    Q_OBJECT

private slots:
    void givesTheDialogFontAndTheTemplateSize()
    {
        QDialog dialog;
        const DialogPlacement placement(&dialog, 237, 185);
        const QFont expected = DialogUnits::DialogFont();
        QCOMPARE(dialog.font().family(), expected.family());
        QCOMPARE(dialog.font().pointSize(), 8);
        const DialogUnits du(dialog.font());
        QCOMPARE(placement.Units().BaseX(), du.BaseX());
        QCOMPARE(placement.Units().BaseY(), du.BaseY());
        QCOMPARE(dialog.minimumSize(), QSize(du.X(237), du.Y(185)));
        QCOMPARE(dialog.maximumSize(), dialog.minimumSize());
        QCOMPARE(dialog.size(), dialog.minimumSize());
    }

    void measuresWithTheDialogFontNotTheFontBefore()
    {
        QDialog large;
        QFont big = large.font();
        big.setPointSize(40);
        large.setFont(big);
        const DialogPlacement placement(&large, 100, 100);
        QDialog plain;
        const DialogPlacement reference(&plain, 100, 100);
        QCOMPARE(placement.Units().BaseX(), reference.Units().BaseX());
        QCOMPARE(placement.Units().BaseY(), reference.Units().BaseY());
        QCOMPARE(large.size(), plain.size());
        QVERIFY(placement.Units().BaseY() < DialogUnits(big).BaseY());
    }

    void buttonsAreNamedAndPlacedByTheTemplate()
    {
        QDialog dialog;
        const DialogPlacement placement(&dialog, 252, 108);
        QPushButton* ok = placement.AddButton(QStringLiteral("OK"), "button1", 195, 43, 50, 14);
        QVERIFY(ok);
        QCOMPARE(ok->parentWidget(), &dialog);
        QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("button1")), ok);
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QCOMPARE(ok->accessibleName(), QStringLiteral("OK"));
        QCOMPARE(ok->geometry(), placement.Units().Rect(195, 43, 50, 14));
        QVERIFY(!ok->isDefault());
    }
};

QTEST_MAIN(TestDialogPlacement)
#include "TestDialogPlacement.moc"
