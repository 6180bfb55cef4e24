// Times the two address-book operations whose cost grows with the folder: reading a folder of 1000 entries (every
// entry opened and all its properties read) and saving 1000 new entries (each created in its own transaction),
// on a real address-book file. Prints microseconds per entry beside the targets.
#include "FormControls.h"
#include "FormFixture.h"
#include "PabSeeder.h"

#include "mapi/Mapi.h"
#include "model/EntryTableEditor.h"
#include "pab/AddressBook.h"
#include "pab/AddressBookSession.h"
#include "ui/CDlgView.h"
#include "ui/CFormHost.h"
#include "ui/CFolderCombo.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {
constexpr int kEntries = 1000;
constexpr double kReadTargetUs = 20.0;
constexpr double kSaveTargetUs = 200.0;

void Report(const char* what, qint64 nanoseconds, double targetUs)
{
    const double perEntry = static_cast<double>(nanoseconds) / 1000.0 / kEntries;
    std::printf("%-34s %8.1f ms total %8.2f us/entry  target %6.1f us  ratio %.2f\n", what, nanoseconds / 1e6,
                perEntry, targetUs, perEntry / targetUs);
}
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    FormFixture fixture;
    {
        PabSeeder seeder(fixture.PabPath().toStdString());
        seeder.AddList("Bench");
        for (int i = 0; i < kEntries; ++i)
            seeder.AddUser("Person " + std::to_string(i), "+4917" + std::to_string(1000000 + i),
                           std::string("Standard-Status - Index: ") + std::to_string(i + 1) + " ");
    }
    fixture.Start();
    CDlgView* view = fixture.View();

    QElapsedTimer timer;
    timer.start();
    view->Book().Internals().ReadFolder(view->Book().Internals().Container());
    Report("ReadFolder, 1000 entries", timer.nsecsElapsed(), kReadTargetUs);
    if (view->Store().m_abTable.m_nCount != kEntries) std::printf("unexpected: %d entries read\n", view->Store().m_abTable.m_nCount);

    // Show the empty sub-folder and save 1000 new entries into it.
    FolderCombo(view)->setCurrentIndex(1);
    view->Book().ChangeFolder();
    EntryTableEditor editor(view->Store(), fixture.Questions(), view->Host());
    view->Store().SetFlag(VF_BATCH);
    for (int i = 0; i < kEntries; ++i) {
        DirEntry entry;
        entry.m_strName = "New " + std::to_string(i);
        entry.m_strNumber = "0171" + std::to_string(i);
        entry.m_strStatus = " ";
        entry.m_nIndex = i + 1;
        editor.InsertAbEntry(view->Store().m_abTable.m_nCount, entry);
    }
    view->Store().ClearFlag(VF_BATCH);
    timer.restart();
    view->Book().SaveAddressBook();
    Report("SaveAddressBook, 1000 new entries", timer.nsecsElapsed(), kSaveTargetUs);
    std::printf("(the save includes reading the folder again: %d entries now)\n", view->Store().m_abTable.m_nCount);
    return 0;
}
