// "config.dat" as the start-up reads it: whatever the file holds, the game gets
// its settings and a file that the next start reads back to the same settings.
#include <cstdint>
#include <cstring>

#include "shell/settings.h"
#include "tests/fuzz/fuzz_common.h"

int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSetUp();
    return 0;
}

int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    WriteBytes(CONFIG_FILE, std::vector<uint8_t>(data, data + size));
    pod[0] = 0;
    ReadSettings();
    FUZZ_CHECK(ukupod >= 0 && ukupod <= POD_WORDS);
    FUZZ_CHECK(slidm == pod[1] && slidf == pod[2] && fulls == pod[3]);
    if (size < 8)
        FUZZ_CHECK(pod[1] == 50 && pod[2] == 50 && pod[3] == 1 && pod[4] == 1);

    // What the options screen and the profile dialog write, the next start reads.
    int wrote[POD_WORDS];
    memcpy(wrote, pod, sizeof wrote);
    FUZZ_CHECK(WriteSettings() == 1);
    FUZZ_CHECK(ReadBytes(CONFIG_FILE).size() == POD_WORDS * 4);
    ReadSettings();
    FUZZ_CHECK(memcmp(wrote, pod, sizeof wrote) == 0);
    FUZZ_CHECK(ukupod == POD_WORDS);
    return 0;
}
