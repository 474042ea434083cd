// Everything of level play in one include.
#ifndef TOVI_LEVEL_LEVEL_H
#define TOVI_LEVEL_LEVEL_H

#include "level/assist.h"
#include "level/board.h"
#include "level/hint.h"
#include "level/objects.h"
#include "level/proc.h"
#include "level/render.h"
#include "level/retry.h"
#include "level/rules.h"
#include "level/sequences.h"
#include "level/state.h"
#include "level/undo.h"

#endif
