// Where the dialogs, their buttons and the HUD stand on the 800 x 600 screen.
// Written by tools/gen/gen_geometry.py from tools/gen/art/geometry.py, which the
// art scripts draw from too: change the places there and run it again.
#ifndef TOVI_SHELL_GEOMETRY_H
#define TOVI_SHELL_GEOMETRY_H

#include <SDL.h>

struct ScreenAt {
    int x, y;
};
struct ScreenSize {
    int w, h;
};

// ---- panels --------------------------------------------------------------------
// The top left of every 560-wide dialog: the level menu, players, play, new game
// and options.
constexpr ScreenAt DIALOG_AT = {120, 80};
// The level menu's panel (the level lost's too), the players' and the new game question's.
constexpr ScreenSize DIALOG_SIZE = {560, 400};
// The level-complete panel, and the level-failed panel shown for two seconds.
constexpr ScreenAt LEVEL_DONE_AT = {120, 50};
constexpr ScreenAt LEVEL_FAILED_AT = {200, 145};

// ---- the level menu (and the lost level's dialog) ----------------------------------
// Each button: its hot area, and where its lit image is drawn.
constexpr SDL_Rect RETRY_MAIN_MENU = {240, 215, 330, 42};
constexpr ScreenAt RETRY_MAIN_MENU_AT = {235, 192};
constexpr SDL_Rect RETRY_RETRY = {310, 285, 185, 42};
constexpr ScreenAt RETRY_RETRY_AT = {235, 273};
constexpr SDL_Rect RETRY_CANCEL = {315, 360, 170, 72};
constexpr ScreenAt RETRY_CANCEL_AT = {307, 338};

// ---- the players' dialog and the new game question ---------------------------------
constexpr SDL_Rect PLAYER_NEW = {230, 168, 80, 27};
constexpr ScreenAt PLAYER_NEW_AT = {225, 156};
constexpr SDL_Rect PLAYER_EDIT = {360, 168, 80, 27};
constexpr ScreenAt PLAYER_EDIT_AT = {341, 156};
constexpr SDL_Rect PLAYER_DELETE = {490, 168, 70, 27};
constexpr ScreenAt PLAYER_DELETE_AT = {459, 156};
// OK and CANCEL, in both dialogs.
constexpr SDL_Rect DIALOG_OK = {220, 375, 155, 66};
constexpr ScreenAt DIALOG_OK_AT = {220, 372};
constexpr SDL_Rect DIALOG_CANCEL = {410, 375, 155, 66};
constexpr ScreenAt DIALOG_CANCEL_AT = {401, 372};
// The list's first row; the next rows follow its height apart.
constexpr SDL_Rect PLAYER_ROW = {230, 205, 250, 30};
constexpr int PLAYER_ROWS = 5;
// The page buttons beside the list: the image and hot area are the same.
constexpr SDL_Rect PLAYER_PAGE_UP = {530, 210, 53, 60};
constexpr SDL_Rect PLAYER_PAGE_DOWN = {530, 310, 53, 60};

// ---- the play dialog -------------------------------------------------------------
// Taller than the others: the close button reaches y 456.
constexpr ScreenSize GAME_DIALOG_SIZE = {560, 420};
constexpr SDL_Rect GAME_NEW = {235, 175, 330, 70};
constexpr ScreenAt GAME_NEW_AT = {235, 174};
constexpr SDL_Rect GAME_CONTINUE = {236, 245, 330, 70};
constexpr ScreenAt GAME_CONTINUE_AT = {235, 245};
constexpr SDL_Rect GAME_HIGH_SCORES = {237, 315, 330, 70};
constexpr ScreenAt GAME_HIGH_SCORES_AT = {235, 315};
constexpr SDL_Rect GAME_CLOSE = {335, 385, 140, 68};
constexpr ScreenAt GAME_CLOSE_AT = {337, 386};
// The way to the level list, drawn by the game beside CLOSE (resting and lit).
constexpr SDL_Rect LEVELS_BUTTON = {490, 392, 140, 54};
constexpr ScreenAt LEVELS_BUTTON_AT = {487, 389};

// ---- the level list ------------------------------------------------------------------
constexpr ScreenAt LEVEL_LIST_AT = {120, 50};
constexpr ScreenSize LEVEL_LIST_SIZE = {560, 500};
// A level's tablet, five to a row, five rows, the first at LEVEL_GRID_AT.
constexpr ScreenSize LEVEL_CELL_SIZE = {88, 56};
constexpr ScreenAt LEVEL_PITCH = {100, 64};
constexpr ScreenAt LEVEL_GRID_AT = {156, 150};
constexpr SDL_Rect LEVEL_LIST_CLOSE = {335, 480, 140, 50};
constexpr ScreenAt LEVEL_LIST_CLOSE_AT = {332, 477};
// The chapter before and the chapter after: the image and hot area are the same.
constexpr SDL_Rect LEVEL_LIST_LEFT = {200, 70, 53, 60};
constexpr SDL_Rect LEVEL_LIST_RIGHT = {547, 70, 53, 60};

// ---- the page buttons' images (players' dialog and level list) ----------------------
constexpr ScreenSize PAGE_SIZE = {53, 60};

// ---- the options -------------------------------------------------------------------
constexpr ScreenSize OPTIONS_SIZE = {560, 410};
constexpr SDL_Rect OPTIONS_OK = {310, 385, 140, 60};
constexpr ScreenAt OPTIONS_OK_AT = {321, 379};
// The sliders' knob, drawn at (KNOB_LEFT + 1.485 v, y) for a volume v of 0..127.
constexpr ScreenSize KNOB_SIZE = {22, 44};
constexpr int KNOB_LEFT = 360;
constexpr int KNOB_RIGHT = 548;
constexpr int KNOB_MUSIC_Y = 196;
constexpr int KNOB_SOUND_Y = 262;
// The full-screen box: where its check mark is drawn, and the hot area (the sunk
// box the mark ticks starts one pixel in from its top left).
constexpr ScreenAt CHECK_AT = {476, 309};
constexpr SDL_Rect CHECK_HOT = {485, 330, 35, 35};
// The window's size, 1x to 3x, under the full-screen box: hot areas and where
// their images are drawn.
constexpr SDL_Rect WINDOW_SIZE_HOT[3] = {{504, 404, 36, 34}, {548, 404, 36, 34}, {592, 404, 36, 34}};
constexpr ScreenAt WINDOW_SIZE_AT[3] = {{501, 401}, {545, 401}, {589, 401}};
// The centre of the "WINDOW" caption above them.
constexpr ScreenAt WINDOW_CAPTION_AT = {566, 388};

// ---- the main menu -------------------------------------------------------------------
// The strip of items, drawn from one column of its frames at MENU_AT.
constexpr ScreenAt MENU_AT = {24, 225};
constexpr ScreenSize MENU_FRAME_SIZE = {300, 400};
constexpr int MENU_FRAMES = 11;
// The first item's hot area; each next one lies MENU_ITEM_STEP further.
constexpr SDL_Rect MENU_ITEM = {93, 280, 120, 50};
constexpr ScreenAt MENU_ITEM_STEP = {3, 60};
// The loading screen's tape, filled a cell at a time.
constexpr ScreenAt TAPE_AT = {138, 383};
constexpr ScreenSize TAPE_SIZE = {517, 44};
constexpr int TAPE_STEP = 47;

// ---- the corner buttons (go on, back to the menu) ------------------------------------
constexpr ScreenAt CORNER_BUTTON_AT = {660, 500};
constexpr ScreenSize CORNER_BUTTON_SIZE = {113, 75};

// ---- credits ---------------------------------------------------------------------------
// The window the credits' text rolls through.
constexpr SDL_Rect CREDITS_WINDOW = {60, 70, 690, 520};

// ---- help -------------------------------------------------------------------------------
// The four slots of a page (top left, top right, bottom left, bottom right): where
// each video stands and where its play button is drawn.
constexpr ScreenAt HELP_VIDEO_AT[4] = {{95, 90}, {430, 95}, {95, 340}, {430, 345}};
constexpr ScreenSize HELP_VIDEO_SIZE = {240, 180};
constexpr ScreenAt HELP_PLAY_AT[4] = {{200, 163}, {534, 163}, {200, 409}, {534, 409}};
// The page buttons in the top corners (back at the left, on at the right).
constexpr ScreenSize HELP_PAGE_SIZE = {110, 72};
constexpr ScreenAt HELP_PAGE_RIGHT_AT = {690, 0};

// ---- the HUD --------------------------------------------------------------------------
// The level's own buttons beside the portrait, over the carved sun roundels.
constexpr SDL_Rect HUD_UNDO = {244, 522, 106, 52};
constexpr SDL_Rect HUD_HINT = {450, 522, 106, 52};
// The menu tablet at the bottom left.
constexpr SDL_Rect HUD_MENU = {24, 546, 110, 40};
// The hero's portrait.
constexpr SDL_Rect HUD_PORTRAIT = {362, 504, 76, 92};

#endif
