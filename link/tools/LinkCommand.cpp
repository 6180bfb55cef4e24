#include "link/tools/LinkCommand.h"

#include "link/Cellbus.h"
#include "link/LinkService.h"
#include "link/TelephoneLinkSetup.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <cstdio>
#include <cstring>

bool LinkCommand::event(QEvent* event)
{
    if (event->type() == PhonebookMessage::EventType()) {
        auto* message = static_cast<PhonebookMessage*>(event);
        if (message->message == m_expected) {
            m_result = message->lParam;
            m_done = true;
            // The records are valid only while this message is handled.
            if (m_expected == UM_PHONEBOOK_READ && m_result != PB_READ_NO_DATA && m_result != PB_READ_NOT_AVAILABLE) {
                keepRecords();
                if (m_print) printRecords();
            }
        }
        return true;
    }
    return QObject::event(event);
}

int LinkCommand::waitForEnd(int message)
{
    m_expected = message;
    m_done = false;
    while (!m_done) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return int(m_result);
}

void LinkCommand::keepRecords()
{
    const PhonebookData* data = ATPBGet();
    m_fetched.contents.taken = QDateTime::currentDateTimeUtc();
    m_fetched.contents.nameLength = data->nNameLen;
    m_fetched.contents.numberLength = data->nNumberLen;
    m_fetched.contents.records = TelephoneLinkReadRecords();
    m_fetched.maxEntries = data->nMaxEntries;
    m_fetched.ucs2NameLength = data->nUcs2NameLen;
}

void LinkCommand::printRecords()
{
    const PhonebookData* data = ATPBGet();
    std::printf("Name length: %d\nNumber length: %d\nMaximum entries: %d\n", data->nNameLen, data->nNumberLen, data->nMaxEntries);
    // Characters of a name outside the GSM alphabet; none when the phone has no UCS2.
    std::printf("Name length in UCS2: %d\nRecords: %d\n", data->nUcs2NameLen, data->nCount);
    const int nameSize = data->nNameFieldSize;
    const int numberSize = data->nNumberFieldSize;
    const int stride = 2 + nameSize + numberSize;
    for (int k = 0; k < data->nCount; ++k) {
        const uint8_t* record = data->pRecords + qsizetype(k) * stride;
        const int word = record[0] | (record[1] << 8);
        const int index = word & 0x7FFF;
        const QByteArray nameField(reinterpret_cast<const char*>(record + 2), nameSize);
        const QByteArray numberField(reinterpret_cast<const char*>(record + 2 + nameSize), numberSize);
        const QByteArray name = nameField.left(qsizetype(strnlen(nameField.constData(), size_t(nameField.size()))));
        const QByteArray number = numberField.left(qsizetype(strnlen(numberField.constData(), size_t(numberField.size()))));
        // The names go out as UTF-8 whatever the locale: a terminal of another set would turn them into "?".
        // A name damaged on the line is printed as it arrived, and said to be so.
        const char* mark = (word & kRecordNameUnreadable) ? "\t(name unreadable)" : "";
        std::printf("%d\t%s\t%s%s\n", index, name.constData(), number.constData(), mark);
    }
}

std::optional<LinkCommand::Directory> LinkCommand::fetch(const QByteArray& code)
{
    m_fetched = Directory{};
    m_fetched.contents.directoryCode = code;
    ATPBRead(this, UM_PHONEBOOK_READ, code.constData());
    const int result = waitForEnd(UM_PHONEBOOK_READ);
    if (result == PB_READ_NO_DATA || result == PB_READ_NOT_AVAILABLE) {
        Fehler_Melden(5, result == PB_READ_NO_DATA ? 41019 : 41024);
        return std::nullopt;
    }
    return m_fetched;
}

int LinkCommand::read(const QByteArray& code)
{
    m_print = true;
    const bool read = fetch(code).has_value();
    m_print = false;
    return read ? 0 : 1;
}

int LinkCommand::write(const QByteArray& code, int index, const QString& name, const QByteArray& number)
{
    const QByteArray utf8Name = name.toUtf8();
    ATPBWrite(this, UM_PHONEBOOK_WRITTEN, code.constData(), index, utf8Name.constData(), number.constData());
    const int result = waitForEnd(UM_PHONEBOOK_WRITTEN);
    if (result != 0) {
        Fehler_Melden(3, 41017);
        if (result == PhonebookSession::kWriteUnanswered)
            std::fprintf(stderr, "telephone-link: record %d was sent, but its answer never came: the telephone may or "
                                 "may not hold it. Read the directory to see.\n", index);
        return 1;
    }
    std::printf("Written.\n");
    return 0;
}

int LinkCommand::writeRecord(const QByteArray& code, const PhoneRecord& record)
{
    LinkService::instance().writeText(this, UM_PHONEBOOK_WRITTEN, code, record.index, record.name, record.number);
    return waitForEnd(UM_PHONEBOOK_WRITTEN);
}

int LinkCommand::backup(const QByteArray& code, const QString& file)
{
    const std::optional<Directory> directory = fetch(code);
    if (!directory) return 1;
    QString error;
    if (!directory->contents.save(file, &error)) {
        std::fprintf(stderr, "telephone-link: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("Backed up %d records of %s to %s.\n", int(directory->contents.records.size()), code.constData(),
                qPrintable(file));
    return 0;
}
