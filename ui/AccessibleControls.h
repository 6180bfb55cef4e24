#pragma once
// What assistive tools read of the form beyond the names its controls carry: the combo boxes announce their
// name and not only their value, and the terse column headings ("No.", "!") are described in words.
class QTreeWidget;

namespace AccessibleControls {
// Makes the form's combo boxes (directory, folder, preview) report their accessible name as their name and their
// current text as their value. Once per program; later calls do nothing.
void Install();
// Tooltips and accessible texts of the list's column headings; the headings themselves stay as they are.
void DescribeListColumns(QTreeWidget* list);
}
