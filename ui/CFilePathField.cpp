#include "ui/CFilePathField.h"

#include "ui/FileDialogStart.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

CFilePathField::CFilePathField(QWidget* parent, Purpose purpose, const QString& caption, const QString& filter,
                               const QString& defaultSuffix)
    : QWidget(parent), m_purpose(purpose), m_caption(caption), m_filter(filter), m_defaultSuffix(defaultSuffix),
      m_edPath(new QLineEdit(this))
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    m_edPath->setObjectName(QStringLiteral("path"));
    m_edPath->setAccessibleName(caption + QStringLiteral(": file"));
    auto* browse = new QPushButton(QStringLiteral("&Browse..."), this);
    browse->setObjectName(QStringLiteral("browse"));
    browse->setAutoDefault(false);
    row->addWidget(m_edPath, 1);
    row->addWidget(browse);
    setFocusProxy(m_edPath);
    connect(browse, &QPushButton::clicked, this, &CFilePathField::OnBrowse);
    connect(m_edPath, &QLineEdit::textChanged, this, &CFilePathField::pathChanged);
}

QString CFilePathField::Path() const
{
    return m_edPath->text().trimmed();
}

QString CFilePathField::BrowseStart() const
{
    return FileDialogStart::StartPath(Path(), m_purpose == Purpose::Save ? m_suggestedName : QString());
}

void CFilePathField::OnBrowse()
{
    const QString start = BrowseStart();
    QString path = m_purpose == Purpose::Open ? QFileDialog::getOpenFileName(this, m_caption, start, m_filter)
                                              : QFileDialog::getSaveFileName(this, m_caption, start, m_filter);
    if (path.isEmpty()) return;
    FileDialogStart::Remember(path);
    if (m_purpose == Purpose::Save && !m_defaultSuffix.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + m_defaultSuffix;
    m_edPath->setText(path);
}
