#pragma once
// Numeric identifiers of the program's commands, carried by every menu item, toolbar button and accelerator.
enum CommandId : int {
    ID_FILE_NEW_FOLDER = 32771,
    ID_FILE_OPEN_FOLDER = 32772,
    ID_FILE_CONNECTION = 32790, // choose the telephone's serial port
    ID_FILE_IMPORT_VCARD = 32791,
    ID_FILE_EXPORT_VCARD = 32792,
    ID_FILE_RESTORE_BACKUP = 32793, // put a kept backup of a directory back on the telephone
    ID_FILE_PREFERENCES = 32800,
    ID_FILE_RENAME_LIST = 32801, // the distribution list shown
    ID_FILE_DELETE_LIST = 32802, // the distribution list shown; its entries stay in the book
    ID_FILE_SYNC = 32803,        // the address book with its CardDAV server, in the background
    ID_COPY_TO_AB = 32774,
    ID_UPLOAD_TO_PHONE = 32775,
    ID_COPY_TO_PHONE = 32780,
    ID_UPLOAD_TO_AB = 32781,
    ID_EDIT_ENTRY = 32785,
    ID_ADD_ENTRY = 32786,
    ID_FILE_SAVE = 57603,  // Ctrl+S: saves what is pending on both sides, as the two save buttons do
    ID_EDIT_CLEAR = 57633, // delete selected entries
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_SELECT_ALL = 57642,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_HELP_FINDER = 57667,
    ID_CONTEXT_HELP = 57669,
    ID_HELP = 57670,
    ID_DEFAULT_HELP = 57671,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
};

