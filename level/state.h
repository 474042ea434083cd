// The level-state list: every int global that level play changes from frame to
// frame, written once. Each entry is X(name, atStart, atLoad):
//   atStart  its value when the program starts (0 or 1), or KEEP when something
//            else sets it before a level runs (the loader, the dispatcher)
//   atLoad   0 when every level load and retry clears it, KEEP when a load
//            leaves it as it is
// The loader's reset, the simulator's fresh start and its save and restore all
// expand this list, so a global added here is reset and saved everywhere. The
// owners' headers declare the globals; this header declares none.
#ifndef TOVI_LEVEL_STATE_H
#define TOVI_LEVEL_STATE_H

#define LEVEL_STATE_INTS(X)                                                                                            \
    /* the board and the frame clock (level/board.h) */                                                                \
    X(ukupnot, KEEP, 0)                                                                                                \
    X(poen, KEEP, 0) X(startt, KEEP, 0) X(gett, KEEP, 0) /* the per-frame logic (level/proc.h) */                      \
        X(cnp, 0, 0) X(proslie, 0, 0) X(MoveX, 0, KEEP) X(MoveY, 0, KEEP) X(plmc, 0, KEEP) X(ispada, 0, 0)             \
            X(pomera, 0, KEEP) X(fallstep, 0, KEEP) X(LEVEL_TIMER, 0, 0)                                               \
                X(probo, 0, 0) /* the rules (level/rules.h) */                                                         \
        X(uiznad, 0, 0) X(tralala, 0, 0) X(MovingElement, 0, 0) X(pind, 0, 0) X(part, 0, 0) X(parta, 0, 0)             \
            X(partb, 0, 0) X(sklop, 0, KEEP) X(telex, 0, 0) X(telexi, 0, 0) X(telexo, 0, 0)                            \
                X(bio126, 0, 0) /* the objects (level/objects.h) */                                                    \
        X(spikedsi, 0, 0) X(imeUP, 0, 0) X(taster_pritisnut, 0, 0) X(prekameni, 0, 0) X(kameni, 0, 0) X(raspad, 0, 0)  \
            X(raspadx, 0, 0) X(raspady, 0, 0) X(spiked, 0, 0) X(spikex, 0, 0) X(spikey, 0, 0)                          \
                X(MicIndex, 0, 0) /* the shared input and screen flags (shell/screen.h) */                             \
        X(but, 0, KEEP) X(ToviMouseX, 0, KEEP) X(ToviMouseY, 0, KEEP) X(ToviRelativeMouseX, 0, KEEP)                   \
            X(ToviRelativeMouseY, 0, KEEP) X(kkeyk, 0, KEEP) X(mousechk, 1, KEEP) X(LevelStar, KEEP, KEEP)             \
                X(dple, 0, KEEP) X(dead, 0, KEEP) X(level_no, KEEP, KEEP) X(biodr, 0, KEEP) X(prikpp, 0, KEEP)         \
                    X(renddr, 0, KEEP) /* the retry dialog (level/retry.h) */                                          \
        X(dplev, 0, KEEP)              /* the level screen (level/render.h) */                                         \
        X(startTicks, 0, KEEP) X(mousec, 0, KEEP) X(mousenomoved, 0, KEEP) X(mousenomovel, 0, KEEP) X(brss, 0, KEEP)   \
            X(play_menu_music, KEEP, KEEP) X(movtim, 0, 0) X(movtel, 0, 0) X(movsp, 0, 0) X(movspr, 0, 0)              \
                X(parttim, 0, 0) X(end_level, 0, 0) X(nijepust, 0, KEEP) X(drugiput, 0, KEEP) X(LEVEL_TIME, 0, 0)      \
                    X(rendle, 0, KEEP) X(tovita, 0, KEEP) X(tovitad, 0, KEEP)                                          \
                        X(tovii, 1, KEEP) /* the story and chapter sequences (level/sequences.h) */                    \
        X(cntintr, KEEP, KEEP) X(cntgh, 0, KEEP) X(biointo, 0, KEEP) X(bioret, KEEP, KEEP) X(ashcrystal, 0, KEEP)      \
            X(psi, 0, KEEP) X(pma, 0, KEEP) X(pash, 0, KEEP) X(mpk, 0, KEEP) X(finalpart, KEEP, KEEP)                  \
                X(finalpartt, KEEP, KEEP) X(CaptionGone, 0, 0) /* the player's progress */                             \
        X(proshli, 0, KEEP) X(PlayerScore, 0, KEEP)                                                                    \
            X(izmp, 0, KEEP) /* the animation counters (level/board.h) and the clock (shell/clock.h) */                \
        X(FrameNo, KEEP, KEEP) X(vfrm, KEEP, KEEP) X(pfrm, KEEP, 0) X(clock_virtual, KEEP, KEEP)

// Expansions: LEVEL_STATE_INTS(LEVEL_STATE_AT_START) sets every global that has
// a start value, LEVEL_STATE_INTS(LEVEL_STATE_AT_LOAD) clears what a load clears.
#define LEVEL_STATE_SET_0(name) name = 0;
#define LEVEL_STATE_SET_1(name) name = 1;
#define LEVEL_STATE_SET_KEEP(name)
#define LEVEL_STATE_AT_START(name, atStart, atLoad) LEVEL_STATE_SET_##atStart(name)
#define LEVEL_STATE_AT_LOAD(name, atStart, atLoad) LEVEL_STATE_SET_##atLoad(name)

#endif
