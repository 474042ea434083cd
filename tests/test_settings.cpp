// The settings file: defaults, short files, the untouched first word, exactly
// 20 little-endian bytes, and a write that never leaves a short file behind.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <tuple>

#include "shell/settings.h"
#include "tests/harness.h"

using Bytes = std::vector<unsigned char>;

static Bytes Words(std::initializer_list<int> words)
{
    Bytes b;
    for (int w : words)
        for (int k = 0; k < 4; k++)
            b.push_back(static_cast<unsigned char>(static_cast<unsigned>(w) >> (8 * k)));
    return b;
}

static const Bytes Defaults = {0, 0, 0, 0, 0x32, 0, 0, 0, 0x32, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};

// What each file reads as, and what it holds afterwards. A muted music volume
// stays muted; missing words of a short file, and a partial last word, read as
// zero; a long file gives five words and odd values pass unchanged. No file, and
// a file shorter than two words, read as the defaults, which are written at
// once; a complete first word survives.
TEST(Settings, FilesReadWordByWord)
{
    Bytes partial = Words({1, 60, 40, 1, 0x7f7f7f7f});
    partial.resize(18);
    const Bytes longFile = Words({1234567, 200, -5, 7, 2, 77, 88}), defaultsAfter5 = Words({5, 50, 50, 1, 1});
    const struct {
        Bytes file;  // {0xff}: no file at all
        int words, music, effects, full, last;
        Bytes after;  // empty: as it was
    } cases[] = {
        {Words({-7, 0, 90, 0, 3}), 5, 0, 90, 0, 3, {}},
        {partial, 4, 60, 40, 1, 0, partial},  // the partial word is left as it was read
        {Words({0, 80, 20}), 3, 80, 20, 0, 0, {}},
        {Words({9, 0}), 2, 0, 0, 0, 0, {}},  // the music muted, and nothing more
        {longFile, 5, 200, -5, 7, 2, {}},
        {{0xff}, 4, 50, 50, 1, 1, Defaults},
        {{}, 4, 50, 50, 1, 1, Defaults},
        {{5, 0, 0}, 4, 50, 50, 1, 1, Defaults},
        {{5, 0, 0, 0, 99, 0, 0}, 4, 50, 50, 1, 1, defaultsAfter5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.size());
        InScratchDir dir;
        if (c.file != Bytes{0xff})
            WriteBytes(CONFIG_FILE, c.file);
        pod[0] = 0;
        ReadSettings();
        EXPECT_EQ(std::make_tuple(ukupod, slidm, slidf, fulls), std::make_tuple(c.words, c.music, c.effects, c.full));
        EXPECT_EQ(pod[4], c.last);
        EXPECT_EQ(ReadBytes(CONFIG_FILE), c.after.empty() ? c.file : c.after);
    }
}

// A directory where the temporary file should go makes the write fail; the old
// file is untouched and the failure is reported, not hidden. Once it is gone the
// write succeeds and says so.
TEST(Settings, AFailedWriteIsReportedAndLeavesTheOldFile)
{
    InScratchDir dir;
    WriteBytes(CONFIG_FILE, Words({1, 2, 3, 4, 5}));
    ASSERT_EQ(mkdir("config.dat.tmp", 0700), 0);
    pod[1] = 99;
    EXPECT_EQ(WriteSettings(), 0);
    EXPECT_EQ(ReadBytes(CONFIG_FILE), Words({1, 2, 3, 4, 5}));
    ASSERT_EQ(remove("config.dat.tmp"), 0);
    EXPECT_EQ(WriteSettings(), 1) << "once it is gone, a write succeeds and says so";
}
