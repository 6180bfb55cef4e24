#pragma once
// What a device on the line has answered so far on one connection: enough to tell a silent port or a
// data-only modem from a telephone when a request fails.
#include "link/AtChannel.h"

#include <QByteArray>

class PhoneAnswers {
public:
    // Fed with every command and its end (AtChannel::setObserver).
    void note(const QByteArray& command, const AtResponse& response);

    // "AT" was answered OK at least once.
    bool acceptedAt() const { return m_acceptedAt; }
    // Some command got a final result, even an error.
    bool answeredAnything() const { return m_answeredAnything; }
    // A device that takes AT commands, yet neither listed a phone-book storage nor let one be selected.
    bool lacksPhonebook() const;

private:
    void noteStorageList(const AtResponse& response);

    bool m_acceptedAt = false;
    bool m_answeredAnything = false;
    bool m_askedForStorages = false;
    bool m_listedStorages = false;
    bool m_selectedStorage = false;
};
