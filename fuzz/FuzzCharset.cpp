// The character-set conversions on arbitrary bytes: the names a phone sends in each of its sets
// (link/PhoneCharset.h, link/NameDecoding.h, link/SimAlphaId.h), the default alphabet and the record block's
// bytes (link/GsmAlphabet.h) and the program's own code page 1252 <-> GSM translation (model/FieldRules.h). No crash; no decoder gives more
// characters than its bytes can carry; whatever is accepted for sending is safe on the command line and
// decodes back to the same text.
#include "FuzzCheck.h"
#include "res/GsmAlphabet.h"
#include "link/NameDecoding.h"
#include "link/PhoneCharset.h"
#include "link/PhonebookRecords.h"
#include "link/SimAlphaId.h"
#include "model/FieldRules.h"

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

// Every character becomes one in the block: itself, or "?" when the block cannot hold it; never a zero byte.
// A name cut to its field keeps whole escape pairs.
void checkBlock(const QString& text, int nameLength)
{
    const QByteArray block = GsmAlphabet::encodeBlock(text);
    FUZZ_CHECK(!block.contains('\0'));
    const QString back = GsmAlphabet::decodeBlock(block);
    FUZZ_CHECK(back.size() == text.size());
    for (qsizetype i = 0; i < back.size(); ++i) FUZZ_CHECK(back[i] == text[i] || back[i] == u'?');
    const QByteArray cut = PhonebookRecords::blockName(text, nameLength);
    FUZZ_CHECK(cut.size() <= nameLength && block.startsWith(cut));
    FUZZ_CHECK(cut.isEmpty() || uchar(cut.back()) != GsmAlphabet::kEscape);
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
    FUZZ_CHECK(GsmAlphabet::decodeBlock(bytes).size() <= bytes.size());
    for (PhoneCharset charset : kCharsets) {
        const QString text = PhoneCharsets::decodeName(bytes, charset);
        FUZZ_CHECK(text.size() <= mostCharacters(bytes, charset));
        checkSending(text);
    }
}

// ToGsm and FromGsm undo each other for every text that holds no byte of the GSM side of the table (those
// only come from the phone) and no stand-in for "@"; a capital O with diaeresis comes back small.
void checkFieldRules(const std::string& bytes)
{
    std::string text = bytes;
    std::string gsm;
    ToGsm(text, gsm);
    FUZZ_CHECK(gsm.size() == (bytes.empty() ? 1 : bytes.size()));
    FUZZ_CHECK(text.find('\xD6') == std::string::npos);
    std::string back;
    FromGsm(gsm, back);
    const bool translatable = bytes.find_first_of(std::string(g_achGsmChars, kGsmPairCount) + kGsmAtSign) == std::string::npos;
    if (translatable && !bytes.empty()) FUZZ_CHECK(back == text);
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
    checkFieldRules(bytes.toStdString());
    return 0;
}
