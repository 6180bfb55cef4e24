#pragma once
// One read, write or backup of the telephone-link tool: starts it through the link library, waits for its end
// and prints the outcome. The exit code is 0 on success, 1 when the phone, the link or a file failed.
#include "link/DirectoryBackup.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <optional>

class LinkCommand : public QObject {
    Q_OBJECT
public:
    int read(const QByteArray& code);
    int write(const QByteArray& code, int index, const QString& name, const QByteArray& number);
    int backup(const QByteArray& code, const QString& file);

    // The directory as the phone holds it now, and its size; nothing (reported) when it could not be read.
    struct Directory {
        DirectoryBackup contents;
        int maxEntries = 0;
        int ucs2NameLength = 0; // characters of a name outside the GSM alphabet; 0 when the phone has no UCS2
    };
    std::optional<Directory> fetch(const QByteArray& code);
    // Writes one record with its name as text; the link's result (0 written).
    int writeRecord(const QByteArray& code, const PhoneRecord& record);

protected:
    bool event(QEvent* event) override;

private:
    int waitForEnd(int message);
    void printRecords();
    void keepRecords();

    int m_expected = 0;
    bool m_done = false;
    bool m_print = false;
    qintptr m_result = 0;
    Directory m_fetched;
};
