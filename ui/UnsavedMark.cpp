#include "ui/UnsavedMark.h"

#include "res/StringTable.h"

#include <QTimer>

namespace {
constexpr int kIdleBeatMs = 200;
}

UnsavedMark::UnsavedMark(std::function<bool()> unsaved, std::function<void(const QString&)> showTitle,
                         QObject* parent)
    : QObject(parent), m_unsaved(std::move(unsaved)), m_showTitle(std::move(showTitle)), m_timer(new QTimer(this))
{
    m_timer->setInterval(kIdleBeatMs);
    connect(m_timer, &QTimer::timeout, this, &UnsavedMark::Refresh);
    m_timer->start();
}

QString UnsavedMark::Title(bool unsaved)
{
    const QString name = StringTable::LoadQString(Ids::IDS_APP_TITLE);
    return unsaved ? name + u'*' : name;
}

void UnsavedMark::Refresh()
{
    const int state = m_unsaved() ? 1 : 0;
    if (state == m_shown) return;
    m_shown = state;
    m_showTitle(Title(state == 1));
}
