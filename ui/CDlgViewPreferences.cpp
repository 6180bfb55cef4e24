// The form's side of the preferences, of renaming and deleting the distribution list shown, and of dragging
// rows from one list onto the other.
#include "model/FormSettings.h"
#include "model/Questions.h"
#include "pab/AddressBook.h"
#include "phone/TelephoneConnection.h"
#include "phone/TelephoneDirectories.h"
#include "res/StringTable.h"
#include "ui/CDlgView.h"
#include "ui/CFolderCombo.h"
#include "ui/CPreferencesDlg.h"
#include "ui/ListDragDrop.h"

#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTreeWidget>

void CDlgView::OnPreferences()
{
    QSettings settings;
    CPreferencesDlg dialog(this, settings, [this](QString& device) {
        std::string chosen = device.toStdString();
        if (!m_pQuestions->RunConnectionDialog(chosen)) return false;
        device = QString::fromStdString(chosen);
        return true;
    });
    if (dialog.exec() != QDialog::Accepted) return;
    ApplyPreferences(dialog.Values());
}

void CDlgView::ApplyPreferences(const FormSettings& values)
{
    if (values.m_nShowCorrection != 0) m_store->SetFlag(VF_SHOW_CORRECTION);
    else m_store->ClearFlag(VF_SHOW_CORRECTION);
    ShowCorrectionRow(true);
    // The telephone changes at once, as through the connection dialog; a change refused or failed there leaves
    // the settings naming the telephone in use, not one the program does not talk to.
    const QString inUse = TelephoneConnection::Current();
    if (values.m_strDevice == inUse || m_phone->ChangeTelephone(values.m_strDevice.toStdString())) return;
    QSettings settings;
    FormSettings kept = FormSettings::Read(settings);
    kept.m_strDevice = inUse;
    kept.Write(settings);
}

void CDlgView::OnRenameList()
{
    m_ab->RenameShownList();
}

void CDlgView::OnDeleteList()
{
    m_ab->DeleteShownList();
}

void CDlgView::InstallFolderMenu()
{
    m_cbFolder->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_cbFolder, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(QStringLiteral("Folder"), this);
        menu.setObjectName(QStringLiteral("folderMenu"));
        const std::pair<int, const char*> items[] = {{ID_FILE_NEW_FOLDER, "&New distribution list..."},
                                                     {ID_FILE_RENAME_LIST, "&Rename Distribution List..."},
                                                     {ID_FILE_DELETE_LIST, "&Delete Distribution List..."}};
        for (const auto& [id, text] : items) {
            QAction* action = menu.addAction(QString::fromUtf8(text));
            action->setData(id);
            bool enabled = false;
            action->setEnabled(OnUpdateCommand(id, enabled) && enabled);
        }
        if (QAction* chosen = menu.exec(m_cbFolder->mapToGlobal(at))) OnCommand(chosen->data().toInt());
    });
}

void CDlgView::InstallListDragDrop()
{
    auto* dragDrop = new ListDragDrop(m_lcPhone, m_lcAddressBook, this);
    dragDrop->setObjectName(QStringLiteral("listDragDrop"));
    // As a click on the rows would: the list becomes the active one and the preview holds its selection.
    dragDrop->SetDragStartHandler([this](int list) {
        SetTransferButtonsFor(list);
        if (list == LIST_PHONE || m_store->CurrentPhoneTable().m_bReadOnly == 0) FillPreview();
    });
    dragDrop->SetDropHandler([this](int source) { OnDropFromList(source); });
}

void CDlgView::OnDropFromList(int sourceList)
{
    // The preview holds the copies of the list the drag came from only while that list is the active one.
    if (m_store->m_nActiveList != sourceList) return;
    // The arrow button towards the other list, with its refusals: disabled for a read-only directory, and
    // refused with a message while the telephone works.
    QPushButton* button = sourceList == LIST_PHONE ? m_btnToAddressBook : m_btnToPhone;
    if (button->isEnabled()) button->click();
}
