// While the telephone works, clicks and keys inside modal windows are discarded; a report that the read failed
// must still be answerable, since the read has ended by then. Runs in the program's own application object,
// whose message filter does the discarding, with the program's real message boxes.
#include "FormTestCase.h"

#include "app/CVRD2EditApp.h"
#include "ui/CDlgView.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

class TestBusyInput : public FormTestCase {
    Q_OBJECT
private slots:
    void failedReadReportCanBeDismissedWithTheMouse()
    {
        FormFixture& f = NewForm();
        f.UseRealDialogs();
        QMap<int, EmulatorEntry> many;
        for (int i = 1; i <= 30; ++i) many.insert(i, {QStringLiteral("N%1").arg(i), QStringLiteral("%1").arg(i)});
        EmulatorState state = EmulatorState::blank();
        state.storage("ON")->entries = many;
        state.storage("ON")->capacity = 30;
        f.SetPhoneState(state);
        f.PhoneOptions().hangupAfter = 6;
        bool blockedWhileBusy = false;
        QString reportText;
        bool dismissed = false;
        auto* watcher = new QTimer(this);
        watcher->setInterval(20);
        connect(watcher, &QTimer::timeout, this, [&] {
            if (f.View() && f.View()->Store().HasFlag(VF_BUSY) && CVRD2EditApp::Instance()->m_bInputBlocked == 1)
                blockedWhileBusy = true;
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || dismissed) return;
            reportText = box->text();
            QTest::mouseClick(box->buttons().constFirst(), Qt::LeftButton);
            dismissed = !box->isVisible();
        });
        watcher->start();
        f.Start();
        QTRY_VERIFY_WITH_TIMEOUT(dismissed, 60000);
        watcher->stop();
        QVERIFY(blockedWhileBusy);
        QCOMPARE(reportText, QStringLiteral("An error occurred while reading telephone data: No data."));
        QCOMPARE(CVRD2EditApp::Instance()->m_bInputBlocked, 0);
        QVERIFY(!f.View()->Store().HasFlag(VF_BUSY));
    }
};

int main(int argc, char** argv)
{
    CVRD2EditApp app(argc, argv);
    TestBusyInput test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestBusyInput.moc"
