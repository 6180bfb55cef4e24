#include "pab/VCardTransfer.h"

#include "model/EntryStore.h"
#include "model/FormHost.h"
#include "model/VCardWriter.h"
#include "pab/VCardExport.h"
#include "pab/VCardFile.h"
#include "pab/VCardImport.h"
#include "res/Cp1252.h"
#include "res/StringTable.h"

namespace {
std::string Text(int id)
{
    return StringTable::LoadString(id);
}

std::string Replace(std::string text, const std::string& a, const std::string& b = {})
{
    if (const size_t at = text.find("%1"); at != std::string::npos) text.replace(at, 2, a);
    if (const size_t at = text.find("%2"); at != std::string::npos) text.replace(at, 2, b);
    return text;
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
        m_questions.ShowMessage(Ids::IDS_VCARD_CANNOT_READ, Text(Ids::IDS_VCARD_CANNOT_READ) + Cp1252::fromQString(error));
        return 0;
    }
    QStringList leftOut;
    for (const VCardProblem& problem : read.problems) leftOut.append(problem.text);
    std::vector<DirEntry> entries = VCardImport::Entries(read.cards, ChoiceOf(request.m_nNumbers), &leftOut);
    const int offered = int(entries.size());
    const int added = VCardImport::AddToAddressBook(entries, m_store, m_questions, m_host);
    m_host.FillAbList(false);
    m_host.SetStatusText(Replace(Text(Ids::IDS_VCARD_IMPORTED), std::to_string(added), std::to_string(offered)));
    if (!leftOut.isEmpty())
        m_questions.ShowMessage(Ids::IDS_VCARD_LEFT_OUT, Text(Ids::IDS_VCARD_LEFT_OUT) + Cp1252::fromQString(leftOut.join(QLatin1Char('\n'))));
    return added;
}

bool VCardTransfer::Export(const VCardExportData& request, const DirTable& table, const std::vector<int>& chosen)
{
    const QList<VCardCard> cards = VCardExport::Cards(table, chosen);
    const VCardVersion version = request.m_nVersion == 4 ? VCardVersion::V4_0 : VCardVersion::V3_0;
    QString error;
    if (!VCardFile::Write(QString::fromStdString(request.m_strPath), VCardWriter::write(cards, version), &error)) {
        m_questions.ShowMessage(Ids::IDS_VCARD_CANNOT_WRITE, Text(Ids::IDS_VCARD_CANNOT_WRITE) + Cp1252::fromQString(error));
        return false;
    }
    m_host.SetStatusText(Replace(Text(Ids::IDS_VCARD_EXPORTED), std::to_string(cards.size()),
                                 Cp1252::fromQString(QString::fromStdString(request.m_strPath))));
    return true;
}
