// The form's owner-drawn controls on real widgets: dragging the preview column borders, the split cursor near a
// border, the preview combo box's click rule and item height, the folder tree's indentation and the directory list.
#include "FormControls.h"
#include "FormTestCase.h"
#include "ControlShots.h"

#include "model/DirEntry.h"
#include "model/FolderRecord.h"
#include "res/Artwork.h"
#include "ui/CDirectoryCombo.h"
#include "ui/CDlgView.h"
#include "ui/CPreviewRow.h"
#include "ui/CFolderCombo.h"
#include "ui/CFolderListBox.h"
#include "ui/CPreviewCombo.h"
#include "ui/CPreviewHeader.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QtTest>

#include <memory>

using Widths = std::array<int, 4>;
Q_DECLARE_METATYPE(Widths)

namespace {
constexpr int kRowWidth = 200;
const Widths kStartWidths{100, 60, 20, 20}; // borders at 100, 160 and 180

void SendMove(QWidget* widget, int x, Qt::MouseButtons buttons)
{
    const QPointF local(x, widget->height() / 2);
    QMouseEvent move(QEvent::MouseMove, local, widget->mapToGlobal(local), Qt::NoButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

// Press on the border, move while holding the button (which starts the drag), move to x, release.
void DragBorder(CPreviewHeader* header, int from, int to)
{
    QTest::mousePress(header, Qt::LeftButton, {}, QPoint(from, header->height() / 2));
    SendMove(header, from, Qt::LeftButton);
    SendMove(header, to, Qt::LeftButton);
    QTest::mouseRelease(header, Qt::LeftButton, {}, QPoint(to, header->height() / 2));
}

FolderRecord Folder(int kind, int level, const char* name)
{
    FolderRecord record;
    record.m_nKind = kind;
    record.m_nLevel = level;
    record.m_strName = name;
    return record;
}

// How far right of its drawing position the first ink of a text lies in a font (the glyph's left bearing).
int InkOffset(const QFont& font, const QString& text, const QColor& ink, const QColor& background)
{
    QImage image(60, 30, QImage::Format_ARGB32);
    image.fill(background);
    {
        QPainter p(&image);
        p.setFont(font);
        p.setPen(ink);
        p.drawText(QRect(0, 0, 60, 30), Qt::AlignLeft | Qt::AlignTop, text);
    }
    return ControlShots::FirstInkColumn(image, image.rect(), 0, background);
}

// Picture at 9 x (level - 1), text from 9 x level + 9 on: checked on the pixels the list really shows.
void VerifyTreeIndentation(QAbstractItemView* view, const FolderRecord* records, int count)
{
    const QImage shot = view->viewport()->grab().toImage();
    const QColor base = view->palette().color(QPalette::Base);
    const int bearing = InkOffset(view->font(), QStringLiteral("MM"), view->palette().color(QPalette::WindowText), base);
    QVERIFY(bearing >= 0);
    for (int i = 0; i < count; ++i) {
        const QRect row = view->visualRect(view->model()->index(i, 0));
        const int level = records[i].m_nLevel;
        const int pictureLeft = row.left() + 9 * (level - 1);
        QVERIFY2(ControlShots::PictureAt(shot, QPoint(pictureLeft, row.top()),
                                         Artwork::FolderImage(records[i].m_nKind, false), base),
                 qPrintable(QStringLiteral("picture of level %1").arg(level)));
        QVERIFY(ControlShots::FirstInkColumn(shot, row, row.left(), base) >= pictureLeft);
        const int textLeft = ControlShots::FirstInkColumn(shot, row, pictureLeft + Artwork::kFolderImageSize, base);
        QVERIFY2(textLeft == row.left() + 9 * level + 9 + bearing,
                 qPrintable(QStringLiteral("text of level %1 starts at %2").arg(level).arg(textLeft)));
    }
}
}

class TestCustomControls : public FormTestCase {
    Q_OBJECT
    FormFixture* m_form = nullptr;

    CDlgView* View() const { return m_form->View(); }
    CPreviewHeader* Header() const { return PreviewHeader(View()); }

    void ResetHeader()
    {
        View()->Preview().SetPreviewRowWidth(kRowWidth);
        View()->Preview().PreviewColumnWidths() = kStartWidths;
        SendMove(Header(), 50, Qt::NoButton); // away from every border: idle
    }

private slots:
    void initTestCase()
    {
        m_form = &NewSharedForm();
        m_form->Start();
        QVERIFY(View());
        // The start-up telephone read refills the lists and the preview row: let it end before the controls are driven.
        QVERIFY(m_form->WaitUntilIdle());
    }

    void dragMovesBorders_data()
    {
        QTest::addColumn<int>("border");
        QTest::addColumn<int>("x");
        QTest::addColumn<Widths>("expected");
        // Border 0 (name | number) at 100.
        QTest::newRow("name plain move") << 0 << 120 << Widths{120, 40, 20, 20};
        QTest::newRow("name 3 before border 1") << 0 << 157 << Widths{157, 3, 20, 20};
        QTest::newRow("name 2 before border 1 squeezes number") << 0 << 158 << Widths{158, 2, 20, 20};
        QTest::newRow("name squeezes index too") << 0 << 176 << Widths{176, 2, 2, 20};
        QTest::newRow("name then status takes the rest") << 0 << 190 << Widths{190, 2, 2, 6};
        QTest::newRow("name beyond W-6 stops") << 0 << 196 << Widths{194, 2, 2, 2};
        QTest::newRow("name to far left") << 0 << 2 << Widths{2, 158, 20, 20};
        QTest::newRow("name left of 2 ignored") << 0 << 1 << kStartWidths;
        QTest::newRow("name beyond W-2 ignored") << 0 << 199 << kStartWidths;
        // Border 1 (number | index) at 160.
        QTest::newRow("number plain move") << 1 << 150 << Widths{100, 50, 30, 20};
        QTest::newRow("number squeezes index") << 1 << 178 << Widths{100, 78, 2, 20};
        QTest::newRow("number at W-2 leaves status 2") << 1 << 198 << Widths{100, 96, 2, 2};
        QTest::newRow("number onto border 0 pushes it") << 1 << 102 << Widths{98, 2, 80, 20};
        QTest::newRow("number to far left") << 1 << 5 << Widths{2, 2, 176, 20};
        // Border 2 (index | status) at 180.
        QTest::newRow("index plain move") << 2 << 185 << Widths{100, 60, 25, 15};
        QTest::newRow("index at W-2 leaves status 2") << 2 << 198 << Widths{100, 60, 38, 2};
        QTest::newRow("index beyond W-2 ignored") << 2 << 199 << kStartWidths;
        QTest::newRow("index onto border 1") << 2 << 162 << Widths{100, 60, 2, 38};
        QTest::newRow("index squeezes number") << 2 << 150 << Widths{100, 48, 2, 50};
        // Past border 0 the number column keeps its minimum instead of going negative.
        QTest::newRow("index past border 0") << 2 << 90 << Widths{86, 2, 2, 110};
        QTest::newRow("index to far left") << 2 << 4 << Widths{2, 2, 2, 194};
    }

    void dragMovesBorders()
    {
        QFETCH(int, border);
        QFETCH(int, x);
        QFETCH(Widths, expected);
        ResetHeader();
        const int starts[3] = {100, 160, 180};
        DragBorder(Header(), starts[border], x);
        QCOMPARE(View()->Preview().PreviewColumnWidths(), expected);
        for (int w : View()->Preview().PreviewColumnWidths()) QVERIFY(w >= 2);
        QCOMPARE(Header()->DragBorder(), -1); // the release ended the drag
    }

    void releaseEndsTheDrag()
    {
        ResetHeader();
        DragBorder(Header(), 100, 120);
        QCOMPARE(View()->Preview().PreviewColumnWidths(), (Widths{120, 40, 20, 20}));
        // A move reported with the button held but without a new press near a border moves nothing.
        SendMove(Header(), 60, Qt::LeftButton);
        QCOMPARE(View()->Preview().PreviewColumnWidths(), (Widths{120, 40, 20, 20}));
    }

    void splitCursorNearBorders_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<bool>("split");
        QTest::newRow("9 left of border 0") << 91 << true;
        QTest::newRow("10 left of border 0") << 90 << false;
        QTest::newRow("on border 0") << 100 << true;
        QTest::newRow("9 right of border 0") << 109 << true;
        QTest::newRow("10 right of border 0") << 110 << false;
        QTest::newRow("9 left of border 1") << 151 << true;
        QTest::newRow("10 left of border 1") << 150 << false;
        QTest::newRow("9 right of border 2") << 189 << true;
        QTest::newRow("10 right of border 2") << 190 << false;
    }

    void splitCursorNearBorders()
    {
        QFETCH(int, x);
        QFETCH(bool, split);
        ResetHeader();
        SendMove(Header(), x, Qt::NoButton);
        QCOMPARE(Header()->IsOverBorder(), split);
        QCOMPARE(Header()->testAttribute(Qt::WA_SetCursor), split);
        if (split) QCOMPARE(Header()->cursor().shape(), Artwork::SplitCursor().shape());
        QCOMPARE(Header()->DragBorder(), -1); // no button: tracking only
    }

    void previewComboClickLeftOfRowKeepsListShut()
    {
        CPreviewCombo* combo = PreviewCombo(View());
        DirEntry copies[2];
        copies[0].m_strName = "Anna";
        copies[0].m_strNumber = "0171 1";
        copies[0].m_nIndex = 4;
        copies[0].m_strStatus = "!";
        copies[1].m_strName = "Bert";
        copies[1].m_strNumber = "0172 2";
        copies[1].m_nIndex = 7;
        copies[1].m_strStatus = "!";
        combo->clear();
        combo->AddCopy(QStringLiteral("Anna"), &copies[0]);
        combo->AddCopy(QStringLiteral("Bert"), &copies[1]);
        combo->setEnabled(true);
        combo->setVisible(true);
        View()->Preview().PreviewColumnWidths() = kStartWidths;
        View()->Preview().SetPreviewRowWidth(combo->width() - 30);

        QTest::mouseClick(combo, Qt::LeftButton, {}, QPoint(View()->Preview().PreviewRowWidth() - 1, combo->height() / 2));
        QVERIFY(!combo->view()->isVisible());

        QTest::mouseClick(combo, Qt::LeftButton, {}, QPoint(View()->Preview().PreviewRowWidth(), combo->height() / 2));
        QTRY_VERIFY(combo->view()->isVisible());
        for (int i = 0; i < 2; ++i)
            QCOMPARE(combo->view()->visualRect(combo->model()->index(i, 0)).height(), CPreviewCombo::kItemHeight);

        // The open list shows the copy in the four columns, each text 2, 4 and 6 pixels right of its border.
        QAbstractItemView* view = combo->view();
        view->clearSelection();
        view->setCurrentIndex(QModelIndex());
        const QImage shot = view->viewport()->grab().toImage();
        const QColor base = view->palette().color(QPalette::Base);
        const QColor ink = view->palette().color(QPalette::WindowText);
        const QRect row = view->visualRect(combo->model()->index(1, 0));
        const QString texts[4] = {"Bert", "0172 2", "7", "!"};
        const int lefts[4] = {0, 102, 164, 186}; // with the widths 100, 60, 20, 20
        const int searchFrom[4] = {0, 100, 160, 180};
        for (int c = 0; c < 4; ++c) {
            const int expected = row.left() + lefts[c] + InkOffset(view->font(), texts[c], ink, base);
            QCOMPARE(ControlShots::FirstInkColumn(shot, row, row.left() + searchFrom[c], base), expected);
        }
        combo->hidePopup();
        combo->clear(); // the copies live on this stack frame
    }

    void previewComboOffTheFormIgnoresPresses()
    {
        // Without the form there is no preview row to hand the press to, and no width to tell the arrow by.
        CPreviewCombo combo;
        DirEntry copy;
        combo.AddCopy(QStringLiteral("Anna"), &copy);
        combo.resize(200, 22);
        combo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&combo));
        QTest::mouseClick(&combo, Qt::LeftButton, {}, QPoint(195, 11));
        QVERIFY(!combo.view()->isVisible());
    }

    void folderListIndentsLevels()
    {
        const FolderRecord records[3] = {Folder(FOLDER_MAIN, 1, "MM"), Folder(FOLDER_SUB, 2, "MM"),
                                         Folder(FOLDER_SUB, 3, "MM")};
        CFolderListBox list;
        for (const FolderRecord& r : records) list.AddFolder(QString::fromStdString(r.m_strName), &r);
        list.resize(240, 120);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.clearSelection();
        VerifyTreeIndentation(&list, records, 3);
        QVERIFY(list.visualRect(list.model()->index(0, 0)).height() >= Artwork::kFolderImageSize);
    }

    void folderComboOpenListIndentsLevels()
    {
        FolderRecord records[3] = {Folder(FOLDER_MAIN, 1, "MM"), Folder(FOLDER_SUB, 2, "MM"),
                                   Folder(FOLDER_SUB, 3, "MM")};
        QWidget window;
        auto* combo = new CFolderCombo(&window);
        combo->setGeometry(10, 10, 240, 22);
        for (FolderRecord& r : records) combo->AddFolder(QString::fromStdString(r.m_strName), &r);
        window.resize(300, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(combo->Folder(2), &records[2]);
        combo->showPopup();
        QTRY_VERIFY(combo->view()->isVisible());
        QCOMPARE(combo->view(), static_cast<QAbstractItemView*>(combo->FolderList()));
        combo->view()->clearSelection();
        combo->view()->setCurrentIndex(QModelIndex());
        VerifyTreeIndentation(combo->view(), records, 3);
        combo->hidePopup();
    }

    void directoryComboListsSevenDirectories()
    {
        CDirectoryCombo combo;
        const char* names[] = {"SIM directory",          "Mobile Equipment directory", "Last dial directory",
                               "Own directory",          "Fix dial directory",         "Missed calls directory",
                               "Call back directory"};
        QCOMPARE(combo.count(), 7);
        for (int i = 0; i < 7; ++i) QCOMPARE(combo.itemText(i), QString::fromLatin1(names[i]));
        QCOMPARE(combo.currentIndex(), 0);
    }
};

QTEST_MAIN(TestCustomControls)
#include "TestCustomControls.moc"
