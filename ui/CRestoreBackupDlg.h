#pragma once
// "Restore telephone backup": the backups the program kept of the telephone's directories, newest first, the
// records of the one selected, and "Restore", which asks first and then hands the backup to the form. A file
// that cannot be used is listed with what is wrong with it and cannot be restored.
#include "phone/TelephoneBackups.h"

#include <QDialog>

#include <functional>

class IQuestions;
class QLabel;
class QPushButton;
class QTreeWidget;

class CRestoreBackupDlg : public QDialog {
    Q_OBJECT
public:
    // restore puts the backup at the path back on the telephone; false when nothing started (already said why).
    using Restorer = std::function<bool(const QString& backupPath)>;

    CRestoreBackupDlg(QWidget* parent, IQuestions& questions, const TelephoneBackups& backups, Restorer restore);

    // The directory's name as the directory combo box shows it; the file's own name for one it does not name.
    static QString DirectoryText(const TelephoneBackup& backup);
    // The time taken, in local time.
    static QString TakenText(const TelephoneBackup& backup);

private:
    void CreateControls();
    void ShowBackups();
    void OnBackupChosen();
    void OnRestore();
    const TelephoneBackup* ChosenBackup() const;

    IQuestions& m_questions;
    Restorer m_restore;
    QList<TelephoneBackup> m_backups;
    QTreeWidget* m_lcBackups = nullptr;
    QTreeWidget* m_lcRecords = nullptr;
    QLabel* m_stProblem = nullptr;
    QPushButton* m_btnRestore = nullptr;
    QPushButton* m_btnClose = nullptr;
};
