// What every fuzz harness shares: a scratch folder to play in, the dummy
// display, and a reader that takes a fuzzer's bytes as a plain stream (bytes,
// little-endian words, pieces) with zeros once it runs dry.
#ifndef TOVI_TESTS_FUZZ_COMMON_H
#define TOVI_TESTS_FUZZ_COMMON_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/harness.h"

// The two entry points libFuzzer calls, defined by each harness: the set-up,
// once, and one run on one input.
extern "C" {
int LLVMFuzzerInitialize(int* argc, char*** argv);
int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
}

// Enters a fresh scratch folder (removed when the process ends) with the game's
// levels linked in under media/levels, and opens the dummy display on the virtual
// clock. Pictures and sounds stay away: a missing one draws or plays nothing, and
// the harness spends its time in the game's own code. Call once.
void FuzzSetUp();

// Files are written and read by WriteBytes and ReadBytes of tests/harness.h.

// A finding of the harness's own check: prints it and aborts, which libFuzzer
// reports like a crash, with the input that caused it.
[[noreturn]] void FuzzFail(const char* what);
#define FUZZ_CHECK(cond)                                                                                               \
    do {                                                                                                               \
        if (!(cond))                                                                                                   \
            FuzzFail(#cond);                                                                                           \
    } while (0)

class FuzzReader {
public:
    FuzzReader(const uint8_t* data, size_t size) : p(data), n(size) { }
    bool empty() const { return n == 0; }
    int Byte()
    {
        if (n == 0)
            return 0;
        n--;
        return *p++;
    }
    int Word16() { return Byte() | Byte() << 8; }
    int Word32() { return static_cast<int>(static_cast<uint32_t>(Word16()) | static_cast<uint32_t>(Word16()) << 16); }
    std::vector<uint8_t> Take(size_t count)
    {
        const uint8_t* at = p;
        size_t k = Skip(count);
        return std::vector<uint8_t>(at, at + k);
    }
    // Passes over up to count bytes (they stay where they are, from Next() on)
    // and returns how many there were.
    size_t Skip(size_t count)
    {
        size_t k = count < n ? count : n;
        p += k;
        n -= k;
        return k;
    }
    const uint8_t* Next() const { return p; }

private:
    const uint8_t* p;
    size_t n;
};

#endif
