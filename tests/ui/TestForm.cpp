// The form on real widgets: its layout from the dialog template, what it shows at start-up, how the lists are
// filled from the tables, and the names assistive tools read.
#include "FormFixture.h"

#include "app/CMainFrame.h"
#include "ui/CDlgView.h"
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

class TestForm : public QObject {
    Q_OBJECT
private:
    static DirEntry Entry(const char* name, const char* number, int index, const char* status)
    {
        DirEntry e;
        e.m_strName = name;
        e.m_strNumber = number;
        e.m_nIndex = index;
        e.m_strStatus = status;
        return e;
    }
    static QStringList Row(QTreeWidget* list, int row)
    {
        QStringList texts;
        for (int c = 0; c < 4; ++c) texts << list->topLevelItem(row)->text(c);
        return texts;
    }

private slots:
    void layoutFollowsTheTemplate()
    {
        FormFixture f;
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
        QVERIFY(v->m_btnExit->isDefault());
        // The frame fits the form exactly and cannot be resized.
        QCOMPARE(f.Frame()->centralWidget(), v);
        QCOMPARE(f.Frame()->minimumSize(), f.Frame()->maximumSize());
        QCOMPARE(f.Frame()->windowTitle(), QStringLiteral("Telephone Directory"));
    }

    void tabOrderIsTheTemplateOrder()
    {
        FormFixture f;
        f.Start();
        CDlgView* v = f.View();
        QList<QWidget*> chain;
        QWidget* w = v->m_cbDirectory;
        for (int i = 0; i < 200 && (i == 0 || w != v->m_cbDirectory); ++i) {
            chain << w;
            w = w->nextInFocusChain();
        }
        const QList<QWidget*> expected = {v->m_cbDirectory, v->m_lcPhone, v->m_cbFolder, v->m_lcAddressBook,
                                          v->m_cbPreview, v->m_edNumber, v->m_edIndex, v->m_edStatus,
                                          v->m_btnSaveToPhone, v->m_btnSaveAddressBook, v->m_btnExit,
                                          v->m_btnToAddressBook, v->m_btnToPhone};
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
        FormFixture f;
        f.Start();
        for (QTreeWidget* list : {f.View()->m_lcPhone, f.View()->m_lcAddressBook}) {
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
        QVERIFY(!f.View()->m_btnToAddressBook->isEnabled());
        QVERIFY(!f.View()->m_btnToPhone->isEnabled());
    }

    void everyControlHasAnAccessibleName()
    {
        FormFixture f;
        f.Start();
        CDlgView* v = f.View();
        QCOMPARE(v->m_lcPhone->accessibleName(), QStringLiteral("Telephone"));
        QCOMPARE(v->m_lcAddressBook->accessibleName(), QStringLiteral("Personal Address Book"));
        QCOMPARE(v->m_edName->accessibleName(), QStringLiteral("Name"));
        QCOMPARE(v->m_edNumber->accessibleName(), QStringLiteral("Tel.-No."));
        QCOMPARE(v->m_edIndex->accessibleName(), QStringLiteral("No."));
        QCOMPARE(v->m_edStatus->accessibleName(), QStringLiteral("!"));
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
        FormFixture f;
        if (showCorrection.isValid()) f.SetSetting(QStringLiteral("ShowCorrection"), showCorrection);
        f.Start();
        QVERIFY(f.WaitUntilIdle()); // the row stays as the setting says after the first read, too
        CDlgView* v = f.View();
        for (QWidget* w : std::initializer_list<QWidget*>{v->m_cbPreview, v->m_edName, v->m_edNumber, v->m_edIndex,
                                                          v->m_edStatus, v->m_stPreview})
            QCOMPARE(w->isVisible(), visible);
        QCOMPARE(v->HasFlag(VF_SHOW_CORRECTION), visible);
    }

    void phoneListStaysEmptyBeforeAnyRead()
    {
        FormFixture f;
        f.Start();
        CDlgView* v = f.View();
        v->m_dirTables[0].m_nCount = 1;
        v->m_dirTables[0][0] = Entry("Anna", "123", 1, " ");
        v->m_nCurDir = 0;
        v->m_bPhoneDataRead = 0;
        v->FillPhoneList(true);
        QCOMPARE(v->m_lcPhone->topLevelItemCount(), 0);
        v->m_bPhoneDataRead = 1;
        v->FillPhoneList(true);
        QCOMPARE(v->m_lcPhone->topLevelItemCount(), 1);
        QCOMPARE(Row(v->m_lcPhone, 0), (QStringList{"Anna", "123", "1", " "}));
        QCOMPARE(CDlgView::EntryOfItem(v->m_lcPhone->topLevelItem(0)), &v->m_dirTables[0][0]);
    }

    void abListRepairsIndexAndStatus()
    {
        FormFixture f;
        f.Start();
        CDlgView* v = f.View();
        DirTable& t = v->m_abTable;
        t.m_nCount = 4;
        t[0] = Entry("Bert", "1", 1500, " ");
        t[1] = Entry("Anna", "2", 1, "");
        t[2] = Entry("Carl", "3", 1000, "x");
        t[3] = Entry("Dora", "4", -3, "!");
        t[0].m_nState = ENTRY_CHANGED;
        v->FillAbList(false);
        QCOMPARE(t[0].m_nIndex, 2);    // 1500 is no telephone record: the lowest free index, kept in the entry
        QCOMPARE(t[2].m_nIndex, 1000); // 1000 is a valid index
        QCOMPARE(t[3].m_nIndex, 3);    // negative: repaired the same way
        QCOMPARE(t[1].m_strStatus, std::string(" "));
        QCOMPARE(t[2].m_strStatus, std::string(" "));
        QCOMPARE(t[3].m_strStatus, std::string("!"));
        QCOMPARE(t[0].m_nState, int(ENTRY_CHANGED)); // no reset asked for
        // Sorted by name, the column remembered at start-up.
        QCOMPARE(Row(v->m_lcAddressBook, 0), (QStringList{"Anna", "2", "1", " "}));
        QCOMPARE(Row(v->m_lcAddressBook, 1), (QStringList{"Bert", "1", "2", " "}));
        v->FillAbList(true);
        QCOMPARE(t[0].m_nState, int(ENTRY_UNCHANGED));
    }

    void fillingClearsThePreviewRow()
    {
        FormFixture f;
        f.Start();
        CDlgView* v = f.View();
        v->m_previewEntries[0] = Entry("Anna", "1", 1, " ");
        v->m_cbPreview->AddCopy(QStringLiteral("Anna"), &v->m_previewEntries[0]);
        v->m_cbPreview->setEnabled(true);
        v->m_edName->setText(QStringLiteral("Anna"));
        v->m_nActiveList = LIST_AB;
        v->m_btnToPhone->setEnabled(true);
        v->FillAbList(true);
        QCOMPARE(v->m_nActiveList, int(LIST_NONE));
        QCOMPARE(v->m_cbPreview->count(), 0);
        QVERIFY(!v->m_cbPreview->isEnabled());
        QVERIFY(v->m_edName->text().isEmpty());
        QVERIFY(!v->m_btnToPhone->isEnabled());
    }

    void folderComboListsTheFolders()
    {
        FormFixture f;
        f.Start();
        CDlgView* v = f.View();
        QCOMPARE(v->m_cbFolder->count(), 1);
        QCOMPARE(v->m_cbFolder->currentText(), QStringLiteral("Personal Address Book"));
        QCOMPARE(v->m_cbFolder->Folder(0), &v->m_folders[0]);
        v->m_nFolderCount = 3;
        v->m_folders[1].m_strName = "A";
        v->m_folders[2].m_strName = "A1";
        v->FillFolderCombo();
        QCOMPARE(v->m_cbFolder->count(), 3);
        QCOMPARE(v->m_cbFolder->itemText(2), QStringLiteral("A1"));
        QCOMPARE(v->m_cbFolder->currentIndex(), 0);
    }

    void previewFocusSetsTheTransferButtons()
    {
        FormFixture f;
        f.Start();
        CDlgView* v = f.View();
        v->m_nActiveList = LIST_AB;
        v->m_nCurDir = 2; // last dial: read-only
        v->m_dirTables[2].m_bReadOnly = 1;
        v->m_btnToAddressBook->setEnabled(true);
        v->m_cbPreview->setEnabled(true);
        v->m_cbPreview->setFocus();
        QTRY_VERIFY(v->m_cbPreview->hasFocus());
        QVERIFY(!v->m_btnToPhone->isEnabled());
        QVERIFY(!v->m_btnToAddressBook->isEnabled());
        v->m_edName->setFocus();
        v->m_nActiveList = LIST_PHONE;
        v->m_cbPreview->setFocus();
        QTRY_VERIFY(v->m_btnToAddressBook->isEnabled());
        QVERIFY(!v->m_btnToPhone->isEnabled());
    }
};

QTEST_MAIN(TestForm)
#include "TestForm.moc"
