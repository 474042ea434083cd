#include "level/sequences.h"

#include <cstdio>

#include "level/level.h"
#include "progress/players.h"
#include "progress/scores.h"
#include "shell/clock.h"
#include "shell/manifest.h"
#include "shell/media.h"
#include "shell/screen.h"
#include "text/text.h"
#include "trans/trans.h"

thread_local int cntintr = 0;
thread_local int cntgh = 0;
thread_local int biointo = 0;
thread_local int bioret = 0;
thread_local int ashcrystal = 0;
thread_local int psi = 0;
thread_local int pma = 0;
thread_local int pash = 0;
thread_local int mpk = 0;
thread_local int finalpart = 0;
thread_local int finalpartt = 0;
SDL_Surface* IntroImag[INTRO_IMAGES];
SDL_Surface* AshcrystalImg[ASHCRYSTAL_IMAGES];
SDL_Surface* SandImage[SAND_IMAGES];
SDL_Surface* Mapi = nullptr;

static bool Clicked(int button)
{
    return button != 0 && mousec == 0;
}

static void Transition(SDL_Surface* frame, SDL_Surface* picture, int effect)
{
    NLevel(frame, CopyScreen(frame), picture, effect, 5);
}

// Keeps a track playing: restarts it when the music has ended.
static void KeepMusic(int& latch, Mix_Music* music)
{
    if (!Mix_PlayingMusic())
        latch = 0;
    if (latch == 0) {
        latch = 1;
        PlayTune(music);
    }
}

// What is on the screen becomes the level's background (the map's picture, or
// the relic screen, which the next level frame starts from).
static void KeepScreenAsBackground(SDL_Surface* frame)
{
    if (LevelImage)
        SDL_FreeSurface(LevelImage);
    LevelImage = CopyScreen(frame);
}

int OpeningStory(SDL_Surface* frame, int x, int y, int button, int levelStar)
{
    if (cntintr == 1) {
        Transition(frame, IntroImag[1], 1);
        cntintr = 2;
    } else {
        apply_clip(0, 0, IntroImag[cntintr - 1], frame, nullptr);
    }
    KeepMusic(psi, musici);
    bool over = CornerButton(frame, x, y, forhon, forhoff);
    if (over && Clicked(button)) {
        cntintr += 1;
        if (cntintr > 5)
            psi = 0;
        biointo = 1;
        PlayEffect(&mdibtn);
        mousec = 1;
    }
    LevelCursor(frame, x - 20, y - 20, button != 0);
    return levelStar;
}

// A chapter's picture before its first level. Once left (or skipped after a
// retry) cntgh counts on past 5, one level frame per step.
int ChapterPicture(SDL_Surface* frame, int x, int y, int button, int levelStar)
{
    if (bioret == 1) {
        cntgh += 1;
        startTicks = 0;
        LEVEL_TIMER = 0;
        return levelStar;
    }
    if (ChapterIndexOf(level_no) != cntgh - 1)
        return -1;
    if (biointo == 0) {
        Transition(frame, IntroImag[4 + cntgh], 1);
        biointo = 1;
    } else {
        KeepMusic(pma, musica);
        apply_clip(0, 0, IntroImag[4 + cntgh], frame, nullptr);
    }
    bool over = CornerButton(frame, x, y, forhon, forhoff);
    if (over && Clicked(button)) {
        bioret = 1;
        pma = 0;
        cntgh += 1;
        PlayEffect(&mdibtn);
        startTicks = 0;
        LEVEL_TIMER = 0;
        PlayEffect(&gong);
        if (ashcrystal == 0)
            Transition(frame, LevelImage, 1);
        biointo = 0;
        mousec = 1;
    }
    LevelCursor(frame, x - 20, y - 20, button != 0);
    return levelStar;
}

// A level played again from the level list leads back to the list when it is
// won: no relic, no map, and the player's level and score stay as they were.
static int ReplayDone()
{
    end_level = prikpp = nijepust = dead = 0;
    drugiput = 0;
    replaying = 0;
    level_no = SCREEN_LEVELS;
    return SCREEN_LEVELS;
}

// The player's progress: the level to play next and the running score.
static void KeepProgress(int next)
{
    proshli = next;
    PlayerScore = poen;
    izmp = 1;
    biljezi();
}

void KeepWin()
{
    // A search's copy of the level, a replay, or a player with no record (the
    // tools play with none): nothing to keep.
    if (!OnGameThread() || replaying || FindPlayer(PlayerName) == 0)
        return;
    KeepProgress(level_no + 1);
}

int LevelAdvance(SDL_Surface* frame, int levelStar)
{
    mousec = 1;
    if (replaying)
        return ReplayDone();
    if (ashcrystal != 1 && ClosesChapter(level_no) && level_no <= CHAPTERS * LEVELS_PER_CHAPTER) {
        ashcrystal = level_no / LEVELS_PER_CHAPTER + 1;
        // The win was kept as the level was won (KeepWin); kept again here,
        // before the relic screen comes up, as leaving the panel always does.
        KeepProgress(level_no + 1);
        return levelStar;
    }
    if (ashcrystal != 1) {
        // The wipe frees the picture it wipes to, so it gets a copy of the background.
        Transition(frame, CopyScreen(LevelImage), 5);
    }
    level_no += 1;
    end_level = bioret = dead = prikpp = nijepust = ashcrystal = 0;
    KeepProgress(level_no);
    drugiput = 0;
    poen = 0;
    LEVEL_TIMER = 0;
    if (OpensChapter(level_no))
        cntgh = 0;  // a new chapter: its picture comes before its first level
    if ((proshli - 1) % 5 != 0) {
        lmap(level_no);
        return level_no;
    }
    Transition(frame, Mapi, 3);
    KeepScreenAsBackground(frame);
    level_no += SCREEN_MAP;
    rendle = 0;
    return level_no;
}

static const char* RelicMessage()
{
    if (ashcrystal == 7)
        return "You have collected the first part of Ashcrystal";
    if (ashcrystal == 10)
        return "You have collected the last part of Ashcrystal";
    return "You have collected the another part of Ashcrystal";
}

static void RelicDust(SDL_Surface* frame)
{
    static const int puff[4][4] = {
        {289, 205, 329, 245}, {296, 150, 229, 190}, {244, 139, 244, 179}, {138, 235, 138, 275}};
    if (ashcrystal < 7 || ashcrystal > 10)
        return;
    const int* p = puff[ashcrystal - 7];
    if (brss >= 1 && brss <= 40)
        apply_clip(p[0], p[1], SandImage[brss], frame, nullptr);
    if (brss >= 21 && brss <= 60)
        apply_clip(p[2], p[3], SandImage[brss - 20], frame, nullptr);
}

int RelicSequence(SDL_Surface* frame, int x, int y, int button, int levelStar)
{
    if (ashcrystal <= 5) {
        Transition(frame, AshcrystalImg[1], 1);
        ashcrystal += 5;
        brss = 1;
    } else {
        apply_clip(0, 0, AshcrystalImg[1], frame, nullptr);
        // Under the ending pictures their own tunes play; the relic music
        // would otherwise come back each time one ends and keep it away.
        if (ashcrystal <= 10)
            KeepMusic(pash, musicash);
        if (ashcrystal - 5 < ASHCRYSTAL_IMAGES)
            apply_clip(178, 113, AshcrystalImg[ashcrystal - 5], frame, nullptr);
    }
    if (mpk == 0)
        PlayEffect(&mmisce);
    mpk = 1;
    RelicDust(frame);
    if (brss > 60 && ashcrystal >= 7 && ashcrystal <= 10) {
        prikstr(frame, RelicMessage(), 30, 480, 3);
        if (ashcrystal == 10) {
            if (finalpart == 0 && finalpartt == 0)
                finalpartt = startTicks;
            if (finalpart == 0 && startTicks - finalpartt > 4000) {
                while (Fade(frame, AshcrystalImg[6], 1, 49, 85) != 1) {
                }
                finalpart = 1;
            }
            if (finalpart)
                apply_clip(49, 85, AshcrystalImg[6], frame, nullptr);
        }
    }
    if (ashcrystal == 11) {
        KeepMusic(pma, musicae);
        apply_clip(0, 0, IntroImag[9], frame, nullptr);
    } else if (ashcrystal == 12) {
        KeepMusic(pma, musicairo);
        apply_clip(0, 0, IntroImag[10], frame, nullptr);
    } else if (ashcrystal == 13) {
        level_no += 1;
        KeepProgress(level_no);
        return SCREEN_CREDITS;
    }
    bool hidden = ashcrystal == 10 && !(finalpart && startTicks - finalpartt > 4000);
    if (!hidden) {
        bool over = CornerButton(frame, x, y, forhon, forhoff);
        if (over && Clicked(button)) {
            pma = pash = mpk = 0;
            PlayEffect(&mdibtn);
            KeepScreenAsBackground(frame);
            startTicks = 0;
            LEVEL_TIMER = 0;
            ashcrystal = ashcrystal > 9 ? ashcrystal + 1 : 1;
            mousec = 1;
        }
    }
    LevelCursor(frame, x - 20, y - 20, button != 0);
    return levelStar;
}

void ResetSequences()
{
    cntgh = biointo = bioret = ashcrystal = 0;
    psi = pma = pash = mpk = 0;
    finalpart = finalpartt = 0;
    end_level = prikpp = nijepust = drugiput = 0;
    rendle = 0;
    tovita = tovitad = 0;
    replaying = 0;
    LevelStar = 1;
}

int ContinueLevel(int saved)
{
    if (saved < 1)
        return 1;
    return saved > LAST_LEVEL ? LAST_LEVEL : saved;
}

// The menu's loading normally brings these in with the rest of its art; this
// fills whatever it has not, so the level screen can be drawn on its own.
void LoadLevelScreenArt()
{
    static const ImageRow rows[] = {LEVEL_ART_IMAGES(IMAGE_ROW)};
    ForEachImage(rows, static_cast<int>(sizeof rows / sizeof rows[0]), 0, LoadIntoEmpty);
}
