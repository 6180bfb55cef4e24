// The window at 150 % under light and dark palettes with the Fusion style, as a desktop with a dark theme and a
// scaled screen shows it: toolbar pictures drawn at the device pixel ratio and in the palette's text colour, and
// the preview fields and lists with frames that stand out from their background.
#include "DarkPalette.h"
#include "FormControls.h"
#include "FormTestCase.h"

#include "app/CMainFrame.h"
#include "ui/CDlgView.h"
#include "ui/ItemColours.h"

#include <QApplication>
#include <QStyleFactory>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

namespace {
constexpr qreal kScale = 1.5;

QToolBar* ToolBar(const CMainFrame* frame)
{
    return frame->findChild<QToolBar*>(QStringLiteral("ID_59392"));
}

// The icon as the toolbar button draws it, at the button's device pixel ratio.
QPixmap ShownPixmap(const QAction* action, const QToolBar* toolbar, QIcon::Mode mode = QIcon::Normal)
{
    const QWidget* button = toolbar->widgetForAction(const_cast<QAction*>(action));
    return action->icon().pixmap(toolbar->iconSize(), button->devicePixelRatioF(), mode);
}

// The mean lightness (0..255) of a picture's inked pixels; -1 for a blank picture.
int InkLightness(const QPixmap& pixmap)
{
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    long sum = 0, count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) >= 192) sum += QColor(image.pixel(x, y)).lightness(), ++count;
    return count ? static_cast<int>(sum / count) : -1;
}

// The best contrast, against the field's background, of the pixels on one edge of a widget's picture.
double EdgeContrast(const QImage& shot, const QColor& base, bool vertical, int at)
{
    double best = 1.0;
    const int length = vertical ? shot.height() : shot.width();
    for (int i = length / 4; i < length * 3 / 4; ++i) {
        const QColor pixel = vertical ? shot.pixelColor(at, i) : shot.pixelColor(i, at);
        best = std::max(best, ItemColours::Contrast(pixel, base));
    }
    return best;
}

void VerifyFramed(QWidget* field, const QColor& base)
{
    const QImage shot = field->grab().toImage();
    const char* name = qPrintable(field->objectName());
    // Every side: some pixel of its outermost line must stand out from the field's background.
    QVERIFY2(EdgeContrast(shot, base, true, 0) >= 1.8, name);
    QVERIFY2(EdgeContrast(shot, base, true, shot.width() - 1) >= 1.8, name);
    QVERIFY2(EdgeContrast(shot, base, false, 0) >= 1.8, name);
    QVERIFY2(EdgeContrast(shot, base, false, shot.height() - 1) >= 1.8, name);
}
}

class TestThemes : public FormTestCase {
    Q_OBJECT
private slots:
    void initTestCase();
    void toolbarPicturesAreDrawnAtTheDevicePixelRatio();
    void darkPaletteKeepsPicturesVisibleAndFramesApart();
    void selectedTextStaysReadable();

protected:
    void AfterEachTest() override { QApplication::setPalette(m_lightPalette); }

private:
    FormFixture* m_form = nullptr;
    QPalette m_lightPalette;
};

void TestThemes::initTestCase()
{
    m_lightPalette = QApplication::palette();
    m_form = &NewSharedForm();
    m_form->WithoutPhone();
    m_form->Start();
    QCOMPARE(m_form->Frame()->devicePixelRatioF(), kScale);
}

void TestThemes::toolbarPicturesAreDrawnAtTheDevicePixelRatio()
{
    const QToolBar* toolbar = ToolBar(m_form->Frame());
    QVERIFY(toolbar);
    const QSize device(qRound(toolbar->iconSize().width() * kScale), qRound(toolbar->iconSize().height() * kScale));
    int pictures = 0;
    for (const QAction* action : toolbar->actions()) {
        if (action->isSeparator() || action->icon().isNull()) continue;
        // Drawn for the device pixels, not a 16 x 15 picture scaled up.
        const QPixmap shown = ShownPixmap(action, toolbar);
        QCOMPARE(shown.size(), device);
        QVERIFY(qAbs(shown.devicePixelRatio() - kScale) < 0.05);
        QVERIFY(InkLightness(shown) >= 0);
        ++pictures;
    }
    QCOMPARE(pictures, 10);
    const QPushButton* toPhone = ToPhoneButton(m_form->View());
    QCOMPARE(toPhone->icon().pixmap(toPhone->iconSize(), kScale).size(), toPhone->iconSize() * kScale);
}

void TestThemes::darkPaletteKeepsPicturesVisibleAndFramesApart()
{
    CMainFrame* frame = m_form->Frame();
    const QToolBar* toolbar = ToolBar(frame);
    const QAction* about = frame->findChild<QAction*>(QStringLiteral("ID_57664"));
    QVERIFY(about);
    QVERIFY(InkLightness(ShownPixmap(about, toolbar)) < 100); // dark ink on the light toolbar
    // The lists keep all four edges at 150 %.
    VerifyFramed(PhoneList(m_form->View()), m_lightPalette.color(QPalette::Base));
    VerifyFramed(AbList(m_form->View()), m_lightPalette.color(QPalette::Base));

    QApplication::setPalette(DarkPalette());
    // The pictures are drawn again in the dark palette's light text, the disabled ones in its greyed text. The
    // palette reaches the widgets through the window system's event queue.
    QTRY_VERIFY(InkLightness(ShownPixmap(about, toolbar)) > 200);
    QVERIFY(qAbs(InkLightness(ShownPixmap(about, toolbar, QIcon::Disabled)) - 0x80) < 16);
    const QPushButton* toBook = ToAddressBookButton(m_form->View());
    QVERIFY(InkLightness(toBook->icon().pixmap(toBook->iconSize(), kScale)) > 200);

    // The four preview fields stand edge to edge: each keeps a frame that stands out from its background.
    const QColor base = DarkPalette().color(QPalette::Base);
    for (QLineEdit* field : {PreviewName(m_form->View()), PreviewNumber(m_form->View()),
                             PreviewIndex(m_form->View()), PreviewStatus(m_form->View())}) {
        QVERIFY(field->hasFrame());
        VerifyFramed(field, base);
    }
    VerifyFramed(PhoneList(m_form->View()), base);

    // And back: the light palette gives dark pictures again.
    QApplication::setPalette(m_lightPalette);
    QTRY_VERIFY(InkLightness(ShownPixmap(about, toolbar)) < 100);
}

void TestThemes::selectedTextStaysReadable()
{
    // The inverted window text stays where it reads: white on the usual blue, black on a dark theme's light blue.
    QPalette light;
    light.setColor(QPalette::WindowText, Qt::black);
    light.setColor(QPalette::Highlight, QColor(0x30, 0x8c, 0xc6));
    QCOMPARE(ItemColours::SelectedText(light), QColor(Qt::white));
    QCOMPARE(ItemColours::SelectedText(DarkPalette()), QColor(0x0f, 0x0f, 0x0f));
    // A pale highlight would leave inverted black text white on near-white: the highlighted text takes over.
    light.setColor(QPalette::Highlight, QColor(0xcc, 0xe8, 0xff));
    light.setColor(QPalette::HighlightedText, Qt::black);
    QCOMPARE(ItemColours::SelectedText(light), QColor(Qt::black));
}

int main(int argc, char** argv)
{
    // The scale and the style are the application's, fixed before it starts.
    qputenv("QT_SCALE_FACTOR", QByteArray::number(kScale));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication app(argc, argv);
    TestThemes test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestThemes.moc"
