// The game's sounds: every file the code loads is there and loads through the
// mixer; tunes and clips are long enough (and the magnet's short enough); and in
// a level played with the real sounds each event asks for its effect once.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>

#include "tests/scenario.h"

namespace {

// Tunes the code plays on and on need at least 40 s; picture and relic pieces 10 s.
struct Tune {
    const char* file;
    double minSeconds;
};
const Tune Tunes[] = {
    {"main", 40},    {"level1", 40},  {"level2", 40},     {"level3", 40}, {"level4", 40},     {"intro", 40},
    {"maploop", 40}, {"credits", 40}, {"ashcrystal", 10}, {"anubis", 10}, {"anubis_end", 10}, {"cairo", 10},
};

const char* const Effects[] = {
    "gong",  "connect", "telep",      "blato",         "coin",       "cup",       "helm",
    "ring",  "misc_el", "dialog_btn", "magnet_action", "magnet_off", "magnet_on", "magnet_btn",
    "slide", "spike",   "stone",      "finished",      "retry",      "tomb",      "camel",
};

const char* const Voice[] = {
    "ace1",   "ace2",        "ace3",        "bizzo1",  "bizzo2",  "bizzo3", "dinkey1", "duxedit", "ozz1",
    "ripper", "roo1",        "roo2",        "roo3",    "roo4",    "burle1", "burle2",  "ambo1",   "ambo2",
    "ambo3",  "bloodyoath1", "bloodyoath2", "bourke1", "bourke2", "comeon", "sickie1", "sickie2",
};

constexpr int Rate = 44100;
constexpr int FrameBytes = 4;  // 16-bit stereo

class Audio : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudio(Rate, AUDIO_S16LSB, 2, 4096), 0) << Mix_GetError();
    }
    void TearDown() override
    {
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
};

std::string AudioPath(const char* name)
{
    return std::string("media/audio/") + name + ".ogg";
}

double Seconds(const Mix_Chunk* chunk)
{
    return static_cast<double>(chunk->alen) / (Rate * FrameBytes);
}

}  // namespace

// Every tune loads as music and lasts long enough.
TEST_F(Audio, TunesLoadAndLastLongEnough)
{
    for (const Tune& t : Tunes) {
        std::string path = AudioPath(t.file);
        Mix_Music* music = Mix_LoadMUS(path.c_str());
        EXPECT_NE(music, nullptr) << path << ": " << Mix_GetError();
        Mix_FreeMusic(music);
        // The mixer can decode a whole tune into a chunk, which tells its length.
        Mix_Chunk* all = Mix_LoadWAV(path.c_str());
        ASSERT_NE(all, nullptr) << path;
        EXPECT_GE(Seconds(all), t.minSeconds) << path;
        Mix_FreeChunk(all);
    }
}

// Effects are short clips, voice lines quick remarks that say something. The
// magnet asks for two of them on every 20 ms frame while it works: each must be
// one frame long and start and end in silence, so back to back they hum rather
// than click or pile up.
TEST_F(Audio, EffectsAndVoiceLoadAsShortClipsAndTheMagnetsHum)
{
    const struct {
        const char* dir;
        const char* const* names;
        size_t count;
        double minSeconds, maxSeconds;
    } kinds[] = {{"media/audio/", Effects, std::size(Effects), 1e-6, 5.0},
                 {"media/audio/speak/", Voice, std::size(Voice), 0.3, 3.0}};
    int hums = 0;
    for (const auto& kind : kinds)
        for (size_t i = 0; i < kind.count; i++) {
            std::string path = std::string(kind.dir) + kind.names[i] + ".ogg";
            Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
            ASSERT_NE(chunk, nullptr) << path << ": " << Mix_GetError();
            bool hum = path == AudioPath("magnet_action") || path == AudioPath("magnet_on");
            double secs = Seconds(chunk);
            EXPECT_TRUE(secs >= (hum ? 0.015 : kind.minSeconds) && secs <= (hum ? 0.025 : kind.maxSeconds))
                << path << ": " << secs;
            if (hum) {
                hums++;
                const Sint16* s = reinterpret_cast<const Sint16*>(chunk->abuf);
                int n = static_cast<int>(chunk->alen / 2), loudest = 0;
                for (int k = 0; k < n; k++)
                    loudest = std::max(loudest, std::abs(static_cast<int>(s[k])));
                EXPECT_GT(loudest, 8000) << path << " is audible";
                for (int k : {0, 1, n - 2, n - 1})
                    EXPECT_LT(std::abs(static_cast<int>(s[k])), loudest / 8) << path << " sample " << k;
            }
            Mix_FreeChunk(chunk);
        }
    EXPECT_EQ(hums, 2);
}

// A level played with the real sounds loaded: the effects the level asks for
// (one per match here) really play on a channel. Which event asks for which
// effect, and how often, the level tests count.
TEST_F(Audio, LevelEventsPlayTheirEffects)
{
    using namespace scenario;
    LoadBoard({
        ".j.....b............",
        "....................",
        ".j.....b..d.....d...",  // the d's keep the level going
        "####################",
    });
    Idle(2);
    ASSERT_NE(GoneEl, nullptr) << "the level's sounds were loaded";
    Idle(30);
    EXPECT_EQ(Heard(&GoneEl), 2) << "two matches, one sound each";
    EXPECT_GT(Mix_Playing(-1), 0) << "the match sound is playing";
}
