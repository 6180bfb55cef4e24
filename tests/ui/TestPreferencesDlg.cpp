// The preferences dialog on real widgets over a real settings file: the check boxes show and set the start-up
// mask, OK writes every key the program reads (the device through the connection dialog), Cancel writes nothing;
// the synchronization account goes to the settings and its password only to the keyring, and a password the
// keyring refuses, or an address that cannot be used, keeps the dialog open with the reason and writes nothing.
#include "model/FormSettings.h"
#include "ui/CFilePathField.h"
#include "ui/CPreferencesDlg.h"
#include "ui/CSyncAccountBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TestPreferencesDlg : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    static QCheckBox* Directory(QDialog& dialog, int i)
    {
        return dialog.findChild<QCheckBox*>(QStringLiteral("directory%1").arg(i));
    }

private slots:
    void checkBoxesFollowTheMaskAndOkWritesCancelDoesNot()
    {
        const QString file = m_dir.filePath(QStringLiteral("prefs.ini"));
        {
            QSettings settings(file, QSettings::IniFormat);
            settings.setValue(QStringLiteral("CfgPropPage2/Autoload"), 1);
            settings.setValue(QStringLiteral("CfgPropPage2/Phonebooks"), 0x09); // SIM and own numbers
            settings.setValue(QStringLiteral("CfgPropPage2/ShowCorrection"), 0);
            settings.setValue(QStringLiteral("Link/Baud"), 57600);
        }
        QSettings settings(file, QSettings::IniFormat);
        const QByteArray before = [&] { QFile f(file); f.open(QIODevice::ReadOnly); return f.readAll(); }();
        QStringList devicesOffered;
        CPreferencesDlg::DeviceChooser chooser = [&](QString& device) {
            devicesOffered << device;
            device = QStringLiteral("/dev/ttyACM0");
            return true;
        };

        // Cancel after changing everything: the file stays byte for byte.
        {
            CPreferencesDlg dialog(nullptr, settings, chooser);
            for (int i = 0; i < 7; ++i) QCOMPARE(Directory(dialog, i)->isChecked(), i == 0 || i == 3);
            QVERIFY(!dialog.findChild<QCheckBox*>(QStringLiteral("showCorrection"))->isChecked());
            QCOMPARE(dialog.findChild<QComboBox*>(QStringLiteral("baud"))->currentData().toInt(), 57600);
            QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("device"))->text(), QStringLiteral("Built-in phone emulator"));
            dialog.show();
            QTest::mouseClick(Directory(dialog, 5), Qt::LeftButton);
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("connection")), Qt::LeftButton);
            QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("device"))->text(), QStringLiteral("/dev/ttyACM0"));
            dialog.reject();
        }
        QCOMPARE(devicesOffered, QStringList{QString()});
        settings.sync();
        QFile after(file);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), before);

        // OK: the boxes checked become the mask, and every value reaches the file.
        {
            CPreferencesDlg dialog(nullptr, settings, chooser);
            dialog.show();
            QTest::mouseClick(Directory(dialog, 0), Qt::LeftButton); // off
            QTest::mouseClick(Directory(dialog, 6), Qt::LeftButton); // on
            auto* preview = dialog.findChild<QCheckBox*>(QStringLiteral("showCorrection"));
            QTest::mouseClick(preview, Qt::LeftButton, {}, QPoint(8, preview->height() / 2)); // on its box
            dialog.findChild<CFilePathField*>(QStringLiteral("bookFile"))->Edit()->setText(QStringLiteral(" /tmp/other book.sqlite "));
            auto* baud = dialog.findChild<QComboBox*>(QStringLiteral("baud"));
            baud->setCurrentIndex(baud->findData(0));
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("connection")), Qt::LeftButton);
            dialog.accept();
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        }
        QSettings reread(file, QSettings::IniFormat);
        const FormSettings read = FormSettings::Read(reread);
        QCOMPARE(read.StartUpDirectories(), 0x48);
        QCOMPARE(reread.value(QStringLiteral("CfgPropPage2/Autoload")).toInt(), 1);
        QCOMPARE(read.m_nShowCorrection, 1);
        QCOMPARE(read.m_strAddressBookFile, QStringLiteral("/tmp/other book.sqlite"));
        QCOMPARE(read.m_strDevice, QStringLiteral("/dev/ttyACM0"));
        QVERIFY(!reread.contains(QStringLiteral("Link/Baud"))); // the link's own speed again

        // No box checked: nothing is read automatically at the next start.
        {
            CPreferencesDlg dialog(nullptr, reread);
            for (int i : {3, 6}) Directory(dialog, i)->setChecked(false);
            dialog.accept();
        }
        QSettings last(file, QSettings::IniFormat);
        QCOMPARE(last.value(QStringLiteral("CfgPropPage2/Autoload")).toInt(), 0);
        QCOMPARE(FormSettings::Read(last).AutoReadMask(), 0u);
    }

    void syncAccountKeepsItsPasswordOutOfTheSettings()
    {
        const QString file = m_dir.filePath(QStringLiteral("sync.ini"));
        QSettings settings(file, QSettings::IniFormat);
        QStringList kept;
        QString refusal = QStringLiteral("no keyring here");
        CSyncAccountBox box(nullptr, SyncAccount::Read(settings), [&](const SyncAccount& account, const QString& password) {
            kept << account.KeyringKey() + u' ' + password;
            return refusal;
        });
        auto field = [&](const char* name) { return box.findChild<QLineEdit*>(QLatin1String(name)); };
        auto* problem = box.findChild<QLabel*>(QStringLiteral("syncProblem"));

        field("syncServer")->setText(QStringLiteral("ftp://dav.example.org/"));
        QVERIFY(!box.Store(settings));
        QVERIFY(problem->text().contains(QLatin1String("https://")));

        field("syncServer")->setText(QStringLiteral(" https://dav.example.org/ "));
        field("syncUser")->setText(QStringLiteral("anna"));
        field("syncPassword")->setText(QStringLiteral("s3cret"));
        QVERIFY(!box.Store(settings)); // the keyring refused: nothing written, the reason shown
        QVERIFY(problem->text().contains(refusal));
        settings.sync();
        QVERIFY(settings.allKeys().isEmpty());

        refusal.clear();
        QVERIFY(box.Store(settings));
        QVERIFY(problem->isHidden());
        QCOMPARE(kept.last(), QStringLiteral("anna@https://dav.example.org/ s3cret"));
        QVERIFY(field("syncPassword")->text().isEmpty());
        settings.sync();
        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray text = written.readAll();
        QVERIFY(text.contains("dav.example.org"));
        QVERIFY(!text.contains("s3cret"));

        // An empty password field keeps the password the keyring holds.
        kept.clear();
        QVERIFY(box.Store(settings));
        QVERIFY(kept.isEmpty());
    }
};

QTEST_MAIN(TestPreferencesDlg)
#include "TestPreferencesDlg.moc"
