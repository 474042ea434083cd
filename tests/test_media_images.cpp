// The game's images: every file the code loads is there, loads through
// SDL_image and has the size the code's rectangles and strips expect; the code
// loads no image this table does not know; and the art keeps its promises to
// the player (treasures told apart without colour, cursors pointing from their
// corner, HUD fields dark enough for the text on them).
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "level/assist.h"
#include "level/board.h"
#include "level/render.h"
#include "level/sequences.h"
#include "menu/credits.h"
#include "menu/game.h"
#include "menu/help.h"
#include "menu/map.h"
#include "menu/menu.h"
#include "menu/options.h"
#include "menu/players.h"
#include "menu/scores.h"
#include "shell/geometry.h"
#include "shell/manifest.h"
#include "shell/media.h"
#include "shell/screen.h"
#include "tests/harness.h"
#include "text/text.h"

namespace {

// Every picture of the game's lists, with the size the code relies on (0: any).
struct SizedImage {
    const char* path;
    int first, last;  // a numbered family ("%d" printed without padding), or NONE, NONE
    int w, h;
};
#define SIZED_IMAGE(slot, path, first, last, shift, format, step, w, h) {path, first, last, w, h},
const SizedImage Images[] = {TOVI_IMAGES(SIZED_IMAGE)};

// A loaded image as 0xAARRGGBB words, whatever its format (SDL converts it, so
// the channels read the same on any machine). Outside the picture a pixel reads
// as clear black, so a picture of the wrong size (which the first test reports)
// fails the others' checks instead of reading out of bounds.
struct Pixels {
    int w = 0, h = 0;
    std::vector<Uint32> argb;
    int ch(int x, int y, int c) const  // c: 0 red, 1 green, 2 blue, 3 alpha
    {
        bool in = x >= 0 && y >= 0 && x < w && y < h;
        return in ? argb[static_cast<size_t>(y) * w + x] >> (c == 3 ? 24 : 16 - 8 * c) & 0xff : 0;
    }
    int alpha(int x, int y) const { return ch(x, y, 3); }
    double luma(int x, int y) const { return 0.299 * ch(x, y, 0) + 0.587 * ch(x, y, 1) + 0.114 * ch(x, y, 2); }
    // The largest difference of a colour channel between (x, y) here and (ox, oy) of o.
    int Off(int x, int y, const Pixels& o, int ox, int oy) const
    {
        int d = 0;
        for (int c = 0; c < 3; c++)
            d = std::max(d, std::abs(ch(x, y, c) - o.ch(ox, oy, c)));
        return d;
    }
    // The sum of f(x, y) over [x0, x1) x [y0, y1) (a count, for a test).
    template <class F> double Sum(int x0, int y0, int x1, int y1, F f) const
    {
        double sum = 0;
        for (int y = y0; y < y1; y++)
            for (int x = x0; x < x1; x++)
                sum += f(x, y);
        return sum;
    }
    // The mean luma of [x0, x1) x [y0, y1).
    double MeanLuma(int x0, int y0, int x1, int y1) const
    {
        return Sum(x0, y0, x1, y1, [&](int x, int y) { return luma(x, y); }) /
               (static_cast<double>(x1 - x0) * (y1 - y0));
    }
    // Pixels of [x0, x1) x [y0, y1) with an alpha above min.
    int Opaque(int x0, int y0, int x1, int y1, int min = 128) const
    {
        return static_cast<int>(Sum(x0, y0, x1, y1, [&](int x, int y) { return alpha(x, y) > min; }));
    }
};

Pixels Read(const std::string& path)
{
    Pixels px;
    SDL_Surface* s = IMG_Load(path.c_str());
    SDL_Surface* form = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 32, 0xff0000, 0xff00, 0xff, 0xff000000u);
    SDL_Surface* c = s ? SDL_ConvertSurface(s, form->format, SDL_SWSURFACE) : nullptr;
    if (c)
        px.w = c->w, px.h = c->h, px.argb = SurfacePixels(c);
    else
        ADD_FAILURE() << path << ": " << IMG_GetError();
    for (SDL_Surface* f : {s, form, c})
        SDL_FreeSurface(f);
    return px;
}

// A picture of media/images by its name, without the ".png"; a numbered family's pictures first..last.
Pixels Art(const std::string& name)
{
    return Read("media/images/" + name + ".png");
}
std::vector<Pixels> Family(const char* pattern, int first, int last)
{
    std::vector<Pixels> frames;
    for (int k = first; k <= last; k++) {
        char path[96];
        snprintf(path, sizeof path, pattern, k);
        frames.push_back(Read(path));
    }
    return frames;
}

// Every "media/images/..." literal in the game's sources.
std::set<std::string> ImageLiterals()
{
    std::set<std::string> found;
    const std::regex literal("\"(media/images/[A-Za-z0-9_/.%]+)\"");
    for (const char* dir : {"shell", "level", "menu", "trans", "text", "video"}) {
        std::error_code err;
        for (const auto& e : std::filesystem::directory_iterator(std::string(TOVI_SOURCE_DIR) + "/" + dir, err)) {
            std::string ext = e.path().extension().string();
            if (ext != ".cpp" && ext != ".h")
                continue;
            std::vector<unsigned char> bytes = ReadBytes(e.path().string());
            std::string src(bytes.begin(), bytes.end());
            for (std::sregex_iterator it(src.begin(), src.end(), literal), end; it != end; ++it)
                found.insert((*it)[1]);
        }
    }
    return found;
}

// A loader's list as its slots: a picture's variable, or a family's table.
struct Slots {
    SDL_Surface** slots;
    int size;
    const char* path;
    int first, last, shift, w, h;
    bool Holds(const Slots& o, int i) const  // this row puts a picture into slot i of o's table
    {
        return slots == o.slots && (first == NONE ? i == 0 : i >= first + shift && i <= last + shift);
    }
};
#define SLOTS_ROW(slot, path, first, last, shift, format, step, w, h) {slot, path, first, last, shift, w, h},

// Empties the families' tables, so a loader run next shows what it loads by itself.
template <int N> void Forget(const Slots (&rows)[N])
{
    for (const Slots& row : rows)
        for (int i = 0; row.first != NONE && i < row.size; i++) {
            SDL_FreeSurface(row.slots[i]);
            row.slots[i] = nullptr;
        }
}

// Every slot the rows name (but the loading bar's, let go once loaded) holds a
// picture of the row's size, and a family's table holds nothing more.
template <int N> void ExpectLoaded(const Slots (&rows)[N])
{
    for (const Slots& row : rows) {
        ASSERT_LT(row.last + row.shift, row.size) << row.path;
        for (int i = 0; i < row.size && row.slots != &LSTImage; i++) {
            SDL_Surface* s = row.slots[i];
            bool named = std::any_of(rows, rows + N, [&](const Slots& r) { return r.Holds(row, i); });
            EXPECT_EQ(s != nullptr, named) << row.path << " slot " << i;
            if (s && row.Holds(row, i)) {
                EXPECT_TRUE((!row.w || s->w == row.w) && (!row.h || s->h == row.h))
                    << row.path << " slot " << i << " is " << s->w << "x" << s->h;
            }
        }
    }
}

}  // namespace

TEST(Images, EveryFileLoadsWithTheSizeTheCodeExpectsAndTheCodeLoadsNoOther)
{
    int checked = 0;
    std::set<std::string> known;
    for (const SizedImage& row : Images) {
        known.insert(row.path);
        std::vector<Pixels> family = Family(row.path, std::max(row.first, 0), std::max(row.last, 0));
        checked += static_cast<int>(family.size());
        for (const Pixels& p : family)
            EXPECT_TRUE(p.w > 0 && (!row.w || p.w == row.w) && (!row.h || p.h == row.h))
                << row.path << " frame " << &p - &family[0] << " is " << p.w << "x" << p.h;
    }
    EXPECT_GT(checked, 20);
    // A path named in the code outside the picture lists would go unchecked: catch
    // it. The sources name families by their printf pattern, as the lists do.
    std::set<std::string> literals = ImageLiterals();
    EXPECT_GT(literals.size(), 10u) << "the scan found the game's sources";
    for (const std::string& lit : literals)
        EXPECT_TRUE(known.count(lit)) << lit << " is loaded by the code but missing from the table";
}

// The game's own loaders say what it draws: after each ran on its own, every
// family it fills has as many frames as the table checks, every frame and every
// single picture has the table's size, and every window of the code's rectangle
// tables lies inside its picture. A loop bound, a slot or a file name changed in
// the code without the art shows here.
TEST(ImagesLoaded, LevelAndMenuLoadersFillTheirTablesWithTheCheckedImages)
{
    HarnessOpen();
    const Slots levelRows[] = {LEVEL_IMAGES(SLOTS_ROW) LEVEL_ART_IMAGES(SLOTS_ROW)};
    Forget(levelRows);
    InitLevel();
    LoadLevelScreenArt();
    ExpectLoaded(levelRows);
    for (int col = 0; col <= 4; col++) {
        SDL_Surface* back = InitBackg(col);
        ASSERT_NE(back, nullptr) << "background " << col;
        SDL_FreeSurface(back);
    }
    const Slots menuRows[] = {MENU_IMAGES(SLOTS_ROW)};
    Forget(menuRows);
    InitMenu(screen);
    ExpectLoaded(menuRows);
    EXPECT_EQ(LSTImage, nullptr) << "the loading bar's picture is let go once loading ends";
    EXPECT_NE(MenuImage, nullptr);

    // Tiles draw frame t - 1 for codes 1..80, elements frame t - 101 for 101..129.
    struct Windows {
        const SDL_Rect* rects;
        int first, last;
        const SDL_Surface* sheet;
    };
    std::vector<Windows> windows = {{LoadedtrackRectangle, 1, SHEET_FRAMES, TileTrack},
                                    {LoadedtrackRectangle, 1, EL_CRUMBLE - EL_FIRST, ElemntsTrack},
                                    {SRect, 1, SPIKE_RECTS - 1, SpikeTrac},
                                    {VFrect, 0, VF_RECTS - 1, vfont},
                                    {CRect, 1, CAMEL_FRAMES, CamelImage}};
    for (int i = 1; i <= MENU_ITEMS; i++)
        windows.push_back({MRect, 1, STRIP_FRAMES, menui[i]});
    for (const Windows& w : windows)
        for (int i = w.first; i <= w.last; i++) {
            const SDL_Rect& r = w.rects[i];
            EXPECT_TRUE(w.sheet && r.x >= 0 && r.y >= 0 && r.w > 0 && r.h > 0 && r.x + r.w <= w.sheet->w &&
                        r.y + r.h <= w.sheet->h)
                << "window " << i << " of the table at " << w.rects << " (sheet " << &w - &windows[0] << ")";
        }
    // An item at rest is drawn from a copy of its strip's first frame kept on its own.
    for (int i = 1; i <= MENU_ITEMS; i++) {
        ASSERT_NE(menuRest[i], nullptr) << i;
        SDL_Surface *rest = SolidSurface(300, 400, 0x336699), *first = SolidSurface(300, 400, 0x336699);
        SDL_Rect frame = MRect[1];
        SDL_BlitSurface(menuRest[i], nullptr, rest, nullptr);
        SDL_BlitSurface(menui[i], &frame, first, nullptr);
        EXPECT_EQ(PixelsDiffering(rest, first, 0xffffff), 0) << "item " << i << " at rest";
        SDL_FreeSurface(rest);
        SDL_FreeSurface(first);
    }
    // The bar's picture is let go once loading ends: its size is the table's.
    const SizedImage* tape = std::find_if(Images, std::end(Images), [](auto& r) { return strstr(r.path, "_tape"); });
    for (int k = 1; k <= LOADING_STEPS; k++)
        EXPECT_LE(LST[k].w, tape->w) << "loading step " << k;
    EXPECT_EQ(LST[LOADING_STEPS].w, tape->w) << "the bar ends full";
    ASSERT_NE(optimizedImageCreditsm, nullptr);
    EXPECT_LE(clipy.w, optimizedImageCreditsm->w) << "the credits' window onto their text";
}

// The board's sheets. Walls fill their cell: the 64 auto-tiled frames are opaque
// but for rounded outer corners, so joined walls leave no gaps. Every element
// frame shows something inside its cell, and the treasures read without colour:
// converted to grey, every pair differs in outline (the masks' symmetric
// difference against their union) and in the grey picture itself (mean
// difference over either mask, composited on grey). The spikes stand tallest
// while deadly (frames 5..13) and lowest at rest.
TEST(Images, BoardSheetsFillTheirCellsAndTellTheirPiecesApart)
{
    Pixels t = Art("tile");
    for (int f = 0; f < 64; f++) {
        EXPECT_GT(t.Opaque(f * 40, 0, f * 40 + 40, 40, 250), 1560) << "wall frame " << f;
        // The middle of a face is always solid, whatever the neighbours.
        EXPECT_TRUE(t.alpha(f * 40 + 20, 0) == 255 && t.alpha(f * 40, 20) == 255) << "frame " << f << " top, left";
    }
    Pixels s = Art("blokel");
    for (int f = 0; f < 29; f++)
        EXPECT_GT(s.Opaque(f * 40, 0, f * 40 + 40, 40), 150) << "element code " << 101 + f;
    constexpr int TREASURES = 19;  // codes 101..119
    auto grey = [&](int f, int x, int y) {
        double a = s.alpha(f * 40 + x, y) / 255.0;
        return s.luma(f * 40 + x, y) * a + 128.0 * (1 - a);
    };
    for (int i = 0; i < TREASURES; i++)
        for (int j = i + 1; j < TREASURES; j++) {
            auto in = [&](int f, int x, int y) { return s.alpha(f * 40 + x, y) > 128; };
            double either = s.Sum(0, 0, 40, 40, [&](int x, int y) { return in(i, x, y) || in(j, x, y); });
            double onlyOne = s.Sum(0, 0, 40, 40, [&](int x, int y) { return in(i, x, y) != in(j, x, y); });
            double diff = s.Sum(0, 0, 40, 40, [&](int x, int y) {
                return in(i, x, y) || in(j, x, y) ? std::fabs(grey(i, x, y) - grey(j, x, y)) : 0.0;
            });
            ASSERT_GT(either, 0);
            EXPECT_GE(onlyOne / either, 0.10) << "codes " << 101 + i << " and " << 101 + j << " differ in outline";
            EXPECT_GE(diff / either, 25.0) << "codes " << 101 + i << " and " << 101 + j << " look alike in grey";
        }
    Pixels sp = Art("spikes");
    auto tallest = [&](int frame) {
        for (int y = 0; y < 40; y++)
            if (sp.Opaque((frame - 1) * 40, y, frame * 40, y + 1))
                return 40 - y;
        return 0;
    };
    for (int f = 5; f <= 13; f++)
        EXPECT_GE(tallest(f), 30) << "spike frame " << f << " is up";
    for (int f : {1, 2, 3, 4, 14, 15, 16, 17})
        EXPECT_LT(tallest(f), tallest(5)) << "spike frame " << f << " is on its way";
    EXPECT_LT(tallest(18), 12) << "spikes at rest";
}

// The chapter backgrounds are opaque, and the HUD fields the score, time and
// level number are printed on are dark, so the light text reads. The level
// centres its cursors on the pointer, the menus put their corner on it: the
// fingertip must be at the top-left corner and the palm over the middle (the
// grabbing hand is centred only).
TEST(Images, ChaptersKeepTheHudFieldsDarkAndCursorsPointFromTheirCorner)
{
    for (const char* path : {"kursorb", "kursorp", "kursorbh"}) {
        Pixels col = Art(path);
        EXPECT_GT(col.Opaque(15, 15, 25, 25, 200), 90) << path << ": the palm covers the middle";
        EXPECT_TRUE(!strcmp(path, "kursorbh") || col.Opaque(0, 0, 6, 6, 200) > 3) << path << ": the fingertip";
    }
    const SDL_Rect fields[] = {{130, 522, 84, 22}, {585, 522, 65, 22}, {725, 557, 37, 22}};
    for (int col = 1; col <= 4; col++) {
        std::string name = "chapter" + std::to_string(col);
        Pixels p = Art(name);
        EXPECT_EQ(p.Opaque(0, 0, p.w, p.h, 254), p.w * p.h) << name;
        for (const SDL_Rect& f : fields)
            EXPECT_LT(p.MeanLuma(f.x, f.y, f.x + f.w, f.y + f.h), 90.0) << name << " field at " << f.x << "," << f.y;
    }
}

// Where a text of a known length is written on a plate of a picture, the plate
// runs under the whole of it: the relic screen writes its message from (30, 480)
// in font 3 on a dark band, so no letter stands on the lit floor; the map writes
// the last finished level from (330, 70) on a cartouche outlined in dark ink,
// which holds every label with room on both sides.
TEST(ImagesText, RelicAndMapScreensHoldTheirTextsOnTheirPlates)
{
    HarnessOpen();
    Pixels relic = Art("ashcrystal_0");
    // Where a glyph after the text would start: its right end.
    auto end = [](const std::string& text, int x, int y) { return strl((text + ".").c_str(), x, y, 3); };
    for (const char* msg :
         {"You have collected the first part of Ashcrystal", "You have collected the another part of Ashcrystal",
          "You have collected the last part of Ashcrystal"}) {
        int right = end(msg, 30, 480);
        ASSERT_GT(right, 400) << msg;
        int lit = 0;
        for (int x = 30; x < right; x++)
            lit += relic.MeanLuma(x, 482, x + 1, 503) > 70;
        EXPECT_EQ(lit, 0) << "\"" << msg << "\" runs off its band (to x " << right << ")";
    }
    Pixels map = Art("map_background");
    constexpr int ROW = 82;  // through the middle of the label
    int left = 390, rim = 390;
    while (left > 0 && map.luma(left, ROW) > 120)
        left--;
    while (rim < 799 && map.luma(rim, ROW) > 120)
        rim++;
    for (int level = MAP_BLOCK; level <= 4 * 25; level += MAP_BLOCK) {
        std::string label = "LEVEL: " + std::to_string(level);
        int right = end(label, 330, 70);
        EXPECT_GE(330 - left, 12) << label;
        EXPECT_GE(rim - right, 12) << label << " reaches the cartouche's end at x " << rim;
        EXPECT_LE(rim - right, 50) << label << " leaves the cartouche half empty";
    }
}

// Buttons are drawn at fixed places and clicked inside fixed hot rectangles:
// the art drawn there must cover each rectangle it stands for.
TEST(Images, ButtonsCoverTheirHotAreas)
{
    struct Hot {
        const char* path;
        ScreenAt at;   // where the code draws the image
        SDL_Rect hot;  // the hot rectangle it shows
    };
    constexpr ScreenAt HUD_UNDO_AT = {HUD_UNDO.x, HUD_UNDO.y};
    constexpr SDL_Rect CORNER = {CORNER_BUTTON_AT.x, CORNER_BUTTON_AT.y, CORNER_BUTTON_SIZE.w, CORNER_BUTTON_SIZE.h};
    const Hot hots[] = {
        // The retry dialog's undo item. (The dialogs themselves, DIALOG_SIZE at DIALOG_AT, hold every item by
        // their listed size; their lit items and the HUD's lit menu tablet: the hover test below.)
        {"media/images/r_undo.png", RETRY_CANCEL_AT, RETRY_CANCEL},
        {"media/images/r_undo_off.png", RETRY_CANCEL_AT, RETRY_CANCEL},
        // The HUD's buttons and the pictures' forward button.
        {"media/images/hud_undo.png", HUD_UNDO_AT, HUD_UNDO},
        {"media/images/hud_undo_hover.png", HUD_UNDO_AT, HUD_UNDO},
        {"media/images/levels_hover.png", LEVELS_BUTTON_AT, LEVELS_BUTTON},
        {"media/images/levels_rest.png", LEVELS_BUTTON_AT, LEVELS_BUTTON},
        {"media/images/ll_close_hover.png", LEVEL_LIST_CLOSE_AT, LEVEL_LIST_CLOSE},
        {"media/images/intro_forward_hoveron.png", CORNER_BUTTON_AT, CORNER},
        {"media/images/intro_forward_hoveroff.png", CORNER_BUTTON_AT, CORNER},
    };
    for (const Hot& h : hots) {
        Pixels s = Read(h.path);
        EXPECT_TRUE(s.w > 0 && h.at.x <= h.hot.x && h.at.y <= h.hot.y && h.at.x + s.w >= h.hot.x + h.hot.w &&
                    h.at.y + s.h >= h.hot.y + h.hot.h)
            << h.path << " at " << h.at.x << "," << h.at.y << " misses part of its hot area";
        EXPECT_TRUE(h.at.x + s.w <= 800 && h.at.y + s.h <= 600) << h.path << " runs off the screen";
    }
}

// A hover image is drawn over its panel at a fixed place and must light the very
// button the panel shows: it covers the button's hot area (all but the rounded
// corners), and its outline falls on the panel's outline of that button, so a
// hover drawn a pixel off would show at once. The HUD's lit menu tablet is the
// same over the tablet painted into every chapter's background. The hot areas
// are the code's own rectangles, as its loading sets them.
TEST(ImagesLoaded, HoverImagesCoverTheirButtonsAndLineUpWithThePanel)
{
    HarnessOpen();
    InitLevel();
    InitMenu(screen);
    struct Hover {
        const char *panel, *hover;
        ScreenAt panelAt;     // where the panel is drawn
        ScreenAt at;          // where the hover image is drawn
        const SDL_Rect* hot;  // the hot area: x < px < x + w, y < py < y + h
        int shadow = 0;       // px at its right and bottom edge left to the tablet's shadow
    };
    // The options' OK and the HUD's menu button have no rectangle of their own.
    constexpr ScreenAt SCREEN = {0, 0}, HUD_MENU_AT = {HUD_MENU.x, HUD_MENU.y};
    const Hover hovers[] = {
        {"dialog_retry", "r_mainmenu", DIALOG_AT, RETRY_MAIN_MENU_AT, &Dialogritem[1]},
        {"dialog_retry", "r_retry", DIALOG_AT, RETRY_RETRY_AT, &Dialogritem[2]},
        {"dialog_retry", "r_cancel", DIALOG_AT, RETRY_CANCEL_AT, &Dialogritem[3]},
        {"playeredit", "pl_new", DIALOG_AT, PLAYER_NEW_AT, &Dialogpa},
        {"playeredit", "pl_edit", DIALOG_AT, PLAYER_EDIT_AT, &Dialogpe},
        {"playeredit", "pl_del", DIALOG_AT, PLAYER_DELETE_AT, &Dialogpd},
        {"playeredit", "pl_yes", DIALOG_AT, DIALOG_OK_AT, &Dialogpok},
        {"playeredit", "pl_no", DIALOG_AT, DIALOG_CANCEL_AT, &Dialogpc},
        {"dialog_new_areusure", "pl_yes", DIALOG_AT, DIALOG_OK_AT, &Dialogpok},
        {"dialog_new_areusure", "pl_no", DIALOG_AT, DIALOG_CANCEL_AT, &Dialogpc},
        {"new_game", "newgame_hover", DIALOG_AT, GAME_NEW_AT, &Dialogitem[1]},
        {"new_game", "continue_hover", DIALOG_AT, GAME_CONTINUE_AT, &Dialogitem[2]},
        {"new_game", "hiscore_hover", DIALOG_AT, GAME_HIGH_SCORES_AT, &Dialogitem[3]},
        {"new_game", "x_hover", DIALOG_AT, GAME_CLOSE_AT, &Dialogitem[4]},
        {"options", "ok_hover", DIALOG_AT, OPTIONS_OK_AT, &OPTIONS_OK},
        {"options", "window1_on", DIALOG_AT, WINDOW_SIZE_AT[0], &WindowSizeHot[1]},
        {"options", "window2_on", DIALOG_AT, WINDOW_SIZE_AT[1], &WindowSizeHot[2]},
        {"options", "window3_on", DIALOG_AT, WINDOW_SIZE_AT[2], &WindowSizeHot[3]},
        {"chapter1", "hud_button_hoveron", SCREEN, HUD_MENU_AT, &HUD_MENU, 1},
        {"chapter2", "hud_button_hoveron", SCREEN, HUD_MENU_AT, &HUD_MENU, 1},
        {"chapter3", "hud_button_hoveron", SCREEN, HUD_MENU_AT, &HUD_MENU, 1},
        {"chapter4", "hud_button_hoveron", SCREEN, HUD_MENU_AT, &HUD_MENU, 1},
    };
    constexpr int CORNER = 10;  // the rounded corners of a tablet
    for (const Hover& v : hovers) {
        ASSERT_GT(v.hot->w, 0) << v.hover << ": its rectangle was never set";
        const char *pp = v.panel, *hp = v.hover;
        Pixels panel = Art(pp), hover = Art(hp);
        // The game can draw nothing left of or above the hover's corner.
        int x0 = std::max(v.hot->x + 1, v.at.x), y0 = std::max(v.hot->y + 1, v.at.y);
        int x1 = v.hot->x + v.hot->w - 1 - v.shadow, y1 = v.hot->y + v.hot->h - 1 - v.shadow;
        ASSERT_TRUE(x1 - v.at.x < hover.w && y1 - v.at.y < hover.h) << hp << " reaches the hot area's edges";
        auto hole = [&](int x, int y) {
            bool corner = (x - x0 < CORNER || x1 - x < CORNER) && (y - y0 < CORNER || y1 - y < CORNER);
            return !corner && hover.alpha(x - v.at.x, y - v.at.y) != 255;
        };
        EXPECT_EQ(hover.Sum(x0, y0, x1 + 1, y1 + 1, hole), 0) << hp << " leaves part of its hot area unlit";
        // Its outline: opaque pixels beside a transparent one, lying on the panel.
        auto ring = [&](int x, int y) {
            int sx = v.at.x + x - v.panelAt.x, sy = v.at.y + y - v.panelAt.y;
            return hover.alpha(x, y) == 255 && sx >= 0 && sy >= 0 && sx < panel.w && sy < panel.h &&
                   (x == 0 || y == 0 || x == hover.w - 1 || y == hover.h - 1 || hover.alpha(x - 1, y) == 0 ||
                    hover.alpha(x + 1, y) == 0 || hover.alpha(x, y - 1) == 0 || hover.alpha(x, y + 1) == 0);
        };
        auto matched = [&](int x, int y) {
            int sx = v.at.x + x - v.panelAt.x, sy = v.at.y + y - v.panelAt.y;
            return ring(x, y) && hover.Off(x, y, panel, sx, sy) < 10;
        };
        double edge = hover.Sum(0, 0, hover.w, hover.h, ring);
        ASSERT_GT(edge, 100) << hp;
        EXPECT_GE(hover.Sum(0, 0, hover.w, hover.h, matched) / edge, 0.9) << hp << " is off its button in " << pp;
    }
}

// The menu items: every frame of a strip keeps the item's hot area covered by
// its tablet as it lifts, and draws nothing over the other items' places.
TEST(ImagesLoaded, MenuStripsKeepTheirHotAreasAndLeaveTheOtherItemsClear)
{
    HarnessOpen();
    InitMenu(screen);
    constexpr int AT_X = 24, AT_Y = 225;  // where every strip is drawn
    std::vector<Pixels> strips = Family("media/images/level0%d.png", 1, MENU_ITEMS);
    for (int i = 1; i <= MENU_ITEMS; i++) {
        const Pixels& s = strips[i - 1];
        const SDL_Rect& hot = MenuRectangle[i];
        ASSERT_GT(hot.w, 0);
        int hx = hot.x - AT_X, hy = hot.y - AT_Y;  // the hot area inside a frame
        for (int f = 0; f < STRIP_FRAMES; f++) {
            EXPECT_EQ(s.Opaque(f * 300 + hx + 1, hy + 1, f * 300 + hx + hot.w, hy + hot.h, 254),
                      (hot.w - 1) * (hot.h - 1))
                << "item " << i << " frame " << f + 1 << " leaves holes in its hot area";
            for (int j = 1; j <= MENU_ITEMS; j++) {
                const SDL_Rect& o = MenuRectangle[j];  // the middle of item j
                EXPECT_TRUE(j == i || s.alpha(f * 300 + o.x - AT_X + o.w / 2, o.y - AT_Y + o.h / 2) < 64)
                    << "item " << i << " frame " << f + 1 << " covers item " << j;
            }
        }
    }
}

// The game decodes its pictures straight into the screen's layout; what it gets
// must be what SDL's own conversion of the loaded file gives, for pictures with
// and without alpha and with a palette, and whichever way they are loaded.
TEST(ImagesLoaded, DirectDecodingGivesTheConvertedPicture)
{
    HarnessOpen();
    ASSERT_EQ(screen->format->Rmask, 0xff0000u) << "the direct decoder would not be used";
    for (const char* path : {"media/images/kadar1.png", "media/images/level01.png", "media/images/font14.png",
                             "media/images/tovi_anim1.png"}) {
        SDL_Surface* loaded = IMG_Load(path);
        ASSERT_NE(loaded, nullptr) << path;
        SDL_Surface* alphaWant = SDL_DisplayFormatAlpha(loaded);
        SDL_Surface* opaqueWant = SDL_DisplayFormat(loaded);
        SDL_Surface* alphaGot = LoadImageAlpha(path);
        SDL_Surface* opaqueGot = LoadImageOpaque(path);
        ASSERT_TRUE(alphaGot && opaqueGot) << path;
        EXPECT_EQ(alphaGot->format->Amask, alphaWant->format->Amask) << path;
        EXPECT_EQ(alphaGot->flags & SDL_SRCALPHA, alphaWant->flags & SDL_SRCALPHA) << path;
        EXPECT_EQ(opaqueGot->format->Amask, 0u) << path;
        EXPECT_EQ(PixelsDiffering(alphaGot, alphaWant, 0xffffffff), 0) << path;
        EXPECT_EQ(PixelsDiffering(opaqueGot, opaqueWant, 0xffffff), 0) << path;
        for (SDL_Surface* s : {loaded, alphaWant, opaqueWant, alphaGot, opaqueGot})
            SDL_FreeSurface(s);
    }
    // Not a picture, or cut short: nothing, as from SDL_image.
    EXPECT_EQ(LoadImageAlpha("media/levels/level1.bin"), nullptr);
    InScratchDir dir(true);
    std::vector<unsigned char> bytes = ReadBytes("media/images/kadar1.png");
    WriteBytes("cut.png", std::vector<unsigned char>(bytes.begin(), bytes.begin() + bytes.size() / 2));
    EXPECT_EQ(LoadImageOpaque("cut.png"), nullptr);
}
