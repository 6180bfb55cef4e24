#include "link/PseudoTerminal.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

PseudoTerminal::~PseudoTerminal()
{
    close();
}

bool PseudoTerminal::open(QString* error)
{
    close();
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        close();
        return false;
    }
    char name[128] = {};
    if (ptsname_r(m_master, name, sizeof name) != 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        close();
        return false;
    }
    m_slavePath = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        close();
        return false;
    }
    // Raw from the start: no echo by the line discipline and no CR/LF translation, as on a serial line.
    termios tio {};
    if (tcgetattr(m_slave, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(m_slave, TCSANOW, &tio);
    }
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    return true;
}

void PseudoTerminal::hangUp()
{
    if (m_master >= 0) ::close(m_master);
    m_master = -1;
}

void PseudoTerminal::close()
{
    hangUp();
    if (m_slave >= 0) ::close(m_slave);
    m_slave = -1;
}
