#include "link/Cellbus.h"

#include "link/LinkService.h"
#include "res/ErrorClasses.h"
#include "res/ErrorReport.h"

#include <cstdio>

PhonebookMessage::PhonebookMessage(int message_, intptr_t wParam_, intptr_t lParam_)
    : QEvent(EventType()), message(message_), wParam(wParam_), lParam(lParam_)
{
}

QEvent::Type PhonebookMessage::EventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

PhonebookProgress::PhonebookProgress(int read, int expected)
    : QEvent(EventType()), recordsRead(read), recordsExpected(expected)
{
}

QEvent::Type PhonebookProgress::EventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

namespace {
ErrorReportHandler& reportHandler()
{
    static ErrorReportHandler handler;
    return handler;
}

bool isKnownCode(const char* code)
{
    return code && !PhonebookSession::storageFor(QByteArray(code)).isEmpty();
}

QByteArray boundedText(const char* text, qsizetype limit)
{
    // Callers hand fixed buffers; never read past the longest text a field can hold.
    if (!text) return {};
    qsizetype length = 0;
    while (length < limit && text[length] != '\0') ++length;
    return QByteArray(text, length);
}
}

int ATPBRead(QObject* window, int message, const char* storageCode)
{
    // An unknown code asks for a directory no phone has: it ends like one the phone does not offer.
    LinkService::instance().read(window, message, isKnownCode(storageCode) ? QByteArray(storageCode) : QByteArray("??"));
    return 0;
}

int ATPBReadSpan(QObject* window, int message, const char* storageCode, int first, int last)
{
    LinkService::instance().readSpan(window, message, isKnownCode(storageCode) ? QByteArray(storageCode) : QByteArray("??"),
                                     first, last);
    return 0;
}

PhonebookData* ATPBGet()
{
    return LinkService::instance().currentData();
}

int ATPBWrite(QObject* window, int message, const char* storageCode, int index, const char* name, const char* number)
{
    constexpr qsizetype kLongestText = 255;
    LinkService::instance().write(window, message, isKnownCode(storageCode) ? QByteArray(storageCode) : QByteArray("??"),
                                  index, boundedText(name, kLongestText), boundedText(number, kLongestText));
    return 0;
}

int Fehler_Melden(int errorClass, int messageId)
{
    // A failed read or write says what was wrong with the device, if the link found anything.
    const bool telephone = errorClass == ErrorClass::kTelephoneRead || errorClass == ErrorClass::kTelephoneWrite;
    return Fehler_Melden(errorClass, messageId, telephone ? LinkService::instance().lastDiagnosis() : QString());
}

int Fehler_Melden(int errorClass, int messageId, const QString& detail)
{
    ErrorReport::setDetail(detail);
    if (reportHandler()) {
        reportHandler()(errorClass, messageId);
    } else {
        std::fprintf(stderr, "%s\n", ErrorReport::plainText(errorClass, messageId).toLocal8Bit().constData());
    }
    ErrorReport::setDetail({});
    return 0;
}

void SetErrorReportHandler(ErrorReportHandler handler)
{
    reportHandler() = std::move(handler);
}
