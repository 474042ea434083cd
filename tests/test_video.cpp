// The video player on small Theora files made here with ffmpeg: pacing on the
// virtual clock, the rectangle a video covers, files with other streams, and
// damaged, cut and missing files, none of which may crash or hang the player.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "shell/clock.h"
#include "shell/screen.h"
#include "tests/harness.h"
#include "video/video.h"

namespace {

std::string videoDir;

// A red clip with a green square moving across its middle, `frames` frames at
// `rate` frames per second (the rate is what the stream's numerator says).
std::string MakeClip(const std::string& name, const std::string& extra, int rate = 25, int frames = 10)
{
    std::string path = videoDir + "/" + name;
    std::string r = std::to_string(rate);
    std::string d = std::to_string(frames / static_cast<double>(rate) + 0.5);
    std::string cmd = "ffmpeg -nostdin -loglevel error -y -f lavfi -i 'color=c=red:s=240x180:r=" + r + ":d=" + d +
                      "[bg];color=c=green:s=24x24:r=" + r + "[fg];[bg][fg]overlay=x=40+n*4:y=60:shortest=1' " + extra +
                      " -frames:v " + std::to_string(frames) + " -c:v libtheora -q:v 6 '" + path + "'";
    std::string err;
    if (RunCommand(cmd, nullptr, &err) != 0)
        ADD_FAILURE() << "ffmpeg could not make " << name << ": " << err;
    return path;
}

bool Red(int x, int y)
{
    Uint8 r, g, b;
    SDL_GetRGB(PixelAt(screen, x, y), screen->format, &r, &g, &b);
    return r > 200 && g < 70 && b < 70;
}

class Video : public ::testing::Test {
protected:
    static void SetUpTestSuite() { videoDir = ScratchDir(); }
    static void TearDownTestSuite() { RunCommand("rm -rf '" + videoDir + "'"); }
    void SetUp() override
    {
        HarnessOpen();
        video_paced = 1;
        blue = SDL_MapRGB(screen->format, 0, 0, 255);
        SDL_FillRect(screen, nullptr, blue);
    }
    void TearDown() override { VideoRelease(); }
    Uint32 blue = 0;

    // Plays the file at (430, 95) and returns the virtual milliseconds it took.
    Uint32 Play(const std::string& path, int x = 430, int y = 95)
    {
        Uint32 before = ClockTicks();
        LoadPlayV(path.c_str(), x, y);
        return ClockTicks() - before;
    }
};

// The numerator is the frame's time in milliseconds: 25/1 shows each frame
// 25 ms, 40/1 40 ms; every frame of the file is shown.
TEST_F(Video, FramesStayUpForTheNumeratorInMilliseconds)
{
    const int rates[] = {25, 40};
    for (int rate : rates) {
        std::string path = MakeClip("rate" + std::to_string(rate) + ".ogg", "", rate, 12);
        Uint32 took = Play(path);
        EXPECT_EQ(ti.fps_numerator, static_cast<ogg_uint32_t>(rate));
        EXPECT_EQ(video_frames, 12) << rate;
        EXPECT_TRUE(took >= 12u * rate && took <= 12u * rate + 2) << rate << ": " << took;
    }
    // The splash (drawn at x 0) waits 800 ms after each read while it looks for
    // the stream's headers, so it starts no sooner than that.
    Uint32 took = Play(videoDir + "/rate25.ogg", 0, 0);
    EXPECT_GE(took, 800u + 12u * 25u);
}

TEST_F(Video, ABoxVideoCoversExactlyItsRectangle)
{
    Play(MakeClip("box.ogg", ""));
    ASSERT_EQ(video_frames, 10);
    EXPECT_EQ(std::make_tuple(rectvi.w, rectvi.h), std::make_tuple(240, 180));
    const int inside[][2] = {{430, 95}, {669, 95}, {430, 274}, {669, 274}, {550, 170}};
    for (const auto& p : inside)
        EXPECT_TRUE(Red(p[0], p[1])) << p[0] << "," << p[1];
    const int outside[][2] = {{429, 95}, {670, 95}, {430, 94}, {430, 275}, {669, 275}, {670, 274}};
    for (const auto& p : outside)
        EXPECT_EQ(PixelAt(screen, p[0], p[1]), blue) << p[0] << "," << p[1];
}

// Only the Theora stream is played; a sound stream before it is read past. A
// file without video, a stream the YV12 overlay cannot take unscaled and one cut
// off inside its headers show nothing; a missing file returns at once.
TEST_F(Video, OtherStreamsAreReadPastAndUnplayableFilesShowNothing)
{
    std::string withSound =
        MakeClip("sound_first.ogg", "-f lavfi -i sine=frequency=440:duration=0.4 -map 1:a -map 0:v -c:a libvorbis");
    EXPECT_GE(Play(withSound), 250u);
    EXPECT_EQ(video_frames, 10);

    std::string soundOnly = videoDir + "/sound_only.ogg";
    ASSERT_EQ(
        RunCommand("ffmpeg -nostdin -loglevel error -y -f lavfi -i sine=duration=1 -c:a libvorbis '" + soundOnly + "'"),
        0);
    SDL_FillRect(screen, nullptr, blue);
    EXPECT_LE(Play(soundOnly), 1u);
    EXPECT_EQ(std::make_tuple(video_frames, theora_p, PixelAt(screen, 430, 95)), std::make_tuple(0, 0, blue));

    Play(MakeClip("chroma422.ogg", "-pix_fmt yuv422p"));
    EXPECT_EQ(std::make_tuple(video_frames, yuv_overlay), std::make_tuple(0, nullptr));

    std::vector<unsigned char> clip = ReadBytes(MakeClip("whole.ogg", "", 25, 30));
    ASSERT_GT(clip.size(), 5000u);
    std::string cut = videoDir + "/cut.ogg";
    WriteBytes(cut, std::vector<unsigned char>(clip.begin(), clip.begin() + 100));
    EXPECT_LE(Play(cut), 1u);
    EXPECT_EQ(video_frames, 0);
    // Cut in the middle of the pictures: what arrived plays, then the call ends.
    WriteBytes(cut, std::vector<unsigned char>(clip.begin(), clip.begin() + clip.size() * 2 / 3));
    Play(cut);
    EXPECT_TRUE(video_frames > 0 && video_frames < 30) << video_frames;

    EXPECT_EQ(Play(videoDir + "/no_such_file.ogg"), 0u);
    EXPECT_EQ(video_frames, 0);
    Play(videoDir);  // a directory opens but cannot be read
    EXPECT_EQ(video_frames, 0);
}

// Bytes overwritten at random places or the file cut at a random point: every
// one of these returns, and the sanitizer build checks that nothing reads or
// writes out of bounds or leaks on the way.
TEST_F(Video, DamagedFilesNeverCrashOrHang)
{
    std::vector<unsigned char> clip = ReadBytes(MakeClip("fuzz.ogg", "", 25, 20));
    ASSERT_GT(clip.size(), 1000u);
    std::mt19937 rng(12345);
    std::string damaged = videoDir + "/damaged.ogg";
    int played = 0;
    for (int round = 0; round < 160; round++) {
        std::vector<unsigned char> bytes = clip;
        if (round % 2 == 0) {
            int hits = 1 + static_cast<int>(rng() % 24);
            for (int i = 0; i < hits; i++)
                bytes[rng() % bytes.size()] = static_cast<unsigned char>(rng());
        } else {
            bytes.resize(rng() % bytes.size());
        }
        WriteBytes(damaged, bytes);
        Uint32 took = Play(damaged);
        EXPECT_LE(took, 20u * VIDEO_MAX_FRAME_MS) << "round " << round;
        EXPECT_LE(video_frames, 40) << "round " << round;
        played += video_frames > 0;
    }
    EXPECT_GT(played, 20) << "most damage leaves something to play";
}

}  // namespace

// A click or a key skips the rest of a clip or of the splash, even while the
// splash waits for its headers; closing the window skips it and ends the game.
// Whatever cut it short, the clip lets go within a frame.
TEST_F(Video, AClickAKeyOrTheWindowsCloseCutsAClipShort)
{
    std::string path = MakeClip("long.ogg", "", 40, 60);
    const Uint8 kinds[] = {SDL_MOUSEBUTTONDOWN, SDL_KEYDOWN, SDL_QUIT};
    for (Uint8 kind : kinds) {
        for (int x : {430, 0}) {
            m_bQuit = 0;
            SDL_Event e;
            memset(&e, 0, sizeof e);
            e.type = kind;
            if (kind == SDL_MOUSEBUTTONDOWN)
                e.button.button = SDL_BUTTON_LEFT;
            SDL_PushEvent(&e);
            Uint32 took = Play(path, x, x == 0 ? 0 : 95);
            EXPECT_EQ(video_skipped, 1) << int(kind);
            EXPECT_LT(took, 200u) << int(kind) << " at " << x;
            EXPECT_EQ(m_bQuit, kind == SDL_QUIT ? 1 : 0);
        }
    }
    m_bQuit = 0;
    Play(path);
    EXPECT_EQ(video_skipped, 0);
    EXPECT_EQ(video_frames, 60) << "untouched, the clip plays to its end";
}
