// A fuzz target with one planted fault, for checking the fuzz scripts rather than the program: it aborts on an
// input that begins with "!!", which libFuzzer reaches within seconds from any seed through the "!" step.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size >= 1 && data[0] == '!') {
        if (size >= 2 && data[1] == '!') std::abort();
    }
    return 0;
}
