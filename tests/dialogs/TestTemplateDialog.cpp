// A template dialog fills its controls at every opening from what its owner set, never in its constructor.
#include "ui/CTemplateDialog.h"

#include <QLabel>
#include <QtTest>

namespace {
class CountingDialog : public CTemplateDialog {
public:
    CountingDialog() : m_label(new QLabel(this)) {}

    QString m_strText; // set by the owner before each opening
    int m_nInitialised = 0;
    QLabel* m_label;

protected:
    void OnInitDialog() override
    {
        ++m_nInitialised;
        m_label->setText(m_strText);
    }
};
}

class TestTemplateDialog : public QObject {
    Q_OBJECT

private slots:
    void everyOpeningShowsWhatTheOwnerSetJustBefore()
    {
        CountingDialog dialog;
        QCOMPARE(dialog.m_nInitialised, 0);
        dialog.m_strText = QStringLiteral("first");
        dialog.open();
        QTRY_VERIFY(dialog.isVisible());
        QCOMPARE(dialog.m_nInitialised, 1);
        QCOMPARE(dialog.m_label->text(), QStringLiteral("first"));
        dialog.reject();
        QTRY_VERIFY(!dialog.isVisible());

        dialog.m_strText = QStringLiteral("second");
        dialog.open();
        QTRY_VERIFY(dialog.isVisible());
        QCOMPARE(dialog.m_nInitialised, 2);
        QCOMPARE(dialog.m_label->text(), QStringLiteral("second"));
        dialog.reject();
    }

    void isADialogOfItsOwnClass()
    {
        CountingDialog dialog;
        QVERIFY(qobject_cast<CTemplateDialog*>(&dialog));
        QCOMPARE(CTemplateDialog::staticMetaObject.superClass(), &QDialog::staticMetaObject);
    }
};

QTEST_MAIN(TestTemplateDialog)
#include "TestTemplateDialog.moc"
