#pragma once
// Where a file dialog opens: in the folder the user last chose a file in during this run of the program, else in
// the documents folder (the home folder when the desktop names none), with a suggested file name when the
// dialog saves. A path already typed wins over both. Plain code, so that tests need no real dialog.
#include <QString>

class FileDialogStart {
public:
    // The path the dialog starts on: typed when not empty, else the start folder with suggestedName (when given).
    static QString StartPath(const QString& typed, const QString& suggestedName = {});
    // The folder a dialog opens in when nothing is typed.
    static QString StartFolder();
    // The documents folder, or the home folder when there is none.
    static QString DocumentsFolder();
    // The user chose this file in a dialog: later dialogs of this run start in its folder.
    static void Remember(const QString& chosenPath);
    // Forgets the remembered folder (a new run of the program, a test).
    static void Forget();
    // "<name>.<suffix>" with the characters no file name may hold replaced, e.g. "SIM directory.vcf";
    // fallback when name leaves nothing.
    static QString SuggestedFileName(const QString& name, const QString& suffix, const QString& fallback);
};
