#pragma once
// A pseudo-terminal pair: the emulator works on the master side, clients open the slave path like a serial
// port. The emulator keeps its own slave descriptor open so that the master does not report a hang-up
// each time a client closes the port.
#include <QString>

class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool open(QString* error);
    void close();
    // Closes the master only: clients see the line drop as if the phone had been unplugged.
    void hangUp();

    int masterFd() const { return m_master; }
    QString slavePath() const { return m_slavePath; }

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
};
