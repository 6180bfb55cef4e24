#pragma once
// A phone on a real pseudo-terminal that answers from a script of exact replies, byte for byte, so that
// tests can play back what particular devices send. Unknown commands get "ERROR".
#include "link/PseudoTerminal.h"

#include <QByteArray>
#include <QList>
#include <QMap>

#include <atomic>
#include <mutex>
#include <thread>

class ScriptedPhone {
public:
    ScriptedPhone(QMap<QByteArray, QByteArray> replies, bool echo);
    ~ScriptedPhone();
    QString path() const { return m_pty.slavePath(); }
    QList<QByteArray> commands() const;

private:
    void serve();

    QMap<QByteArray, QByteArray> m_replies;
    bool m_echo;
    PseudoTerminal m_pty;
    std::thread m_thread;
    std::atomic<bool> m_stop {false};
    mutable std::mutex m_mutex;
    QList<QByteArray> m_commands;
};
