#include "ui/CVCardImportDlg.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CVCardImportDlg::CVCardImportDlg(QWidget* parent, const VCardImportData& data)
    : QDialog(parent), m_edPath(new QLineEdit(this)), m_numbers(new QButtonGroup(this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(QStringLiteral("Import vCard"));
    auto* layout = new QVBoxLayout(this);
    auto* fileRow = new QHBoxLayout;
    m_edPath->setObjectName(QStringLiteral("path"));
    m_edPath->setAccessibleName(QStringLiteral("vCard file"));
    m_edPath->setText(QString::fromStdString(data.m_strPath));
    auto* browse = new QPushButton(QStringLiteral("&Browse..."), this);
    browse->setObjectName(QStringLiteral("browse"));
    browse->setAutoDefault(false);
    fileRow->addWidget(m_edPath, 1);
    fileRow->addWidget(browse);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&File:"), fileRow);
    layout->addLayout(form);

    auto* group = new QGroupBox(QStringLiteral("A card with several numbers becomes"), this);
    auto* groupLayout = new QVBoxLayout(group);
    const QString choices[] = {QStringLiteral("one entry with its &first number"),
                               QStringLiteral("one entry with its &preferred number"),
                               QStringLiteral("one entry for &each number")};
    for (int k = 0; k < 3; ++k) {
        auto* button = new QRadioButton(choices[k], group);
        button->setObjectName(QStringLiteral("numbers%1").arg(k));
        m_numbers->addButton(button, k);
        groupLayout->addWidget(button);
    }
    const int chosen = data.m_nNumbers >= 0 && data.m_nNumbers <= 2 ? data.m_nNumbers : 1;
    m_numbers->button(chosen)->setChecked(true);
    layout->addWidget(group);
    layout->addWidget(m_buttons);

    connect(browse, &QPushButton::clicked, this, &CVCardImportDlg::OnBrowse);
    connect(m_edPath, &QLineEdit::textChanged, this, &CVCardImportDlg::UpdateOk);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &CVCardImportDlg::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    UpdateOk();
}

VCardImportData CVCardImportDlg::Data() const
{
    VCardImportData data;
    data.m_strPath = m_edPath->text().trimmed().toStdString();
    data.m_nNumbers = m_numbers->checkedId();
    return data;
}

void CVCardImportDlg::accept()
{
    if (m_edPath->text().trimmed().isEmpty()) return;
    QDialog::accept();
}

void CVCardImportDlg::OnBrowse()
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Import vCard"), m_edPath->text(),
                                                      QStringLiteral("vCard files (*.vcf *.vcard);;All files (*)"));
    if (!path.isEmpty()) m_edPath->setText(path);
}

void CVCardImportDlg::UpdateOk()
{
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!m_edPath->text().trimmed().isEmpty());
}
