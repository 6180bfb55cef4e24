#pragma once
// The form's controls as a test finds them: by the object names the form gives them, which are the control ids
// of its dialog template. A control that is missing ends the test with its name.
#include "ui/CDirectoryCombo.h"
#include "ui/CFolderCombo.h"
#include "ui/CPreviewCombo.h"
#include "ui/CPreviewHeader.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QWidget>

namespace FormControls {
QWidget* Control(const QWidget* form, const char* objectName);
[[noreturn]] void WrongKind(const char* objectName);

template <typename T>
T* ControlOf(const QWidget* form, const char* objectName)
{
    T* control = dynamic_cast<T*>(Control(form, objectName));
    if (!control) WrongKind(objectName);
    return control;
}
}

inline CDirectoryCombo* DirectoryCombo(const QWidget* form) { return FormControls::ControlOf<CDirectoryCombo>(form, "combo1003"); }
inline CFolderCombo* FolderCombo(const QWidget* form) { return FormControls::ControlOf<CFolderCombo>(form, "combo1004"); }
inline CPreviewCombo* PreviewCombo(const QWidget* form) { return FormControls::ControlOf<CPreviewCombo>(form, "combo1005"); }
inline QTreeWidget* PhoneList(const QWidget* form) { return FormControls::ControlOf<QTreeWidget>(form, "list1006"); }
inline QTreeWidget* AbList(const QWidget* form) { return FormControls::ControlOf<QTreeWidget>(form, "list1007"); }
inline QLineEdit* PreviewName(const QWidget* form) { return FormControls::ControlOf<QLineEdit>(form, "edit1021"); }
inline QLineEdit* PreviewNumber(const QWidget* form) { return FormControls::ControlOf<QLineEdit>(form, "edit1022"); }
inline QLineEdit* PreviewIndex(const QWidget* form) { return FormControls::ControlOf<QLineEdit>(form, "edit1023"); }
inline QLineEdit* PreviewStatus(const QWidget* form) { return FormControls::ControlOf<QLineEdit>(form, "edit1024"); }
inline QPushButton* SaveToPhoneButton(const QWidget* form) { return FormControls::ControlOf<QPushButton>(form, "button1010"); }
inline QPushButton* SaveAddressBookButton(const QWidget* form)
{
    return FormControls::ControlOf<QPushButton>(form, "button1011");
}
inline QPushButton* ExitButton(const QWidget* form) { return FormControls::ControlOf<QPushButton>(form, "button1012"); }
inline QPushButton* ToPhoneButton(const QWidget* form) { return FormControls::ControlOf<QPushButton>(form, "button1013"); }
inline QPushButton* ToAddressBookButton(const QWidget* form)
{
    return FormControls::ControlOf<QPushButton>(form, "button1014");
}
inline CPreviewHeader* PreviewHeader(const QWidget* form) { return FormControls::ControlOf<CPreviewHeader>(form, "header1025"); }
inline QLabel* PreviewLabel(const QWidget* form) { return FormControls::ControlOf<QLabel>(form, "static1027"); }
