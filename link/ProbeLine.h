#pragma once
// One serial line opened for probing: raw at the probe's speed, asked one command at a time. Its former settings
// are put back when the probe is done, so that a port the user set up for something else is left as it was.
#include <QByteArray>
#include <QList>

#include <optional>

#include <termios.h>

class ProbeLine {
public:
    // Takes over the open descriptor and closes it when done.
    explicit ProbeLine(int fd);
    ~ProbeLine();
    ProbeLine(const ProbeLine&) = delete;
    ProbeLine& operator=(const ProbeLine&) = delete;

    void makeRaw(int baud);
    // The lines of the answer to one command, up to its final line; nothing when none came in time.
    // heard: some bytes came back at all.
    std::optional<QList<QByteArray>> ask(const QByteArray& command, int timeoutMs, bool* heard);

private:
    bool readSome(int waitMs, QByteArray* pending);
    // Moves the complete lines into lines, without the command's echo; true once the final line came.
    static bool takeLines(const QByteArray& command, QByteArray* pending, QList<QByteArray>* lines);

    int m_fd;
    termios m_old {};
    bool m_saved = false;
};
