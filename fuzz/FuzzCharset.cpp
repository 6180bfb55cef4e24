// The character-set conversions on arbitrary bytes: the names a phone sends in each of its sets
// (link/PhoneCharset.h, link/NameDecoding.h, link/SimAlphaId.h), the default alphabet (res/GsmAlphabet.h), the
// record block's name field (link/PhonebookRecords.h) and the program's rules for a name bound for the telephone
// (model/TelephoneName.h). No crash; no decoder gives more characters than its bytes can carry; whatever is
// accepted for sending is safe on the command line and decodes back to the same text; what the program makes of a
// name fits the telephone and stays as it is when corrected again.
#include "FuzzCheck.h"
#include "res/GsmAlphabet.h"
#include "link/NameDecoding.h"
#include "link/PhoneCharset.h"
#include "link/PhonebookRecords.h"
#include "link/SimAlphaId.h"
#include "model/FieldRules.h"
#include "model/TelephoneName.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace {
constexpr PhoneCharset kCharsets[] = {PhoneCharset::Ucs2, PhoneCharset::Hex, PhoneCharset::Gsm, PhoneCharset::Ira,
                                      PhoneCharset::Latin1};

bool hexDigitsOnly(const QByteArray& field)
{
    return std::all_of(field.begin(), field.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
}

// Most characters a field can stand for: four hex digits per UCS2 unit, two per HEX code (an escape pair
// gives one character from two codes), one byte per character otherwise.
qsizetype mostCharacters(const QByteArray& field, PhoneCharset charset)
{
    const bool hexOnly = !field.isEmpty() && hexDigitsOnly(field);
    if (charset == PhoneCharset::Ucs2 && hexOnly && field.size() % 4 == 0) return field.size() / 4;
    if (charset == PhoneCharset::Hex && hexOnly && field.size() % 2 == 0) return field.size() / 2;
    return field.size();
}

// Bytes that would end the quoted name or the command line inside AT+CPBW.
bool safeOnTheLine(const QByteArray& field)
{
    return std::none_of(field.begin(), field.end(), [](char c) {
        return c == '"' || c == '\r' || c == '\n' || c == '\x1A' || c == '\x1B' || c == '\0';
    });
}

void checkSending(const QString& text)
{
    for (PhoneCharset charset : kCharsets) {
        QByteArray field;
        const bool exact = PhoneCharsets::encodeName(text, charset, &field);
        if (charset == PhoneCharset::Ucs2 || charset == PhoneCharset::Hex) FUZZ_CHECK(hexDigitsOnly(field));
        if (!exact) continue;
        FUZZ_CHECK(safeOnTheLine(field));
        FUZZ_CHECK(PhoneCharsets::decodeName(field, charset) == text);
    }
}

// The block's name field holds the name as UTF-8, cut at a character and never past the field.
void checkBlock(const QString& text, int fieldSize)
{
    const QByteArray whole = text.toUtf8();
    const QByteArray cut = PhonebookRecords::blockName(text, fieldSize);
    FUZZ_CHECK(cut.size() <= fieldSize && whole.startsWith(cut));
    FUZZ_CHECK(QString::fromUtf8(cut).toUtf8() == cut);
    FUZZ_CHECK(cut.size() == whole.size() || cut.size() > fieldSize - 4);
}

// The decoding by what the field is: never more characters than bytes (a field of hex digits that reads as
// no coding is plain text, "CAFE" or "1234"); a SIM coding gives at most one character per byte after its header.
void checkNameDecoding(const QByteArray& bytes, const NameDecoding::Hints& hints)
{
    for (PhoneCharset charset : kCharsets) FUZZ_CHECK(NameDecoding::decode(bytes, charset, hints).size() <= bytes.size());
    if (const auto sim = SimAlphaId::decode(bytes)) FUZZ_CHECK(sim->size() < bytes.size());
}

void checkDecoding(const QByteArray& bytes)
{
    FUZZ_CHECK(GsmAlphabet::decodeCodes(bytes).size() <= bytes.size());
    for (PhoneCharset charset : kCharsets) {
        const QString text = PhoneCharsets::decodeName(bytes, charset);
        FUZZ_CHECK(text.size() <= mostCharacters(bytes, charset));
        checkSending(text);
    }
}

// A name as the telephone will hold it: nothing forbidden, within the limit of its encoding, only GSM
// characters on a telephone without UCS2, and the same again when corrected once more.
void checkTelephoneName(const std::string& name, const TelephoneNameLimits& limits)
{
    const std::string held = TelephoneName::ForTelephone(name, limits);
    std::string unused;
    FUZZ_CHECK(StripForbidden(held, unused));
    FUZZ_CHECK(TelephoneName::ForTelephone(held, limits) == held);
    FUZZ_CHECK(TelephoneName::LengthOf(held) <= TelephoneName::LimitOf(held, limits));
    if (limits.m_nGsmLen > 0 && limits.m_nUcs2Len == 0) FUZZ_CHECK(TelephoneName::EncodingOf(held) == TelephoneName::Encoding::Gsm);
    const std::string vip = TelephoneName::AsSent(held, true, limits);
    FUZZ_CHECK(TelephoneName::LengthOf(vip) <= TelephoneName::LimitOf(vip, limits));
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzzInput(data, size);
    checkDecoding(bytes);
    // The last byte picks what is known of the phone, so that the same field is tried with each.
    const uint8_t last = size ? data[size - 1] : 0;
    checkNameDecoding(bytes, NameDecoding::Hints{(last & 1) != 0, (last & 2) != 0});
    const QString text = QString::fromUtf8(bytes);
    checkSending(text);
    checkBlock(text, size ? data[0] : 0);
    // The first byte also gives the name length, the second whether the phone has UCS2.
    const int nameLength = size ? data[0] % 41 : 0;
    checkTelephoneName(text.toStdString(), {nameLength, size > 1 && (data[1] & 1) ? (nameLength - 1) / 2 : 0});
    return 0;
}
