// Draws the main window on the offscreen platform, with the SIM directory read from the phone emulator and a few
// address-book entries, and saves it as a PNG: the pictures in the README and the catalogue entry.
//   telephone-directory-screenshot [--dark] [output.png]
// --dark draws it with the Fusion style under a dark palette, as a dark desktop theme gives it.
#include "DarkPalette.h"
#include "FormControls.h"
#include "FormFixture.h"
#include "PabSeeder.h"

#include "app/CMainFrame.h"
#include "ui/CDlgView.h"
#include "ui/CFormLists.h"

#include <QApplication>
#include <QPalette>
#include <QPixmap>
#include <QStyleFactory>
#include <QTreeWidget>

#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool dark = args.removeAll(QStringLiteral("--dark")) > 0;
    const QString output = !args.isEmpty() ? args.first()
                         : dark           ? QStringLiteral("docs/screenshot-dark.png")
                                          : QStringLiteral("docs/screenshot.png");
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    if (dark) QApplication::setPalette(DarkPalette());
    FormFixture fixture;
    {
        PabSeeder pab(fixture.PabPath().toStdString());
        pab.AddList("Family");
        pab.AddList("Office");
        pab.AddUser("Anna Müller", "+49 30 1234567", std::string("Standard-Status - Index: 1 "));
        pab.AddUser("Dr. Bernd Krämer", "0171 2345678", std::string("VIP-Status - Index: 2 "));
        pab.AddUser("Carla Rossi", "+39 06 555 0101", std::string("Met at fair Standard-Status - Index: 7 "));
        pab.AddUser("Dieter Schulz", "089 445566", std::string("Standard-Status - Index: 4 "));
    }
    fixture.SetSetting(QStringLiteral("Autoload"), 1);
    fixture.SetSetting(QStringLiteral("Phonebooks"), 1);
    fixture.SetPhoneState(EmulatorState::seeded());
    fixture.Start();
    if (!fixture.WaitUntilIdle()) {
        std::fprintf(stderr, "the telephone did not answer\n");
        return 1;
    }
    CDlgView* view = fixture.View();
    view->Lists().SelectPhoneItem(0); // a selected entry shows its copy in the preview row
    const QPixmap picture = fixture.Frame()->grab();
    if (!picture.save(output)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(output));
        return 1;
    }
    std::printf("%s: %dx%d, %d telephone entries, %d address-book entries\n", qPrintable(output), picture.width(),
                picture.height(), PhoneList(view)->topLevelItemCount(), AbList(view)->topLevelItemCount());
    return 0;
}
