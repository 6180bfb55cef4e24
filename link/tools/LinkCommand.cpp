#include "link/tools/LinkCommand.h"

#include "link/Cellbus.h"
#include "link/GsmAlphabet.h"

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
            if (m_expected == UM_PHONEBOOK_READ && m_result != PB_READ_NO_DATA) printRecords();
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

void LinkCommand::printRecords()
{
    const PhonebookData* data = ATPBGet();
    if (m_result == PB_READ_NOT_AVAILABLE) return;
    std::printf("Name length: %d\nNumber length: %d\nMaximum entries: %d\nRecords: %d\n", data->nNameLen, data->nNumberLen,
                data->nMaxEntries, data->nCount);
    const int stride = 2 + data->nNameLen + data->nNumberLen;
    for (int k = 0; k < data->nCount; ++k) {
        const uint8_t* record = data->pRecords + qsizetype(k) * stride;
        const int index = (record[0] | (record[1] << 8)) & 0x7FFF;
        const QByteArray nameField(reinterpret_cast<const char*>(record + 2), data->nNameLen);
        const QByteArray numberField(reinterpret_cast<const char*>(record + 2 + data->nNameLen), data->nNumberLen);
        const QString name = GsmAlphabet::decodeBlock(nameField);
        const QByteArray number = numberField.left(qsizetype(strnlen(numberField.constData(), size_t(numberField.size()))));
        std::printf("%d\t%s\t%s\n", index, name.toLocal8Bit().constData(), number.constData());
    }
}

int LinkCommand::read(const QByteArray& code)
{
    ATPBRead(this, UM_PHONEBOOK_READ, code.constData());
    const int result = waitForEnd(UM_PHONEBOOK_READ);
    if (result == PB_READ_NO_DATA) return Fehler_Melden(5, 41019), 1;
    if (result == PB_READ_NOT_AVAILABLE) return Fehler_Melden(5, 41024), 1;
    return 0;
}

int LinkCommand::write(const QByteArray& code, int index, const QString& name, const QByteArray& number)
{
    const QByteArray blockName = GsmAlphabet::encodeBlock(name);
    ATPBWrite(this, UM_PHONEBOOK_WRITTEN, code.constData(), index, blockName.constData(), number.constData());
    if (waitForEnd(UM_PHONEBOOK_WRITTEN) != 0) return Fehler_Melden(3, 41017), 1;
    std::printf("Written.\n");
    return 0;
}
