#include "app/CHelpWindow.h"

#include "res/StringTable.h"

#include <QFile>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

// Outside any namespace: a help file compiled into a static library is only kept when something names it.
static void EnsureHelpResourceLinked()
{
    Q_INIT_RESOURCE(help);
}

CHelpWindow::CHelpWindow(QWidget* parent) : QWidget(parent, Qt::Window), m_browser(new QTextBrowser(this))
{
    EnsureHelpResourceLinked();
    setWindowTitle(StringTable::LoadQString(Ids::IDS_APP_TITLE) + QStringLiteral(" - Help"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_browser->setAccessibleName(QStringLiteral("Help text"));
    m_browser->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(560, 480);
}

QUrl CHelpWindow::ContentsUrl()
{
    return QUrl(QStringLiteral("qrc:/help/diradi.html"));
}

void CHelpWindow::ShowContents()
{
    if (QFile::exists(QStringLiteral(":/help/diradi.html")))
        m_browser->setSource(ContentsUrl());
    else
        m_browser->setPlainText(QStringLiteral("The help file diradi.html could not be found."));
    show();
    raise();
    activateWindow();
}
