#include "ui/CVCardImportDlg.h"

#include "ui/CFilePathField.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CVCardImportDlg::CVCardImportDlg(QWidget* parent, const VCardImportData& data)
    : QDialog(parent),
      m_path(new CFilePathField(this, CFilePathField::Purpose::Open, QStringLiteral("Import vCard"),
                                QStringLiteral("vCard files (*.vcf *.vcard);;All files (*)"))),
      m_numbers(new QButtonGroup(this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(QStringLiteral("Import vCard"));
    auto* layout = new QVBoxLayout(this);
    m_path->Edit()->setText(QString::fromStdString(data.m_strPath));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&File:"), m_path);
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

    connect(m_path, &CFilePathField::pathChanged, this, &CVCardImportDlg::UpdateOk);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &CVCardImportDlg::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    UpdateOk();
}

VCardImportData CVCardImportDlg::Data() const
{
    VCardImportData data;
    data.m_strPath = m_path->Path().toStdString();
    data.m_nNumbers = m_numbers->checkedId();
    return data;
}

void CVCardImportDlg::accept()
{
    if (m_path->Path().isEmpty()) return;
    QDialog::accept();
}

void CVCardImportDlg::UpdateOk()
{
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!m_path->Path().isEmpty());
}
