#pragma once
// The About box (template 100): program icon, name with version, copyright and OK.
#include <QDialog>

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    static QString VersionText();   // "Telephone Directory Version 1.1.03"
    static QString CopyrightText();
};
