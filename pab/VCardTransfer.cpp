#include "pab/VCardTransfer.h"

#include "model/EntryStore.h"
#include "pab/IAddressBookHost.h"
#include "model/VCardWriter.h"
#include "model/VCardExport.h"
#include "pab/VCardFile.h"
#include "pab/VCardImport.h"
#include "res/StringTable.h"

namespace {
// A text of the string table followed by what only this call knows, as the seam takes it (UTF-8).
std::string Message(int id, const QString& detail)
{
    return (StringTable::LoadQString(id) + detail).toStdString();
}

VCardNumberChoice ChoiceOf(int numbers)
{
    return numbers == 0 ? VCardNumberChoice::First : numbers == 2 ? VCardNumberChoice::EachNumber : VCardNumberChoice::Preferred;
}
}

int VCardTransfer::Import(const VCardImportData& request)
{
    const QString path = QString::fromStdString(request.m_strPath);
    VCardReadResult read;
    QString error;
    if (!VCardFile::Read(path, &read, &error)) {
        m_questions.ShowMessage(Ids::IDS_VCARD_CANNOT_READ, Message(Ids::IDS_VCARD_CANNOT_READ, error));
        return 0;
    }
    QStringList leftOut;
    std::vector<VCardImportItem> items = VCardImport::Entries(read, ChoiceOf(request.m_nNumbers), &leftOut);
    const int offered = int(items.size());
    // Cards of contacts the folder already holds (same UID) update them, if the user agrees; never a second entry.
    const int known = VCardImport::KnownCount(items, m_store);
    const bool update = known > 0
        && m_questions.AskYesNo(Ids::IDS_VCARD_UPDATE_KNOWN,
                                StringTable::LoadQString(Ids::IDS_VCARD_UPDATE_KNOWN).arg(known).toStdString());
    const VCardImportOutcome outcome = VCardImport::AddToAddressBook(items, m_store, m_questions, m_host, update);
    leftOut << outcome.leftOut;
    m_host.FillAbList(false);
    const QString done = outcome.updated > 0
        ? StringTable::LoadQString(Ids::IDS_VCARD_IMPORTED_UPDATED).arg(outcome.added).arg(offered).arg(outcome.updated)
        : StringTable::LoadQString(Ids::IDS_VCARD_IMPORTED).arg(outcome.added).arg(offered);
    m_host.SetStatusText(done.toStdString());
    if (!leftOut.isEmpty())
        m_questions.ShowMessage(Ids::IDS_VCARD_LEFT_OUT, Message(Ids::IDS_VCARD_LEFT_OUT, leftOut.join(QLatin1Char('\n'))));
    return outcome.added;
}

bool VCardTransfer::Export(const VCardExportData& request, const DirTable& table, const std::vector<int>& chosen)
{
    const QList<VCardCard> cards = VCardExport::Cards(table, chosen);
    const VCardVersion version = request.m_nVersion == 4 ? VCardVersion::V4_0 : VCardVersion::V3_0;
    QString error;
    if (!VCardFile::Write(QString::fromStdString(request.m_strPath), VCardWriter::write(cards, version), &error)) {
        m_questions.ShowMessage(Ids::IDS_VCARD_CANNOT_WRITE, Message(Ids::IDS_VCARD_CANNOT_WRITE, error));
        return false;
    }
    m_host.SetStatusText(StringTable::LoadQString(Ids::IDS_VCARD_EXPORTED)
                             .arg(cards.size())
                             .arg(QString::fromStdString(request.m_strPath))
                             .toStdString());
    return true;
}
