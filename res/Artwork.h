#pragma once
// The program's pictures, drawn in code so that no image file can go missing: the program icon (128), the
// toolbar images (16 x 15), the transfer arrows (143 towards the telephone, 144 towards the address book),
// the folder pictures of the folder combo box (18 x 18, normal and greyed) and the split cursor (139).
#include <QCursor>
#include <QIcon>
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
// The toolbar picture of a command; a null pixmap for a command without one.
QPixmap ToolbarImage(int commandId);
// 143: arrow pointing left (to the telephone); 144: arrow pointing right (to the address book).
QIcon TransferIcon(int iconId);
QPixmap FolderImage(int kind, bool disabled);
QCursor SplitCursor();
}
