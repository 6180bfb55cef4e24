#pragma once

#include "model/VCardCardBuilder.h"
#include "model/VCardReader.h"

#include <QByteArray>

#include <optional>

class VCardLine;

// Follows BEGIN:VCARD and END:VCARD through the logical lines of a file: keeps the cards that were read whole and
// names in the result's problems those that were not.
class VCardCardCollector {
public:
    explicit VCardCardCollector(VCardReadResult& result) : m_result(result) {}

    void take(int lineNumber, const QByteArray& text);
    void endOfFile();

    static VCardProblem problem(int line, const QString& sentence);

private:
    void begin(int lineNumber);
    void interrupt(int lineNumber);
    void finish();

    VCardReadResult& m_result;
    std::optional<VCardCardBuilder> m_open;
};
