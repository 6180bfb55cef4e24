#include "res/ErrorReport.h"

#include "res/ErrorClasses.h"
#include "res/StringTable.h"

namespace ErrorReport {
namespace {
QString& currentDetail()
{
    static QString text;
    return text;
}
}

void setDetail(const QString& detail)
{
    currentDetail() = detail;
}

QString detail()
{
    return currentDetail();
}

QString caption(int errorClass)
{
    const QString app = StringTable::LoadQString(Ids::IDS_APP_TITLE);
    switch (errorClass) {
    case ErrorClass::kAddressBook: return app + QStringLiteral(" - Address book error");
    case ErrorClass::kTelephoneWrite: return app + QStringLiteral(" - Telephone write error");
    case ErrorClass::kInput: return app + QStringLiteral(" - Input error");
    case ErrorClass::kTelephoneRead: return app + QStringLiteral(" - Telephone read error");
    default: return app + QStringLiteral(" - Error");
    }
}

QString message(int messageId)
{
    const QString text = StringTable::LoadQString(messageId);
    return text.isEmpty() ? QStringLiteral("Error %1").arg(messageId) : text;
}

QString remedy(int messageId)
{
    const int id = messageId + Ids::REMEDY_OFFSET;
    if (!StringTable::Has(id)) return {};
    const QString text = StringTable::LoadQString(id);
    return message(messageId).contains(text) ? QString() : text;
}

QString plainText(int errorClass, int messageId)
{
    QString text = caption(errorClass) + QLatin1Char('\n') + message(messageId);
    const QString hint = remedy(messageId);
    if (!hint.isEmpty()) text += QLatin1Char('\n') + hint;
    if (!detail().isEmpty()) text += QLatin1Char('\n') + detail();
    return text;
}
}
