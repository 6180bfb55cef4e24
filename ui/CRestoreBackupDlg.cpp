#include "ui/CRestoreBackupDlg.h"

#include "model/Directories.h"
#include "model/Questions.h"
#include "res/StringTable.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
// Each row of the backup list keeps its place in m_backups.
constexpr int kBackupRole = Qt::UserRole;

QTreeWidget* MakeList(QWidget* parent, const char* objectName, const QString& accessibleName, const QStringList& columns)
{
    auto* list = new QTreeWidget(parent);
    list->setObjectName(QString::fromLatin1(objectName));
    list->setAccessibleName(accessibleName);
    list->setHeaderLabels(columns);
    list->setRootIsDecorated(false);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return list;
}

bool IsWritable(int directory)
{
    return directory >= 0 && directory < kDirectoryCount && g_apszWriteCodes[directory][0] != '\0';
}
}

CRestoreBackupDlg::CRestoreBackupDlg(QWidget* parent, IQuestions& questions, const TelephoneBackups& backups,
                                     Restorer restore)
    : QDialog(parent), m_questions(questions), m_restore(std::move(restore)), m_backups(backups.List())
{
    setWindowTitle(QStringLiteral("Restore telephone backup"));
    CreateControls();
    connect(m_lcBackups, &QTreeWidget::itemSelectionChanged, this, &CRestoreBackupDlg::OnBackupChosen);
    connect(m_btnRestore, &QPushButton::clicked, this, &CRestoreBackupDlg::OnRestore);
    connect(m_btnClose, &QPushButton::clicked, this, &QDialog::reject);
    ShowBackups();
}

void CRestoreBackupDlg::CreateControls()
{
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QStringLiteral("&Backups of the telephone's directories, newest first:"), this);
    layout->addWidget(intro);
    m_lcBackups = MakeList(this, "backups", QStringLiteral("Backups"),
                           {QStringLiteral("Directory"), QStringLiteral("Taken"), QStringLiteral("Entries")});
    m_lcBackups->setMinimumSize(420, 140);
    intro->setBuddy(m_lcBackups);
    layout->addWidget(m_lcBackups);

    auto* recordsLabel = new QLabel(QStringLiteral("Entries of the &selected backup:"), this);
    layout->addWidget(recordsLabel);
    m_lcRecords = MakeList(this, "records", QStringLiteral("Entries of the selected backup"),
                           {StringTable::LoadQString(Ids::IDS_COL_INDEX), StringTable::LoadQString(Ids::IDS_COL_NAME),
                            StringTable::LoadQString(Ids::IDS_COL_NUMBER), StringTable::LoadQString(Ids::IDS_COL_STATUS)});
    m_lcRecords->setMinimumSize(420, 180);
    recordsLabel->setBuddy(m_lcRecords);
    layout->addWidget(m_lcRecords);

    m_stProblem = new QLabel(this);
    m_stProblem->setObjectName(QStringLiteral("problem"));
    m_stProblem->setAccessibleName(QStringLiteral("Problem with the backup"));
    m_stProblem->setWordWrap(true);
    m_stProblem->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_stProblem);

    auto* buttons = new QDialogButtonBox(this);
    m_btnRestore = buttons->addButton(QStringLiteral("&Restore"), QDialogButtonBox::ActionRole);
    m_btnRestore->setObjectName(QStringLiteral("restore"));
    m_btnRestore->setAccessibleName(QStringLiteral("Restore"));
    m_btnClose = buttons->addButton(QDialogButtonBox::Close);
    m_btnClose->setObjectName(QStringLiteral("close"));
    m_btnClose->setAccessibleName(QStringLiteral("Close"));
    // Return never restores by accident: the restore replaces a whole directory on the telephone.
    m_btnRestore->setAutoDefault(false);
    m_btnClose->setAutoDefault(false);
    layout->addWidget(buttons);
}

QString CRestoreBackupDlg::DirectoryText(const TelephoneBackup& backup)
{
    if (backup.directory >= 0 && backup.directory < kDirectoryCount)
        return StringTable::LoadQString(g_anDirectoryNameIds[backup.directory]);
    return QFileInfo(backup.path).fileName();
}

QString CRestoreBackupDlg::TakenText(const TelephoneBackup& backup)
{
    return backup.taken.isValid() ? backup.taken.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QString();
}

void CRestoreBackupDlg::ShowBackups()
{
    for (int i = 0; i < m_backups.size(); ++i) {
        const TelephoneBackup& backup = m_backups[i];
        const QString entries = backup.error.isEmpty() ? QString::number(backup.entryCount) : QStringLiteral("damaged");
        auto* row = new QTreeWidgetItem(m_lcBackups, {DirectoryText(backup), TakenText(backup), entries});
        row->setData(0, kBackupRole, i);
        row->setToolTip(0, backup.path);
    }
    if (m_backups.isEmpty()) {
        m_stProblem->setText(QStringLiteral("No backups yet: the program keeps one of a directory before it first "
                                            "writes to it in a run."));
        m_btnRestore->setEnabled(false);
        return;
    }
    m_lcBackups->setCurrentItem(m_lcBackups->topLevelItem(0));
    m_lcBackups->setFocus();
}

const TelephoneBackup* CRestoreBackupDlg::ChosenBackup() const
{
    const QList<QTreeWidgetItem*> chosen = m_lcBackups->selectedItems();
    if (chosen.isEmpty()) return nullptr;
    return &m_backups[chosen.first()->data(0, kBackupRole).toInt()];
}

void CRestoreBackupDlg::OnBackupChosen()
{
    m_lcRecords->clear();
    m_stProblem->clear();
    const TelephoneBackup* backup = ChosenBackup();
    QString error = backup ? backup->error : QString();
    std::optional<std::vector<DirEntry>> records;
    if (backup && error.isEmpty()) records = TelephoneBackups::Records(backup->path, &error);
    if (records) {
        for (const DirEntry& entry : *records)
            new QTreeWidgetItem(m_lcRecords, {QString::number(entry.m_nIndex), QString::fromStdString(entry.m_strName),
                                              QString::fromStdString(entry.m_strNumber),
                                              QString::fromStdString(entry.m_strStatus)});
    }
    if (backup && records && !IsWritable(backup->directory))
        m_stProblem->setText(QStringLiteral("The telephone keeps this directory itself: it cannot be restored."));
    else
        m_stProblem->setText(error);
    m_btnRestore->setEnabled(backup && records && IsWritable(backup->directory));
}

void CRestoreBackupDlg::OnRestore()
{
    const TelephoneBackup* backup = ChosenBackup();
    if (!backup || !m_btnRestore->isEnabled()) return;
    const QString question = StringTable::LoadQString(Ids::IDS_RESTORE_BACKUP_QUESTION)
                                 .arg(DirectoryText(*backup), TakenText(*backup), QString::number(backup->entryCount));
    if (!m_questions.AskYesNo(Ids::IDS_RESTORE_BACKUP_QUESTION, question.toStdString())) return;
    // Once the restore runs the telephone is busy and this window would take no clicks: it goes. When nothing
    // started, the reason has been given and the user may choose again or close.
    if (m_restore && m_restore(backup->path)) accept();
}
