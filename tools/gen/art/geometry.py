"""Where the dialogs, their buttons and the HUD stand on the 800 x 600 screen.

The one list of these places: the art scripts draw the panels and buttons from
it, and `/usr/bin/python3 tools/gen/gen_geometry.py` writes it out as the C++
header shell/geometry.h that the screens and the tests use (CTest checks the
committed header is what this file gives).

Only literals stand here, one name each, in screen pixels. The header's form
follows the value: a whole number is an int; a pair named ..._SIZE is a
ScreenSize {w, h}, any other pair a ScreenAt {x, y}; a four (x, y, w, h) is an
SDL_Rect; a list of pairs or fours is an array of them. Comments above a name
go into the header with it.
"""

# ---- panels --------------------------------------------------------------------

# The top left of every 560-wide dialog: the level menu, players, play, new game
# and options.
DIALOG_AT = (120, 80)
# The level menu's panel (the level lost's too), the players' and the new game question's.
DIALOG_SIZE = (560, 400)
# The level-complete panel, and the level-failed panel shown for two seconds.
LEVEL_DONE_AT = (120, 50)
LEVEL_FAILED_AT = (200, 145)

# ---- the level menu (and the lost level's dialog) ----------------------------------

# Each button: its hot area, and where its lit image is drawn.
RETRY_MAIN_MENU = (240, 215, 330, 42)
RETRY_MAIN_MENU_AT = (235, 192)
RETRY_RETRY = (310, 285, 185, 42)
RETRY_RETRY_AT = (235, 273)
RETRY_CANCEL = (315, 360, 170, 72)
RETRY_CANCEL_AT = (307, 338)

# ---- the players' dialog and the new game question ---------------------------------

PLAYER_NEW = (230, 168, 80, 27)
PLAYER_NEW_AT = (225, 156)
PLAYER_EDIT = (360, 168, 80, 27)
PLAYER_EDIT_AT = (341, 156)
PLAYER_DELETE = (490, 168, 70, 27)
PLAYER_DELETE_AT = (459, 156)
# OK and CANCEL, in both dialogs.
DIALOG_OK = (220, 375, 155, 66)
DIALOG_OK_AT = (220, 372)
DIALOG_CANCEL = (410, 375, 155, 66)
DIALOG_CANCEL_AT = (401, 372)
# The list's first row; the next rows follow its height apart.
PLAYER_ROW = (230, 205, 250, 30)
PLAYER_ROWS = 5
# The page buttons beside the list: the image and hot area are the same.
PLAYER_PAGE_UP = (530, 210, 53, 60)
PLAYER_PAGE_DOWN = (530, 310, 53, 60)

# ---- the play dialog -------------------------------------------------------------

# Taller than the others: the close button reaches y 456.
GAME_DIALOG_SIZE = (560, 420)
GAME_NEW = (235, 175, 330, 70)
GAME_NEW_AT = (235, 174)
GAME_CONTINUE = (236, 245, 330, 70)
GAME_CONTINUE_AT = (235, 245)
GAME_HIGH_SCORES = (237, 315, 330, 70)
GAME_HIGH_SCORES_AT = (235, 315)
GAME_CLOSE = (335, 385, 140, 68)
GAME_CLOSE_AT = (337, 386)
# The way to the level list, drawn by the game beside CLOSE (resting and lit).
LEVELS_BUTTON = (490, 392, 140, 54)
LEVELS_BUTTON_AT = (487, 389)

# ---- the level list ------------------------------------------------------------------

LEVEL_LIST_AT = (120, 50)
LEVEL_LIST_SIZE = (560, 500)
# A level's tablet, five to a row, five rows, the first at LEVEL_GRID_AT.
LEVEL_CELL_SIZE = (88, 56)
LEVEL_PITCH = (100, 64)
LEVEL_GRID_AT = (156, 150)
LEVEL_LIST_CLOSE = (335, 480, 140, 50)
LEVEL_LIST_CLOSE_AT = (332, 477)
# The chapter before and the chapter after: the image and hot area are the same.
LEVEL_LIST_LEFT = (200, 70, 53, 60)
LEVEL_LIST_RIGHT = (547, 70, 53, 60)

# ---- the page buttons' images (players' dialog and level list) ----------------------

PAGE_SIZE = (53, 60)

# ---- the options -------------------------------------------------------------------

OPTIONS_SIZE = (560, 410)
OPTIONS_OK = (310, 385, 140, 60)
OPTIONS_OK_AT = (321, 379)
# The sliders' knob, drawn at (KNOB_LEFT + 1.485 v, y) for a volume v of 0..127.
KNOB_SIZE = (22, 44)
KNOB_LEFT = 360
KNOB_RIGHT = 548
KNOB_MUSIC_Y = 196
KNOB_SOUND_Y = 262
# The full-screen box: where its check mark is drawn, and the hot area (the sunk
# box the mark ticks starts one pixel in from its top left).
CHECK_AT = (476, 309)
CHECK_HOT = (485, 330, 35, 35)
# The window's size, 1x to 3x, under the full-screen box: hot areas and where
# their images are drawn.
WINDOW_SIZE_HOT = [(504, 404, 36, 34), (548, 404, 36, 34), (592, 404, 36, 34)]
WINDOW_SIZE_AT = [(501, 401), (545, 401), (589, 401)]
# The centre of the "WINDOW" caption above them.
WINDOW_CAPTION_AT = (566, 388)

# ---- the main menu -------------------------------------------------------------------

# The strip of items, drawn from one column of its frames at MENU_AT.
MENU_AT = (24, 225)
MENU_FRAME_SIZE = (300, 400)
MENU_FRAMES = 11
# The first item's hot area; each next one lies MENU_ITEM_STEP further.
MENU_ITEM = (93, 280, 120, 50)
MENU_ITEM_STEP = (3, 60)
# The loading screen's tape, filled a cell at a time.
TAPE_AT = (138, 383)
TAPE_SIZE = (517, 44)
TAPE_STEP = 47

# ---- the corner buttons (go on, back to the menu) ------------------------------------

CORNER_BUTTON_AT = (660, 500)
CORNER_BUTTON_SIZE = (113, 75)

# ---- credits ---------------------------------------------------------------------------

# The window the credits' text rolls through.
CREDITS_WINDOW = (60, 70, 690, 520)

# ---- help -------------------------------------------------------------------------------

# The four slots of a page (top left, top right, bottom left, bottom right): where
# each video stands and where its play button is drawn.
HELP_VIDEO_AT = [(95, 90), (430, 95), (95, 340), (430, 345)]
HELP_VIDEO_SIZE = (240, 180)
HELP_PLAY_AT = [(200, 163), (534, 163), (200, 409), (534, 409)]
# The page buttons in the top corners (back at the left, on at the right).
HELP_PAGE_SIZE = (110, 72)
HELP_PAGE_RIGHT_AT = (690, 0)

# ---- the HUD --------------------------------------------------------------------------

# The level's own buttons beside the portrait, over the carved sun roundels.
HUD_UNDO = (244, 522, 106, 52)
HUD_HINT = (450, 522, 106, 52)
# The menu tablet at the bottom left.
HUD_MENU = (24, 546, 110, 40)
# The hero's portrait.
HUD_PORTRAIT = (362, 504, 76, 92)
