// The form on real widgets: its layout from the dialog template, what it shows at start-up, how the lists are
// filled from the tables, and the names assistive tools read.
#include "FormControls.h"
#include "TestEntries.h"
#include "FormTestCase.h"

#include "app/CMainFrame.h"
#include "ui/CDlgView.h"
#include "ui/CFormHost.h"
#include "ui/CFormLists.h"
#include "ui/CDirectoryCombo.h"
#include "ui/CFolderCombo.h"
#include "ui/CPreviewCombo.h"
#include "ui/DialogUnits.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

class TestForm : public FormTestCase {
    Q_OBJECT
private:
    static QStringList Row(QTreeWidget* list, int row)
    {
        QStringList texts;
        for (int c = 0; c < 4; ++c) texts << list->topLevelItem(row)->text(c);
        return texts;
    }

private slots:
    void layoutFollowsTheTemplate()
    {
        FormFixture& f = NewForm();
        f.Start();
        CDlgView* v = f.View();
        const DialogUnits du(v->font());
        QCOMPARE(v->size(), QSize(du.X(369), du.Y(199)));
        struct Expected {
            const char* name;
            int x, y, w, h;
        };
        const Expected controls[] = {
            {"list1006", 15, 40, 148, 92},  {"list1007", 204, 40, 148, 92}, {"edit1021", 67, 159, 112, 12},
            {"edit1022", 179, 159, 82, 12}, {"edit1023", 261, 159, 20, 12}, {"edit1024", 281, 159, 10, 12},
            {"button1010", 15, 178, 75, 14}, {"button1011", 204, 178, 82, 14}, {"button1012", 301, 178, 50, 14},
            {"button1014", 176, 60, 16, 15}, {"button1013", 176, 87, 16, 15}, {"header1025", 66, 143, 225, 13},
            {"static1027", 168, 130, 31, 8}};
        for (const Expected& c : controls) {
            auto* w = v->findChild<QWidget*>(QLatin1String(c.name));
            QVERIFY2(w, c.name);
            QCOMPARE(w->geometry(), du.Rect(c.x, c.y, c.w, c.h));
        }
        QCOMPARE(v->findChild<QWidget*>("combo1003")->geometry().topLeft(), QPoint(du.X(15), du.Y(20)));
        QCOMPARE(v->findChild<QWidget*>("combo1004")->geometry().topLeft(), QPoint(du.X(204), du.Y(20)));
        QVERIFY(ExitButton(v)->isDefault());
        // The frame fits the form exactly at its least size.
        QCOMPARE(f.Frame()->centralWidget(), v);
        QCOMPARE(f.Frame()->size(), f.Frame()->minimumSize());
        QCOMPARE(f.Frame()->windowTitle(), QStringLiteral("Telephone Directory"));
    }

    void tabOrderIsTheReadingOrder()
    {
        FormFixture& f = NewForm();
        f.Start();
        CDlgView* v = f.View();
        QList<QWidget*> chain;
        QWidget* w = DirectoryCombo(v);
        for (int i = 0; i < 200 && (i == 0 || w != DirectoryCombo(v)); ++i) {
            chain << w;
            w = w->nextInFocusChain();
        }
        const QList<QWidget*> expected = {DirectoryCombo(v), PhoneList(v), ToAddressBookButton(v), ToPhoneButton(v),
                                          FolderCombo(v), AbList(v), PreviewName(v), PreviewNumber(v),
                                          PreviewIndex(v), PreviewStatus(v), PreviewCombo(v),
                                          SaveToPhoneButton(v), SaveAddressBookButton(v), ExitButton(v)};
        // Other widgets (scroll bars, headers) may sit between two controls: only the order counts.
        int at = 0;
        for (QWidget* c : expected) {
            const int found = chain.indexOf(c, at);
            QVERIFY2(found >= at, qPrintable(c->objectName()));
            at = found;
        }
    }

    void listsAreReportViewsWithFourColumns()
    {
        FormFixture& f = NewForm();
        f.Start();
        for (QTreeWidget* list : {PhoneList(f.View()), AbList(f.View())}) {
            QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
            QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
            QVERIFY(list->allColumnsShowFocus());
            QCOMPARE(list->headerItem()->text(0), QStringLiteral("Name"));
            QCOMPARE(list->headerItem()->text(1), QStringLiteral("Tel.-No."));
            QCOMPARE(list->headerItem()->text(2), QStringLiteral("No."));
            QCOMPARE(list->headerItem()->text(3), QStringLiteral("!"));
            const DialogUnits du(f.View()->font());
            QCOMPARE(list->columnWidth(0), du.X(56));
            QCOMPARE(list->columnWidth(3), du.X(22));
        }
        QVERIFY(!ToAddressBookButton(f.View())->isEnabled());
        QVERIFY(!ToPhoneButton(f.View())->isEnabled());
    }

    void everyControlHasAnAccessibleName()
    {
        FormFixture& f = NewForm();
        f.Start();
        CDlgView* v = f.View();
        QCOMPARE(PhoneList(v)->accessibleName(), QStringLiteral("Telephone"));
        QCOMPARE(AbList(v)->accessibleName(), QStringLiteral("Personal Address Book"));
        QCOMPARE(PreviewName(v)->accessibleName(), QStringLiteral("Name"));
        QCOMPARE(PreviewNumber(v)->accessibleName(), QStringLiteral("Tel.-No."));
        QCOMPARE(PreviewIndex(v)->accessibleName(), QStringLiteral("No."));
        QCOMPARE(PreviewStatus(v)->accessibleName(), QStringLiteral("!"));
        for (QWidget* w : v->findChildren<QWidget*>()) {
            if (!w->objectName().contains(QRegularExpression(QStringLiteral("^(combo|list|edit|button|header)"))))
                continue;
            const auto* button = qobject_cast<QPushButton*>(w);
            const bool named = !w->accessibleName().isEmpty() || (button && !button->text().isEmpty());
            QVERIFY2(named, qPrintable(w->objectName()));
        }
    }

    void previewRowFollowsTheSetting_data()
    {
        QTest::addColumn<QVariant>("showCorrection");
        QTest::addColumn<bool>("visible");
        QTest::newRow("missing") << QVariant() << true;
        QTest::newRow("0 hides") << QVariant(0) << false;
        QTest::newRow("1 shows") << QVariant(1) << true;
    }
    void previewRowFollowsTheSetting()
    {
        QFETCH(QVariant, showCorrection);
        QFETCH(bool, visible);
        FormFixture& f = NewForm();
        if (showCorrection.isValid()) f.SetSetting(QStringLiteral("ShowCorrection"), showCorrection);
        f.Start();
        QVERIFY(f.WaitUntilIdle()); // the row stays as the setting says after the first read, too
        CDlgView* v = f.View();
        for (QWidget* w : std::initializer_list<QWidget*>{PreviewCombo(v), PreviewName(v), PreviewNumber(v), PreviewIndex(v),
                                                          PreviewStatus(v), PreviewLabel(v)})
            QCOMPARE(w->isVisible(), visible);
        QCOMPARE(v->Store().HasFlag(VF_SHOW_CORRECTION), visible);
    }

    void phoneListStaysEmptyBeforeAnyRead()
    {
        FormFixture& f = NewForm();
        f.Start();
        CDlgView* v = f.View();
        v->Store().m_dirTables[0].m_nCount = 1;
        v->Store().m_dirTables[0][0] = TestEntry("Anna", "123", 1, " ");
        v->Store().m_nCurDir = 0;
        v->Store().m_bPhoneDataRead = 0;
        v->Lists().FillPhoneList(true);
        QCOMPARE(PhoneList(v)->topLevelItemCount(), 0);
        v->Store().m_bPhoneDataRead = 1;
        v->Lists().FillPhoneList(true);
        QCOMPARE(PhoneList(v)->topLevelItemCount(), 1);
        QCOMPARE(Row(PhoneList(v), 0), (QStringList{"Anna", "123", "1", " "}));
        QCOMPARE(CFormLists::EntryOfItem(PhoneList(v)->topLevelItem(0)), &v->Store().m_dirTables[0][0]);
    }

    void abListRepairsIndexAndStatus()
    {
        FormFixture& f = NewForm();
        f.Start();
        CDlgView* v = f.View();
        DirTable& t = v->Store().m_abTable;
        t.m_nCount = 4;
        t[0] = TestEntry("Bert", "1", 1500, " ");
        t[1] = TestEntry("Anna", "2", 1, "");
        t[2] = TestEntry("Carl", "3", 1000, "x");
        t[3] = TestEntry("Dora", "4", -3, "!");
        t[0].m_nState = ENTRY_CHANGED;
        v->Lists().FillAbList(false);
        QCOMPARE(t[0].m_nIndex, 2);    // 1500 is no telephone record: the lowest free index, kept in the entry
        QCOMPARE(t[2].m_nIndex, 1000); // 1000 is a valid index
        QCOMPARE(t[3].m_nIndex, 3);    // negative: repaired the same way
        QCOMPARE(t[1].m_strStatus, std::string(" "));
        QCOMPARE(t[2].m_strStatus, std::string(" "));
        QCOMPARE(t[3].m_strStatus, std::string("!"));
        QCOMPARE(t[0].m_nState, int(ENTRY_CHANGED)); // no reset asked for
        // Sorted by name, the column remembered at start-up.
        QCOMPARE(Row(AbList(v), 0), (QStringList{"Anna", "2", "1", " "}));
        QCOMPARE(Row(AbList(v), 1), (QStringList{"Bert", "1", "2", " "}));
        v->Lists().FillAbList(true);
        QCOMPARE(t[0].m_nState, int(ENTRY_UNCHANGED));
    }

    void fillingClearsThePreviewRow()
    {
        FormFixture& f = NewForm();
        f.Start();
        CDlgView* v = f.View();
        v->Store().m_previewEntries[0] = TestEntry("Anna", "1", 1, " ");
        PreviewCombo(v)->AddCopy(QStringLiteral("Anna"), &v->Store().m_previewEntries[0]);
        PreviewCombo(v)->setEnabled(true);
        PreviewName(v)->setText(QStringLiteral("Anna"));
        v->Store().m_nActiveList = LIST_AB;
        ToPhoneButton(v)->setEnabled(true);
        v->Lists().FillAbList(true);
        QCOMPARE(v->Store().m_nActiveList, int(LIST_NONE));
        QCOMPARE(PreviewCombo(v)->count(), 0);
        QVERIFY(!PreviewCombo(v)->isEnabled());
        QVERIFY(PreviewName(v)->text().isEmpty());
        QVERIFY(!ToPhoneButton(v)->isEnabled());
    }

    void folderComboListsTheFolders()
    {
        FormFixture& f = NewForm();
        f.Start();
        CDlgView* v = f.View();
        QCOMPARE(FolderCombo(v)->count(), 1);
        QCOMPARE(FolderCombo(v)->currentText(), QStringLiteral("Personal Address Book"));
        QCOMPARE(FolderCombo(v)->Folder(0), &v->Store().m_folders[0]);
        v->Store().m_nFolderCount = 3;
        v->Store().m_folders[1].m_strName = "A";
        v->Store().m_folders[2].m_strName = "A1";
        v->Host().FillFolderCombo();
        QCOMPARE(FolderCombo(v)->count(), 3);
        QCOMPARE(FolderCombo(v)->itemText(2), QStringLiteral("A1"));
        QCOMPARE(FolderCombo(v)->currentIndex(), 0);
    }

    void previewFocusSetsTheTransferButtons()
    {
        FormFixture& f = NewForm();
        f.Start();
        CDlgView* v = f.View();
        v->Store().m_nActiveList = LIST_AB;
        v->Store().m_nCurDir = 2; // last dial: read-only
        v->Store().m_dirTables[2].m_bReadOnly = 1;
        ToAddressBookButton(v)->setEnabled(true);
        PreviewCombo(v)->setEnabled(true);
        PreviewCombo(v)->setFocus();
        QTRY_VERIFY(PreviewCombo(v)->hasFocus());
        QVERIFY(!ToPhoneButton(v)->isEnabled());
        QVERIFY(!ToAddressBookButton(v)->isEnabled());
        PreviewName(v)->setFocus();
        v->Store().m_nActiveList = LIST_PHONE;
        PreviewCombo(v)->setFocus();
        QTRY_VERIFY(ToAddressBookButton(v)->isEnabled());
        QVERIFY(!ToPhoneButton(v)->isEnabled());
    }
};

QTEST_MAIN(TestForm)
#include "TestForm.moc"
