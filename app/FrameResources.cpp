#include "app/FrameResources.h"

#include "res/CommandIds.h"
#include "res/StringTable.h"

namespace FrameResources {
const std::vector<Popup>& Menu()
{
    // The Exit item names Strg+E, as it always has; the key that exits is Ctrl+B (Ctrl+E edits an entry).
    static const std::vector<Popup> menu = {
        {QStringLiteral("&File"),
         {{ID_FILE_NEW_FOLDER, QStringLiteral("&New\tStrg+N")},
          {ID_FILE_OPEN_FOLDER, QStringLiteral("&Open...\tStrg+O")},
          {ID_FILE_RENAME_LIST, QStringLiteral("Rena&me Distribution List...")},
          {ID_FILE_DELETE_LIST, QStringLiteral("&Delete Distribution List...")},
          {kSeparator, QString()},
          {ID_FILE_IMPORT_VCARD, QStringLiteral("&Import vCard...")},
          {ID_FILE_EXPORT_VCARD, QStringLiteral("E&xport vCard...")},
          {ID_FILE_SYNC, QStringLiteral("S&ynchronize Address Book")},
          {kSeparator, QString()},
          {ID_FILE_CONNECTION, QStringLiteral("&Connection...")},
          {ID_FILE_RESTORE_BACKUP, QStringLiteral("&Restore telephone backup...")},
          {ID_FILE_PREFERENCES, QStringLiteral("Pre&ferences...")},
          {kSeparator, QString()},
          {ID_APP_EXIT, QStringLiteral("&Exit\tStrg+E")}}},
        {QStringLiteral("&Edit"),
         {{ID_EDIT_CUT, QStringLiteral("&Cut\tCtrl+X")},
          {ID_EDIT_COPY, QStringLiteral("Cop&y\tCtrl+C")},
          {ID_EDIT_PASTE, QStringLiteral("&Paste\tCtrl+V")},
          {kSeparator, QString()},
          {ID_EDIT_SELECT_ALL, QStringLiteral("Select &all\tCtrl+A")},
          {ID_EDIT_ENTRY, QStringLiteral("&Edit Entry...\tCtrl+E")},
          {ID_ADD_ENTRY, QStringLiteral("Add &New Entry...\tCtrl+I")},
          {ID_EDIT_CLEAR, QStringLiteral("Delete selected entries\tDel")}}},
        {QStringLiteral("&View"),
         {{ID_VIEW_TOOLBAR, QStringLiteral("&Toolbar")}, {ID_VIEW_STATUS_BAR, QStringLiteral("&Statusbar")}}},
        {QStringLiteral("&?"),
         {{ID_HELP_FINDER, QStringLiteral("&Help ...")},
          {kSeparator, QString()},
          {ID_APP_ABOUT, QStringLiteral("&About...")}}},
    };
    return menu;
}

const std::vector<int>& Toolbar()
{
    static const std::vector<int> buttons = {
        ID_FILE_NEW_FOLDER, ID_FILE_OPEN_FOLDER, kSeparator,
        ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, kSeparator,
        ID_EDIT_SELECT_ALL, ID_EDIT_ENTRY, ID_ADD_ENTRY, ID_EDIT_CLEAR, kSeparator,
        ID_APP_ABOUT,
    };
    return buttons;
}

const std::vector<Accelerator>& Accelerators()
{
    // The Delete key is left to the lists, which handle it themselves.
    static const std::vector<Accelerator> table = {
        {QKeySequence(Qt::CTRL | Qt::Key_A), ID_EDIT_SELECT_ALL},
        {QKeySequence(Qt::CTRL | Qt::Key_B), ID_APP_EXIT},
        {QKeySequence(Qt::CTRL | Qt::Key_C), ID_EDIT_COPY},
        {QKeySequence(Qt::CTRL | Qt::Key_Insert), ID_EDIT_COPY},
        {QKeySequence(Qt::CTRL | Qt::Key_E), ID_EDIT_ENTRY},
        {QKeySequence(Qt::CTRL | Qt::Key_I), ID_ADD_ENTRY},
        {QKeySequence(Qt::CTRL | Qt::Key_N), ID_FILE_NEW_FOLDER},
        {QKeySequence(Qt::CTRL | Qt::Key_O), ID_FILE_OPEN_FOLDER},
        {QKeySequence(Qt::CTRL | Qt::Key_S), ID_FILE_SAVE},
        {QKeySequence(Qt::CTRL | Qt::Key_V), ID_EDIT_PASTE},
        {QKeySequence(Qt::SHIFT | Qt::Key_Insert), ID_EDIT_PASTE},
        {QKeySequence(Qt::CTRL | Qt::Key_X), ID_EDIT_CUT},
        {QKeySequence(Qt::SHIFT | Qt::Key_Delete), ID_EDIT_CUT},
        {QKeySequence(Qt::Key_F1), ID_HELP},
        {QKeySequence(Qt::SHIFT | Qt::Key_F1), ID_CONTEXT_HELP},
    };
    return table;
}

const std::vector<int>& Indicators()
{
    static const std::vector<int> indicators = {Ids::IDS_INDICATOR_CAPS, Ids::IDS_INDICATOR_NUM,
                                                Ids::IDS_INDICATOR_SCRL};
    return indicators;
}
}
