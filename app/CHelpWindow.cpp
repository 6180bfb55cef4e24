#include "app/CHelpWindow.h"

#include "res/StringTable.h"

#include <QFile>
#include <QKeyEvent>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

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

void CHelpWindow::keyPressEvent(QKeyEvent* event)
{
    // A reading window closes like the desktop's other viewers do, from the keyboard too; the keys reach the
    // window when the text does not use them, as in a dialog.
    const bool escape = event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier;
    const bool ctrlW = event->key() == Qt::Key_W && event->modifiers() == Qt::ControlModifier;
    if (escape || ctrlW || event->matches(QKeySequence::Close)) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CHelpWindow::CentreOnProgram()
{
    const QWidget* program = parentWidget() ? parentWidget()->window() : nullptr;
    if (!program || !program->isVisible()) return;
    // Not shown yet, the window has no frame: it will get one like the program's.
    const QSize decoration = program->frameGeometry().size() - program->size();
    QRect place(QPoint(), size() + decoration);
    place.moveCenter(program->frameGeometry().center());
    if (const QScreen* screen = program->screen()) {
        // Never beyond the screen's edges, where the title bar could not be reached.
        const QRect available = screen->availableGeometry();
        place.moveLeft(std::max(available.left(), std::min(place.left(), available.right() - place.width() + 1)));
        place.moveTop(std::max(available.top(), std::min(place.top(), available.bottom() - place.height() + 1)));
    }
    move(place.topLeft());
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
    // A window already open stays where the user put it.
    if (!isVisible()) CentreOnProgram();
    show();
    raise();
    activateWindow();
}
