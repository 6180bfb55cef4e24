#include "res/StringTable.h"


#include <QStringList>

#include <unordered_map>

namespace {
const std::unordered_map<int, const char*>& table()
{
    static const std::unordered_map<int, const char*> strings = {
        {100, "Error while initializing OLE. Check the version numbers of the OLE-libraries."},
        {128, "VRD2Edit\n\nVRD2Ed\n\n\nVRD2Edit.Document\nVRD2Ed Document"},

        // Address book (error class 2)
        {41000, "Error while initializing MAPI"},
        {41001, "Error during MAPI-Logon"},
        {41002, "Error while opening the address book"},
        {41003, "Error while opening the personal address book"},
        {41004, "Error while opening the PAB-Root-Container"},
        {41005, "GetContentsTable: No entries available."},
        {41006, "Error during query of the PAB-Containers (GetContentsTable)"},
        {41007, "Error during query of the PAB-Containers (HrQueryAllRows)"},
        {41008, "Error while opening the PAB-Containers (OpenProperty)"},
        {41009, "Error while opening the PAB-Containers (SetColumns)"},
        {41010, "Error while opening the PAB-Containers (Restrict)"},
        {41011, "Error while opening the PAB-Containers (GetRowCount)"},
        {41012, "Error while creating the PAB-Entry (CreateEntry)"},
        {41013, "Error while creating the PAB-Entry (SetProps)"},
        {41014, "Error while creating the PAB-Entry: The entry already exists."},
        {41015, "Error while creating the PAB-Entry (SaveChanges)"},
        // Input, telephone read and write
        {41016, "Invalid input. Only '!' or '  ' allowed."},
        {41017, "Communication error with the telephone. \nPossible reasons:\n1) The name already exists\n"
                "2) invalid index chosen (e.g. in Own directory)\n3) non GSM characters used."},
        {41018, "Action aborted."},
        {41019, "An error occurred while reading telephone data: No data."},
        {41020, "Error: This directory can only be read."},
        {41021, "No data for writing - Action aborted."},
        {41022, "The name  '%s'  already exists in the PAB-list - Saving impossible.\nEnter another name ?"},
        {41023, "Incomplete input (input for all fields is required; in the last field \" \" or \"!\").\nComplete your input."},
        {41024, "An error occurred while reading telephone data: Telephone book not available."},
        {41025, "Maximum number of entries exceeded."},
        {41026, "The telephone could not be connected."},
        {41027, "The telephone's directory changed since it was read. Nothing was written."},
        {41028, "The backup does not fit the telephone's directory. Nothing was written."},
        {41029, "The telephone refused a record of the backup."},

        // Remedies shown beside their message in the error report
        {46000, "System error - try restart"}, {46001, "System error - try restart"},
        {46002, "System error - try restart"}, {46003, "System error - try restart"},
        {46004, "System error - try restart"}, {46005, "System error - try restart"},
        {46006, "System error - try restart"}, {46007, "System error - try restart"},
        {46008, "System error - try restart"}, {46009, "System error - try restart"},
        {46010, "System error - try restart"}, {46011, "System error - try restart"},
        {46012, "System error - try restart"}, {46013, "System error - try restart"},
        {46014, "System error - try restart"}, {46015, "System error - try restart"},
        {46016, "Correct your entry"},
        {46017, "1) The name already exists\n2) invalid index chosen (e.g. in Own directory)\n3) non GSM characters used."},
        {46019, "Check connection to telephone."},
        {46020, "Select another telephone directory for writing"},
        {46023, "Correct your entry"},
        {46024, "Select another telephone directory"},
        {46026, "Choose another connection (File menu, Connection...)."},
        {46027, "The list now shows what the telephone holds there. Check the entries named and save again."},
        {46028, "Restore the backup to a telephone whose directory can hold it, or correct the records named."},
        {46029, "Remove the cause (see below) and restore again."},
        {46025, "Before inserting new entries, delete other entries in this directory "},

        {57344, "Telephone Directory"},
        {57345, "Press F1 to get help."},
        {59137, "UF"},
        {59138, "NUM"},
        {59139, "RF"},

        {61206, "Own directory"},
        {61207, "SIM directory"},
        {61208, "Mobile Equipment directory"},
        {61209, "Last dial directory"},
        {61210, "Fix dial directory"},
        {61211, "Missed calls directory"},
        {61212, "Call back directory"},
        {61221, "Personal Address Book"},
        {61231, "Name"},
        {61232, "Tel.-No."},
        {61233, "No."},
        {61234, "!"},
        {61235, "Reading directory..."},
        {61310, "Reading %1..."},
        {61311, "%1 of %2"},
        {61320, "Synchronizing... %1 of %2 cards"},
        {61321, "The personal address book holds unsaved changes.\nSave them before synchronizing?"},
        {61322, "Enter the synchronization server and user in the preferences first."},
        {61323, "The server's certificate is not signed by an authority this computer trusts.\n\nSHA-256 fingerprint:\n%1\n\nTrust this certificate for this server?"},
        {61324, "Synchronization ended: %1"},
        {61325, "Synchronization failed: %1"},
        {61236, "The telephone is busy - Action aborted."},
        {61237, "Action successful"},
        {61238, "Writing directory..."},
        {61239, "Nothing was written: the directory could not be backed up first."},
        {61243, "Writing on personal address book..."},
        {61245, "Standard-Status"},
        {61246, "Index"},
        {61247, "VIP-Status"},
        {61248, "Inserting the folder at the current selection"},
        {61249, "Enter the folder name:"},
        {61250, "Enter another name for saving to the PAB"},
        {61251, "Enter name:"},
        {61253, "Inserting of a new entry in a telephone directory"},
        {61254, "Inserting of a new entry in the personal address book"},
        {61255, "Editing of an existing entry in a telephone directory"},
        {61256, "Editing of an existing entry in the personal address book"},
        {61258, "The directory was edited.\nSave the directory before exiting the program ?"},
        {61259, "The personal address book was edited.\nSave the personal address book before exiting the program ?"},
        {61260, "Korvane\\Telvora PRO"},
        {61261, "The personal address book was edited.\nSave the personal address book before changing the folder ?"},
        {61262, "The directory was edited.\nSave the directory before changing ?"},
        {61272, "Some cards were not imported:\n"},
        {61273, "The vCard file cannot be read.\n"},
        {61274, "The vCard file cannot be written.\n"},
        {61275, "%1 of %2 entries imported. Save the personal address book to keep them."},
        {61276, "%1 entries exported to %2."},
        {61277, "%1 cards of this file are already in the folder (an entry has the same UID).\nUpdate those entries "
                "from the file ?\n(No leaves those cards out.)"},
        {61278, "%1 of %2 entries imported, %3 updated. Save the personal address book to keep them."},
        {61280, "Action successful. %1 names could not be read from the telephone: type them again before saving those entries."},
        {61281, "%1 entries were not written: their names could not be read from the telephone. Type their names again."},
        {61282, "Restore the telephone's %1 from the backup of %2? Its %3 entries replace what the directory holds now "
                "on the telephone; changes not yet saved in that directory are dropped."},
        {61290, "Restored %1 entries of the directory from the backup of %2."},
        {61291, "The directory already holds the backup: nothing was written."},
        {61292, "Index %1 now holds %2 %3, added on the telephone since the directory was read; the list shows it."},
        {61293, "The directory is full: saving again writes %1 over it."},
        {61294, "%1 moved to index %2."},
        {61295, "The telephone did not take record %1 %2."},
        {61296, "Everything the restore had written was put back: the directory holds what it held before."},
        {61297, "Putting the directory back failed too: it is only partly restored. The directory as it was is kept in %1; restore that backup once the cause is removed."},
        {61270, "The telephone directories were edited.\nThe changes are lost when another telephone is connected.\nConnect anyway ?"},
        {61300, "Renaming the distribution list"},
        {61301, "Enter the new name of the distribution list:"},
        {61302, "Delete the distribution list '%1' ?\nIts entries stay in the personal address book."},
        {61264, "diradi.hlp"},
        {61266, "Do you really want to delete this entry ?\n\n"},
        {61267, "Do you really want to delete these %1 entries ?\n\n"},

        // Command prompts: status-bar line, then tooltip
        {32771, "Inserting a new PAB-folder at the current selection\nInserting a new PAB-folder"},
        {32772, "Opening a PAB-folder via dialogbox\nOpening a PAB-folder"},
        {32791, "Adds the cards of a vCard file to the folder of the personal address book shown\nImport vCard"},
        {32792, "Writes the entries of a list to a vCard file\nExport vCard"},
        {32790, "Chooses the serial port of the telephone\nTelephone connection"},
        {32793, "Puts one of the kept backups of a telephone directory back on the telephone\nRestore telephone backup"},
        {32800, "Changes the start-up directories, the preview row, the address-book file and the telephone connection\nPreferences"},
        {32801, "Gives the distribution list shown another name\nRename distribution list"},
        {32802, "Deletes the distribution list shown; its entries stay in the personal address book\nDelete distribution list"},
        {32803, "Synchronizes the personal address book with its CardDAV server\nSynchronize address book"},
        {32774, "Copies the selected entries into the list of the personal address book\nCopy to the PAB´s list"},
        {32775, "Writes the displayed directory to the telephone\nUpload to telephone"},
        {32780, "Copies the selected entries into the telephone directory list\nCopy to the telephone book list"},
        {32781, "Saves the displayed list to the personal address book\nUpload to personal address book"},
        {32785, "Permits editing of the currently selected entry.\nEditing entry"},
        {32786, "Adds a new entry at the current listbox selection\nAdding new entry"},
        {57633, "Permits deletion of the currently selected entries.\nDelete entries"},
        {57634, "Copies the selected area and assigns it to the clipboard.\nCopy"},
        {57635, "Deletes the selected area and assigns it to the clipboard.\nCut"},
        {57637, "Pastes the contents of the clipboard.\nPaste"},
        {57642, "Selects the total list.\nSelect all"},
        {57664, "Displays program information, version number and copyright.\nAbout"},
        {57665, "Leaves the program and asks if the document should be saved.\nExit"},
        {57667, "Lists the help contents.\nHelp contents"},
        {57669, "Shows the help contents.\nHelp"},
        {57670, "Shows the help contents.\nHelp"},
        {57671, "Shows the help contents.\nHelp"},
        {59392, "Shows or hides the toolbar.\nView toolbar"},
        {59393, "Shows or hides the statusbar.\nView statusbar"},
    };
    return strings;
}

QString line(int id, int which)
{
    const QStringList lines = StringTable::LoadQString(id).split(u'\n');
    return which < lines.size() ? lines.at(which) : QString();
}
}

namespace StringTable {
bool Has(int id)
{
    return table().count(id) != 0;
}

QString LoadQString(int id)
{
    auto it = table().find(id);
    return it == table().end() ? QString() : QString::fromUtf8(it->second);
}

std::string LoadString(int id)
{
    return LoadQString(id).toStdString();
}

QString Prompt(int commandId)
{
    return line(commandId, 0);
}

QString Tooltip(int commandId)
{
    return line(commandId, 1);
}
}
