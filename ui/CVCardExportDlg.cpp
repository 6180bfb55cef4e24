#include "ui/CVCardExportDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CVCardExportDlg::CVCardExportDlg(QWidget* parent, const VCardExportData& data)
    : QDialog(parent), m_data(data), m_edPath(new QLineEdit(this)), m_lists(new QButtonGroup(this)),
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
    auto* fileRow = new QHBoxLayout;
    m_edPath->setObjectName(QStringLiteral("path"));
    m_edPath->setAccessibleName(QStringLiteral("vCard file"));
    m_edPath->setText(QString::fromStdString(data.m_strPath));
    auto* browse = new QPushButton(QStringLiteral("&Browse..."), this);
    browse->setObjectName(QStringLiteral("browse"));
    browse->setAutoDefault(false);
    fileRow->addWidget(m_edPath, 1);
    fileRow->addWidget(browse);
    form->addRow(QStringLiteral("&File:"), fileRow);
    layout->addLayout(form);
    layout->addWidget(m_buttons);

    connect(browse, &QPushButton::clicked, this, &CVCardExportDlg::OnBrowse);
    connect(m_edPath, &QLineEdit::textChanged, this, &CVCardExportDlg::UpdateControls);
    connect(m_lists, &QButtonGroup::idClicked, this, &CVCardExportDlg::UpdateControls);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &CVCardExportDlg::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_chkSelected->setChecked(data.m_bSelectedOnly != 0);
    UpdateControls();
}

VCardExportData CVCardExportDlg::Data() const
{
    VCardExportData data = m_data;
    data.m_strPath = m_edPath->text().trimmed().toStdString();
    data.m_nVersion = m_cbVersion->currentData().toInt();
    data.m_nList = m_lists->checkedId();
    data.m_bSelectedOnly = m_chkSelected->isEnabled() && m_chkSelected->isChecked() ? 1 : 0;
    return data;
}

void CVCardExportDlg::accept()
{
    if (m_edPath->text().trimmed().isEmpty()) return;
    QDialog::accept();
}

void CVCardExportDlg::OnBrowse()
{
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export vCard"), m_edPath->text(),
                                                QStringLiteral("vCard files (*.vcf);;All files (*)"));
    if (path.isEmpty()) return;
    if (!path.contains(QLatin1Char('.'))) path += QStringLiteral(".vcf");
    m_edPath->setText(path);
}

void CVCardExportDlg::UpdateControls()
{
    // "Only the selected entries" makes sense only for a list with a selection.
    const int list = m_lists->checkedId();
    const int selected = list == 1 ? m_data.m_nSelected[0] : m_data.m_nSelected[1];
    m_chkSelected->setEnabled(selected > 0);
    if (selected > 0) m_chkSelected->setText(QStringLiteral("Only the &selected entries (%1)").arg(selected));
    else m_chkSelected->setText(QStringLiteral("Only the &selected entries"));
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!m_edPath->text().trimmed().isEmpty());
}
