#include "ui/CVCardExportDlg.h"

#include "ui/CFilePathField.h"
#include "ui/FileDialogStart.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CVCardExportDlg::CVCardExportDlg(QWidget* parent, const VCardExportData& data)
    : QDialog(parent), m_data(data),
      m_path(new CFilePathField(this, CFilePathField::Purpose::Save, QStringLiteral("Export vCard"),
                                QStringLiteral("vCard files (*.vcf);;All files (*)"), QStringLiteral("vcf"))),
      m_lists(new QButtonGroup(this)),
      m_chkSelected(new QCheckBox(QStringLiteral("Only the &selected entries"), this)), m_cbVersion(new QComboBox(this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(QStringLiteral("Export vCard"));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(QStringLiteral("Entries"), this);
    auto* groupLayout = new QVBoxLayout(group);
    const QString lists[] = {QStringLiteral("of the &telephone directory shown"), QStringLiteral("of the &address-book folder shown")};
    for (int k = 0; k < 2; ++k) {
        auto* button = new QRadioButton(lists[k], group);
        button->setObjectName(QStringLiteral("list%1").arg(k + 1));
        m_lists->addButton(button, k + 1);
        groupLayout->addWidget(button);
    }
    m_lists->button(data.m_nList == 1 ? 1 : 2)->setChecked(true);
    m_chkSelected->setObjectName(QStringLiteral("selectedOnly"));
    groupLayout->addWidget(m_chkSelected);
    layout->addWidget(group);

    auto* form = new QFormLayout;
    m_cbVersion->setObjectName(QStringLiteral("version"));
    m_cbVersion->setAccessibleName(QStringLiteral("vCard version"));
    m_cbVersion->addItem(QStringLiteral("vCard 3.0 (read by most programs)"), 3);
    m_cbVersion->addItem(QStringLiteral("vCard 4.0"), 4);
    m_cbVersion->setCurrentIndex(data.m_nVersion == 4 ? 1 : 0);
    form->addRow(QStringLiteral("&Version:"), m_cbVersion);
    m_path->Edit()->setText(QString::fromStdString(data.m_strPath));
    form->addRow(QStringLiteral("&File:"), m_path);
    layout->addLayout(form);
    layout->addWidget(m_buttons);

    connect(m_path, &CFilePathField::pathChanged, this, &CVCardExportDlg::UpdateControls);
    connect(m_lists, &QButtonGroup::idClicked, this, &CVCardExportDlg::UpdateControls);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &CVCardExportDlg::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_chkSelected->setChecked(data.m_bSelectedOnly != 0);
    UpdateControls();
}

VCardExportData CVCardExportDlg::Data() const
{
    VCardExportData data = m_data;
    data.m_strPath = m_path->Path().toStdString();
    data.m_nVersion = m_cbVersion->currentData().toInt();
    data.m_nList = m_lists->checkedId();
    data.m_bSelectedOnly = m_chkSelected->isEnabled() && m_chkSelected->isChecked() ? 1 : 0;
    return data;
}

void CVCardExportDlg::accept()
{
    if (m_path->Path().isEmpty()) return;
    QDialog::accept();
}

void CVCardExportDlg::UpdateControls()
{
    // "Only the selected entries" makes sense only for a list with a selection.
    const int list = m_lists->checkedId();
    const int selected = list == 1 ? m_data.m_nSelected[0] : m_data.m_nSelected[1];
    m_chkSelected->setEnabled(selected > 0);
    if (selected > 0) m_chkSelected->setText(QStringLiteral("Only the &selected entries (%1)").arg(selected));
    else m_chkSelected->setText(QStringLiteral("Only the &selected entries"));
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!m_path->Path().isEmpty());
    // The file dialog offers the name of the list the entries come from.
    const QString listName = QString::fromStdString(m_data.m_strListNames[list == 1 ? 0 : 1]);
    m_path->SetSuggestedName(FileDialogStart::SuggestedFileName(listName, QStringLiteral("vcf"), QStringLiteral("vCards")));
}
