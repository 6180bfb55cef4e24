#pragma once
// A stand-in for the form: a fixed-size widget that records the commands it gets and enables what it is told.
#include "res/CommandIds.h"
#include "ui/ICommandTarget.h"

#include <QWidget>

#include <functional>
#include <set>
#include <vector>

class DummyView : public QWidget, public ICommandTarget {
public:
    explicit DummyView(QSize size = QSize(480, 300)) : m_size(size) { resize(size); }
    QSize sizeHint() const override { return m_size; }

    bool OnUpdateCommand(int id, bool& enabled) const override
    {
        if (!m_handled.count(id))
            return false;
        enabled = !m_disabled.count(id);
        return true;
    }
    bool OnCommand(int id) override
    {
        if (!m_handled.count(id))
            return false;
        m_received.push_back(id);
        if (m_onCommand)
            m_onCommand(id);
        return true;
    }

    std::set<int> m_handled;
    std::set<int> m_disabled;
    std::vector<int> m_received;
    std::function<void(int)> m_onCommand;

private:
    QSize m_size;
};
