#include "link/PhoneAnswers.h"

void PhoneAnswers::note(const QByteArray& command, const AtResponse& response)
{
    if (response.outcome == AtResponse::Outcome::Final) m_answeredAnything = true;
    const QByteArray line = command.trimmed().toUpper();
    if (line == "AT" && response.ok()) m_acceptedAt = true;
    if (line == "AT+CPBS=?") noteStorageList(response);
    else if (line.startsWith("AT+CPBS=") && response.ok()) m_selectedStorage = true;
}

void PhoneAnswers::noteStorageList(const AtResponse& response)
{
    m_askedForStorages = true;
    if (!response.ok()) return;
    for (const QByteArray& line : response.lines) {
        const auto payload = AtReply::payloadOf(line, "+CPBS");
        if (payload && !AtReply::parseList(*payload).isEmpty()) m_listedStorages = true;
    }
}

bool PhoneAnswers::lacksPhonebook() const
{
    return m_acceptedAt && m_askedForStorages && !m_listedStorages && !m_selectedStorage;
}
