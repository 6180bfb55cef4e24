#pragma once
// The program's pictures, drawn in code so that no image file can go missing: the program icon (128), the
// toolbar pictures (16 x 15), the transfer arrows (143 towards the telephone, 144 towards the address book),
// the folder pictures of the folder combo box (18 x 18, normal and greyed) and the split cursor (139).
#include <QCursor>
#include <QIcon>
#include <QPalette>
#include <QPixmap>

namespace Artwork {
constexpr int kToolbarImageWidth = 16;
constexpr int kToolbarImageHeight = 15;
constexpr int kFolderImageSize = 18;

enum FolderKind {
    FOLDER_MAIN = 1, // a row of books: the address book itself
    FOLDER_SUB = 2,  // a single closed book: a distribution list
};

QIcon ProgramIcon();
// The toolbar picture of a command, a line drawing in the palette's button-text colour, drawn afresh at every
// size and device pixel ratio asked for; a null icon for a command without one. The colours are taken when the
// icon is made: make it again when the palette changes (PaletteIcons).
QIcon ToolbarIcon(int commandId, const QPalette& palette = QPalette());
// 143: arrow pointing left (to the telephone); 144: arrow pointing right (to the address book); same colours.
QIcon TransferIcon(int iconId, const QPalette& palette = QPalette());
QPixmap FolderImage(int kind, bool disabled);
QCursor SplitCursor();
}
