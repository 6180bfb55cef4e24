#pragma once
// What the fuzz targets share: an invariant check that stays in optimised builds and the input as Qt bytes.
#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// abort() rather than assert(): NDEBUG removes asserts in the optimised fuzz build, and libFuzzer saves the
// input of any abort as a crash.
#define FUZZ_CHECK(condition)                                                                        \
    do {                                                                                             \
        if (!(condition)) {                                                                          \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                            \
        }                                                                                            \
    } while (false)

// A copy of exactly the input bytes, so that AddressSanitizer catches a read one byte beyond them.
inline QByteArray fuzzInput(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}
