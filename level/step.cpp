#include "level/step.h"

#include "level/level.h"
#include "shell/screen.h"

LevelOutcome LevelStep(int button, int x, int y)
{
    but = button;
    ToviMouseX = x;
    ToviMouseY = y;
    if (ProcLevel(nullptr, button, x, y, 0, 0, LevelStar, 0) == SCREEN_RETRY)
        return LEVEL_FAILED;
    int wasEnded = end_level;
    LevelStar = RendLevel(nullptr, x, y, button, KEY_NONE, LevelStar, 0);
    if (LevelStar == SCREEN_RETRY)
        return LEVEL_LEFT;
    if (wasEnded == 0 && end_level == 1)
        return LEVEL_WON;
    return LEVEL_GOING;
}
