#pragma once

#include <QByteArray>
#include <QList>

// Turns the physical lines of a vCard file into its logical content lines: folded lines (a line starting with a
// space or tab continues the one before), quoted-printable soft line breaks ("=" at the end of a line) and the
// base64 blocks of vCard 2.1 (continued until an empty line) are joined. Empty lines are dropped.
class VCardUnfolder {
public:
    struct Line {
        int number = 0;  // physical line (1-based) where the logical line starts
        QByteArray text;
    };

    // The bytes must be free of a byte order mark; line ends may be CRLF, LF or CR.
    static QList<Line> unfold(const QByteArray& bytes);
};
