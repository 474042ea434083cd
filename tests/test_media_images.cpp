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

std::string Path(const SizedImage& row, int k)
{
    char buf[128];
    snprintf(buf, sizeof buf, row.path, k);
    return buf;
}

// A loaded image as 8-bit RGBA rows, whatever its format.
struct Pixels {
    int w = 0, h = 0;
    std::vector<Uint8> rgba;
    const Uint8* at(int x, int y) const { return &rgba[(static_cast<size_t>(y) * w + x) * 4]; }
    int alpha(int x, int y) const { return at(x, y)[3]; }
    double luma(int x, int y) const
    {
        const Uint8* p = at(x, y);
        return 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2];
    }
    // The mean luma of [x0, x1) x [y0, y1), and how far it strays from it (the standard deviation).
    double MeanLuma(int x0, int y0, int x1, int y1, double* spread = nullptr) const
    {
        double sum = 0, sq = 0;
        for (int y = y0; y < y1; y++)
            for (int x = x0; x < x1; x++)
                sum += luma(x, y), sq += luma(x, y) * luma(x, y);
        double n = static_cast<double>(x1 - x0) * (y1 - y0), mean = sum / n;
        if (spread)
            *spread = std::sqrt(std::max(0.0, sq / n - mean * mean));
        return mean;
    }
    // Pixels of [x0, x1) x [y0, y1) with an alpha above min.
    int Opaque(int x0, int y0, int x1, int y1, int min = 128) const
    {
        int n = 0;
        for (int y = y0; y < y1; y++)
            for (int x = x0; x < x1; x++)
                n += alpha(x, y) > min;
        return n;
    }
};

Pixels Read(const std::string& path)
{
    Pixels px;
    SDL_Surface* s = IMG_Load(path.c_str());
    if (!s) {
        ADD_FAILURE() << path << ": " << IMG_GetError();
        return px;
    }
    SDL_Surface* c =
        SDL_CreateRGBSurface(SDL_SWSURFACE, s->w, s->h, 32, 0x000000ff, 0x0000ff00, 0x00ff0000, 0xff000000);
    SDL_SetAlpha(s, 0, 255);
    SDL_BlitSurface(s, nullptr, c, nullptr);
    px.w = c->w;
    px.h = c->h;
    px.rgba.resize(static_cast<size_t>(px.w) * px.h * 4);
    SDL_LockSurface(c);
    for (int y = 0; y < px.h; y++)
        memcpy(&px.rgba[static_cast<size_t>(y) * px.w * 4], static_cast<Uint8*>(c->pixels) + y * c->pitch,
               static_cast<size_t>(px.w) * 4);
    SDL_UnlockSurface(c);
    SDL_FreeSurface(c);
    SDL_FreeSurface(s);
    return px;
}

// A picture of media/images by its name, without the ".png".
Pixels Art(const std::string& name)
{
    return Read("media/images/" + name + ".png");
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

}  // namespace

TEST(Images, EveryFileLoadsWithTheSizeTheCodeExpectsAndTheCodeLoadsNoOther)
{
    int checked = 0;
    for (const SizedImage& row : Images) {
        int first = row.first == NONE ? 0 : row.first;
        int last = row.first == NONE ? 0 : row.last;
        for (int k = first; k <= last; k++) {
            std::string path = Path(row, k);
            SDL_Surface* s = IMG_Load(path.c_str());
            EXPECT_NE(s, nullptr) << path << ": " << IMG_GetError();
            if (!s)
                continue;
            checked++;
            if (row.w) {
                EXPECT_EQ(s->w, row.w) << path;
            }
            if (row.h) {
                EXPECT_EQ(s->h, row.h) << path;
            }
            SDL_FreeSurface(s);
        }
    }
    EXPECT_GT(checked, 20);

    // A path named in the code outside the picture lists would go unchecked: catch
    // it. The sources name families by their printf pattern, as the lists do.
    std::set<std::string> known;
    for (const SizedImage& row : Images)
        known.insert(row.path);
    std::set<std::string> literals = ImageLiterals();
    EXPECT_GT(literals.size(), 10u) << "the scan found the game's sources";
    for (const std::string& lit : literals)
        EXPECT_TRUE(known.count(lit)) << lit << " is loaded by the code but missing from the table";
}

const SizedImage* TableRow(const char* path, int k)
{
    for (const SizedImage& row : Images)
        if (strcmp(row.path, path) == 0 && (row.first == NONE || (row.first <= k && k <= row.last)))
            return &row;
    return nullptr;
}

bool Inside(const SDL_Rect& r, const SDL_Surface* s)
{
    return s && r.x >= 0 && r.y >= 0 && r.w > 0 && r.h > 0 && r.x + r.w <= s->w && r.y + r.h <= s->h;
}

// A table of pictures the game fills from a numbered family of files.
struct Family {
    const char* path;
    SDL_Surface** slots;
    int size;
    int shift;  // slot = number in the file name + shift
};

// The families both the menu's loading and the level screen's own fill.
std::vector<Family> LevelFamilies()
{
    return {
        {"media/images/teleport/tele%d.png", TeleportImg, TELEPORT_IMAGES, 1},
        {"media/images/spike_destroy/spike00%d.png", SpikeDestroyImg, SPIKE_IMAGES, 0},
        {"media/images/particles/a00%d.png", imgPartOfParticle, PARTICLE_IMAGES, 0},
        {"media/images/tovilevel/tovilevel%d.png", ToviLevelImg, PORTRAIT_IMAGES, 0},
        {"media/images/kadar%d.png", IntroImag, INTRO_IMAGES, 0},
        {"media/images/ashcrystal_%d.png", AshcrystalImg, ASHCRYSTAL_IMAGES, 1},
        {"media/images/dust/dust0%d.png", SandImage, SAND_IMAGES, 0},
    };
}

// Empties the tables, so a loader run next shows what it loads by itself.
void Forget(const std::vector<Family>& families)
{
    for (const Family& f : families)
        for (int i = 0; i < f.size; i++) {
            if (f.slots[i])
                SDL_FreeSurface(f.slots[i]);
            f.slots[i] = nullptr;
        }
}

// Each family fills exactly the slots of the numbers the table checks (sizes: ExpectRowsLoaded).
void ExpectFamiliesLikeTheTable(const std::vector<Family>& families)
{
    for (const Family& f : families)
        for (int i = 0; i < f.size; i++)
            EXPECT_EQ(f.slots[i] != nullptr, TableRow(f.path, i - f.shift) != nullptr) << f.path << " slot " << i;
}

// A loader's list as its slots: a picture's variable, or a family's table.
struct Slots {
    SDL_Surface** slots;
    int size;
    const char* path;
    int first, last, shift, w, h;
};
#define SLOTS_ROW(slot, path, first, last, shift, format, step, w, h) {slot, path, first, last, shift, w, h},

// Every slot the rows name (but one let go once loaded) is filled, with a picture of the size the code relies on.
template <int N> void ExpectRowsLoaded(const Slots (&rows)[N], SDL_Surface** letGo = nullptr)
{
    for (const Slots& row : rows)
        for (int k = row.first == NONE ? 0 : row.first;
             k <= (row.first == NONE ? 0 : row.last) && row.size && row.slots != letGo; k++) {
            int i = row.first == NONE ? 0 : k + row.shift;
            ASSERT_LT(i, row.size) << row.path;
            SDL_Surface* s = row.slots[i];
            EXPECT_NE(s, nullptr) << row.path << " number " << k;
            if (s && row.w) {
                EXPECT_EQ(s->w, row.w) << row.path << " number " << k;
            }
            if (s && row.h) {
                EXPECT_EQ(s->h, row.h) << row.path << " number " << k;
            }
        }
}

// The game's own loaders say what it draws: after each ran on its own, every
// family it fills has as many frames as the table checks, every frame and every
// single picture has the table's size, and every window of the code's rectangle
// tables lies inside its picture. A loop bound, a slot or a file name changed in
// the code without the art shows here.
TEST(ImagesLoaded, LevelAndMenuLoadersFillTheirTablesWithTheCheckedImages)
{
    HarnessOpen();
    std::vector<Family> families = LevelFamilies();
    Forget(families);
    InitLevel();
    LoadLevelScreenArt();
    ExpectFamiliesLikeTheTable(families);
    const Slots levelRows[] = {LEVEL_IMAGES(SLOTS_ROW) LEVEL_ART_IMAGES(SLOTS_ROW)};
    ExpectRowsLoaded(levelRows);
    // Tiles draw frame t - 1 for codes 1..80, elements frame t - 101 for 101..129.
    for (int i = 1; i <= SHEET_FRAMES; i++)
        EXPECT_TRUE(Inside(LoadedtrackRectangle[i], TileTrack)) << "tile frame " << i;
    for (int i = 1; i <= EL_CRUMBLE - EL_FIRST; i++)
        EXPECT_TRUE(Inside(LoadedtrackRectangle[i], ElemntsTrack)) << "element frame " << i;
    for (int i = 1; i < SPIKE_RECTS; i++)
        EXPECT_TRUE(Inside(SRect[i], SpikeTrac)) << "spike frame " << i;
    for (int i = 0; i < VF_RECTS; i++)
        EXPECT_TRUE(Inside(VFrect[i], vfont)) << "digit window " << i;
    for (int col = 0; col <= 4; col++) {
        SDL_Surface* back = InitBackg(col);
        ASSERT_NE(back, nullptr) << "background " << col;
        EXPECT_EQ(back->w, 800);
        EXPECT_EQ(back->h, 600);
        SDL_FreeSurface(back);
    }

    families.push_back({"media/images/level0%d.png", menui, MENU_STRIP_SLOTS, 0});
    families.push_back({"media/images/tovi_anim%d.png", ToviImage, HERO_IMAGES, 0});
    families.push_back({"media/images/buba/buba0%d.png", BugImage, BUG_IMAGES, 0});
    families.push_back({"media/images/help_screen%d.png", hbackg, HELP_PAGES + 1, 0});
    Forget(families);
    InitMenu(screen);
    ExpectFamiliesLikeTheTable(families);
    const Slots menuRows[] = {MENU_IMAGES(SLOTS_ROW)};
    ExpectRowsLoaded(menuRows, &LSTImage);
    EXPECT_EQ(LSTImage, nullptr) << "the loading bar's picture is let go once loading ends";
    EXPECT_NE(MenuImage, nullptr);
    for (int i = 1; i <= MENU_ITEMS; i++)
        for (int k = 1; k <= STRIP_FRAMES; k++)
            EXPECT_TRUE(Inside(MRect[k], menui[i])) << "item " << i << " frame " << k;
    // An item at rest is drawn from a copy of its strip's first frame kept on its own.
    for (int i = 1; i <= MENU_ITEMS; i++) {
        ASSERT_NE(menuRest[i], nullptr) << i;
        SDL_Surface* drawn[2];
        for (SDL_Surface*& d : drawn) {
            d = SDL_CreateRGBSurface(SDL_SWSURFACE, 300, 400, 32, 0xff0000, 0xff00, 0xff, 0);
            SDL_FillRect(d, nullptr, 0x336699);
        }
        SDL_Rect first = MRect[1];
        SDL_BlitSurface(menuRest[i], nullptr, drawn[0], nullptr);
        SDL_BlitSurface(menui[i], &first, drawn[1], nullptr);
        EXPECT_EQ(PixelsDiffering(drawn[0], drawn[1], 0xffffff), 0) << "item " << i << " at rest";
        for (SDL_Surface* d : drawn)
            SDL_FreeSurface(d);
    }
    for (int k = 1; k <= CAMEL_FRAMES; k++)
        EXPECT_TRUE(Inside(CRect[k], CamelImage)) << "camel frame " << k;
    // The bar's picture is let go once loading ends: its size is the table's.
    const SizedImage* tape = TableRow("media/images/loading_screen_tape.png", 0);
    ASSERT_NE(tape, nullptr);
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
    ASSERT_EQ(t.w, 3200);
    for (int f = 0; f < 64; f++) {
        EXPECT_GT(t.Opaque(f * 40, 0, f * 40 + 40, 40, 250), 1560) << "wall frame " << f;
        // The middle of a face is always solid, whatever the neighbours.
        EXPECT_EQ(t.alpha(f * 40 + 20, 0), 255) << "frame " << f << " top";
        EXPECT_EQ(t.alpha(f * 40, 20), 255) << "frame " << f << " left";
    }
    Pixels s = Art("blokel");
    ASSERT_GE(s.w, 29 * 40);
    for (int f = 0; f < 29; f++)
        EXPECT_GT(s.Opaque(f * 40, 0, f * 40 + 40, 40), 150) << "element code " << 101 + f;
    constexpr int TREASURES = 19;  // codes 101..119
    auto grey = [&](int f, int x, int y) {
        double a = s.alpha(f * 40 + x, y) / 255.0;
        return s.luma(f * 40 + x, y) * a + 128.0 * (1 - a);
    };
    for (int i = 0; i < TREASURES; i++)
        for (int j = i + 1; j < TREASURES; j++) {
            int either = 0, onlyOne = 0;
            double diff = 0;
            for (int y = 0; y < 40; y++)
                for (int x = 0; x < 40; x++) {
                    bool a = s.alpha(i * 40 + x, y) > 128;
                    bool b = s.alpha(j * 40 + x, y) > 128;
                    if (!a && !b)
                        continue;
                    either++;
                    onlyOne += a != b;
                    diff += std::fabs(grey(i, x, y) - grey(j, x, y));
                }
            ASSERT_GT(either, 0);
            EXPECT_GE(static_cast<double>(onlyOne) / either, 0.10)
                << "codes " << 101 + i << " and " << 101 + j << " have nearly the same outline";
            EXPECT_GE(diff / either, 25.0) << "codes " << 101 + i << " and " << 101 + j << " look alike in grey";
        }
    Pixels sp = Art("spikes");
    ASSERT_EQ(sp.w, 18 * 40);
    auto tallest = [&](int frame) {
        for (int y = 0; y < 40; y++)
            for (int x = 0; x < 40; x++)
                if (sp.alpha((frame - 1) * 40 + x, y) > 128)
                    return 40 - y;
        return 0;
    };
    for (int f = 5; f <= 13; f++)
        EXPECT_GE(tallest(f), 30) << "spike frame " << f << " is up";
    for (int f : {1, 2, 3, 4, 14, 15, 16, 17})
        EXPECT_LT(tallest(f), tallest(5)) << "spike frame " << f << " is on its way";
    EXPECT_LT(tallest(18), 12) << "spikes at rest";
}

// The level centres its cursors on the pointer, the menus put their corner on
// it: the fingertip must be at the top-left corner and the palm over the middle.
TEST(Images, CursorsPointFromTheirCornerAndHoldAtTheirCentre)
{
    for (const char* path : {"kursorb", "kursorp", "kursorbh"}) {
        Pixels col = Art(path);
        ASSERT_EQ(col.w, 40) << path;
        EXPECT_GT(col.Opaque(15, 15, 25, 25, 200), 90) << path << ": the palm covers the middle";
        if (strcmp(path, "kursorbh") != 0) {  // the grabbing hand is centred only
            EXPECT_GT(col.Opaque(0, 0, 6, 6, 200), 3) << path << ": the fingertip is in the top-left corner";
        }
    }
}

// The chapter backgrounds are opaque, and the HUD fields the score, time and
// level number are printed on are dark, so the light text reads. Every picture
// that carries the forward button at (660, 500) keeps that corner calm, so the
// button reads: little light and dark under it.
TEST(Images, PicturesKeepTheFieldsTheirTextAndButtonsStandOnCalm)
{
    const SDL_Rect fields[] = {{130, 522, 84, 22}, {585, 522, 65, 22}, {725, 557, 37, 22}};
    for (int col = 1; col <= 4; col++) {
        std::string name = "chapter" + std::to_string(col);
        Pixels p = Art(name);
        ASSERT_EQ(p.w, 800) << name;
        int transparent = 0;
        for (int y = 0; y < p.h; y += 7)
            for (int x = 0; x < p.w; x += 7)
                transparent += p.alpha(x, y) != 255;
        EXPECT_EQ(transparent, 0) << name;
        for (const SDL_Rect& f : fields)
            EXPECT_LT(p.MeanLuma(f.x, f.y, f.x + f.w, f.y + f.h), 90.0) << name << " field at " << f.x << "," << f.y;
    }
    std::vector<std::string> names = {"ashcrystal_0", "map_background"};
    for (int k = 1; k <= 10; k++)
        names.push_back("kadar" + std::to_string(k));
    for (const std::string& name : names) {
        Pixels p = Art(name);
        ASSERT_EQ(p.w, 800) << name;
        double spread = 0;
        p.MeanLuma(661, 501, 774, 576, &spread);
        EXPECT_LT(spread, 16.0) << name << ": detail under the forward button";
    }
}

// The board's animations move: each frame differs from the one before; the
// portal's swirl widens as its frames count up (the exit plays them upwards to
// open, the entrance downwards to close); the vanish sparkle fades out; and the
// pieces of a break come to rest on the floor of the cell they broke in.
TEST(Images, BoardAnimationsMoveAndEndWhereTheyShould)
{
    auto coverage = [](const Pixels& p, int y0, int y1) {
        long sum = 0;
        for (int y = y0; y < y1; y++)
            for (int x = 0; x < p.w; x++)
                sum += p.alpha(x, y);
        return sum;
    };
    auto family = [](const char* pattern, int first, int last) {
        std::vector<Pixels> frames;
        for (int k = first; k <= last; k++) {
            char path[96];
            snprintf(path, sizeof path, pattern, k);
            frames.push_back(Read(path));
        }
        return frames;
    };
    std::vector<Pixels> tele = family("media/images/teleport/tele%d.png", 0, 9);
    std::vector<Pixels> breaks = family("media/images/spike_destroy/spike00%d.png", 1, 34);
    std::vector<Pixels> puff = family("media/images/particles/a00%d.png", 1, 60);
    for (const std::vector<Pixels>* f : {&tele, &breaks, &puff})
        for (size_t k = 1; k < f->size(); k++) {
            ASSERT_FALSE((*f)[k].rgba.empty());
            EXPECT_NE((*f)[k].rgba, (*f)[k - 1].rgba) << "frame " << k << " repeats the one before";
        }
    for (size_t k = 1; k < tele.size(); k++)
        EXPECT_GT(coverage(tele[k], 0, 150), coverage(tele[k - 1], 0, 150)) << "tele" << k << " opens wider";
    EXPECT_LT(coverage(puff[59], 0, 220) * 8, coverage(puff[4], 0, 220)) << "the sparkle has faded by a0060";
    // A break is drawn 80 px up and left of its cell: the cell's floor is at y 120.
    for (int k = 26; k <= 33; k++) {
        EXPECT_EQ(coverage(breaks[k - 1], 0, 108), 0) << "spike00" << k << " still has pieces in the air";
        EXPECT_GT(coverage(breaks[k - 1], 108, 126), 0) << "spike00" << k << " shows the settled grit";
    }
}

// Mean difference of two same-sized images over a box, averaged over R, G, B.
static double BoxDiff(const Pixels& a, const Pixels& b, int x0, int y0, int x1, int y1)
{
    double sum = 0;
    for (int y = y0; y < y1; y++)
        for (int x = x0; x < x1; x++)
            for (int col = 0; col < 3; col++)
                sum += std::abs(a.at(x, y)[col] - b.at(x, y)[col]);
    return sum / (3.0 * (x1 - x0) * (y1 - y0));
}

// The camel walks behind the mask, which is drawn over it every frame: where
// the mask is solid it must be the menu background itself, or a seam shows;
// and it must hide the camel's first frame where the camel first appears
// (x 488 at step 6), so the camel steps out from behind the ruin.
TEST(Images, MenuMaskIsTheBackgroundAndHidesTheCamelsEntrance)
{
    Pixels back = Art("chapter0");
    Pixels mask = Art("mask");
    Pixels camel = Art("kamila_anim_final");
    ASSERT_EQ(back.w, 800);
    ASSERT_EQ(mask.w, 800);
    ASSERT_EQ(camel.h, 157);
    int solid = 0, off = 0;
    for (int y = 0; y < 600; y++)
        for (int x = 0; x < 800; x++) {
            if (mask.alpha(x, y) != 255)
                continue;
            solid++;
            for (int col = 0; col < 3; col++)
                off += std::abs(mask.at(x, y)[col] - back.at(x, y)[col]) > 2;
        }
    EXPECT_GT(solid, 20000) << "the mask hides something";
    EXPECT_EQ(off, 0) << "solid mask pixels that differ from the menu background";
    int body = 0, hidden = 0;
    for (int y = 0; y < 157; y++)
        for (int x = 0; x < 150; x++)
            if (camel.alpha(x, y) > 128) {
                body++;
                hidden += mask.alpha(488 + x, 250 + y) == 255;
            }
    ASSERT_GT(body, 3000);
    EXPECT_GT(hidden, body * 95 / 100) << "the camel's first step is behind the ruin";
}

// The relic screen draws the relic with 1..4 parts opaque over its background:
// each image's edge must be the background there (no visible box), and each
// adds a part to the one before.
TEST(Images, RelicPartsSitSeamlesslyOnTheRelicScreen)
{
    Pixels back = Art("ashcrystal_0");
    ASSERT_EQ(back.w, 800);
    Pixels prev;
    for (int n = 1; n <= 4; n++) {
        std::string path = "ashcrystal_" + std::to_string(n);
        Pixels part = Art(path);
        ASSERT_EQ(part.w, 310) << path;
        ASSERT_EQ(part.h, 335) << path;
        int seam = 0;
        for (int y = 0; y < part.h; y++)
            for (int x = 0; x < part.w; x++) {
                if (x > 1 && x < part.w - 2 && y > 1 && y < part.h - 2)
                    continue;
                for (int col = 0; col < 3; col++)
                    seam += std::abs(part.at(x, y)[col] - back.at(178 + x, 113 + y)[col]) > 3;
            }
        EXPECT_EQ(seam, 0) << path << ": its edge differs from the relic screen";
        if (n > 1) {
            EXPECT_GT(BoxDiff(part, prev, 0, 0, part.w, part.h), 4.0) << path << " adds a part";
        }
        prev = part;
    }
}

// Where a text of a known length is written on a plate of a picture, the plate
// runs under the whole of it. The relic screen writes its message from
// (30, 480) in font 3 on a dark band, so no letter stands on the lit floor;
// the map writes the last finished level from (330, 70) on a cartouche
// outlined in dark ink, which holds every label with room on both sides.
TEST(ImagesText, TextsStayOnTheirPlates)
{
    HarnessOpen();
    // Where a glyph after the text would start: its right end.
    auto end = [](const std::string& text, int x, int y) { return strl((text + ".").c_str(), x, y, 3); };
    Pixels relic = Art("ashcrystal_0");
    ASSERT_EQ(relic.w, 800);
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
    ASSERT_EQ(map.w, 800);
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

// The HUD portrait blinks through frames 1, 2, 3 and talks with 1 and 4: the
// blink frames change the eyes and leave the mouth, the talking frame the
// other way round, so the face never jumps; all four fill their frame.
TEST(Images, PortraitFramesBlinkAndTalk)
{
    Pixels f[5];
    for (int k = 1; k <= 4; k++) {
        std::string path = "tovilevel/tovilevel" + std::to_string(k);
        f[k] = Art(path);
        ASSERT_EQ(f[k].w, HUD_PORTRAIT.w) << path;
        ASSERT_EQ(f[k].h, HUD_PORTRAIT.h) << path;
        EXPECT_EQ(f[k].Opaque(0, 0, HUD_PORTRAIT.w, HUD_PORTRAIT.h, 254), HUD_PORTRAIT.w * HUD_PORTRAIT.h)
            << path << " fills the portrait frame";
    }
    const int eyes[4] = {22, 36, 54, 48}, mouth[4] = {24, 52, 52, 70};
    for (int k = 2; k <= 3; k++) {
        EXPECT_GT(BoxDiff(f[k], f[1], eyes[0], eyes[1], eyes[2], eyes[3]), 5.0) << "frame " << k << " closes the eyes";
        EXPECT_LT(BoxDiff(f[k], f[1], mouth[0], mouth[1], mouth[2], mouth[3]), 0.5)
            << "frame " << k << " keeps the mouth";
    }
    EXPECT_GT(BoxDiff(f[4], f[1], mouth[0], mouth[1], mouth[2], mouth[3]), 10.0) << "frame 4 opens the mouth";
    EXPECT_LT(BoxDiff(f[4], f[1], eyes[0], eyes[1], eyes[2], eyes[3]), 1.0) << "frame 4 keeps the eyes";
}

// Buttons and panels are drawn at fixed places and clicked inside fixed hot
// rectangles: the art drawn there must cover each rectangle it stands for.
TEST(Images, PanelsAndButtonsCoverTheirHotAreas)
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
        // Panels over the level stay on the screen.
        {"media/images/leveldone.png", LEVEL_DONE_AT, {LEVEL_DONE_AT.x, LEVEL_DONE_AT.y, 1, 1}},
        {"media/images/ashcrystal_%d.png", {178, 113}, {178, 113, 1, 1}},
        {"media/images/ashcrystal_5.png", {49, 85}, {49, 85, 1, 1}},
    };
    for (const Hot& h : hots) {
        for (int k = 1; k <= (strchr(h.path, '%') ? 4 : 1); k++) {
            char path[96];
            snprintf(path, sizeof path, h.path, k);
            SDL_Surface* s = IMG_Load(path);
            ASSERT_NE(s, nullptr) << path;
            EXPECT_LE(h.at.x, h.hot.x) << path;
            EXPECT_LE(h.at.y, h.hot.y) << path;
            EXPECT_GE(h.at.x + s->w, h.hot.x + h.hot.w) << path << " ends left of its hot area";
            EXPECT_GE(h.at.y + s->h, h.hot.y + h.hot.h) << path << " ends above its hot area's bottom";
            EXPECT_LE(h.at.x + s->w, 800) << path << " runs off the screen";
            EXPECT_LE(h.at.y + s->h, 600) << path << " runs off the screen";
            SDL_FreeSurface(s);
        }
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
        ASSERT_TRUE(panel.w > 0 && hover.w > 0);
        // The game can draw nothing left of or above the hover's corner.
        int x0 = std::max(v.hot->x + 1, v.at.x), y0 = std::max(v.hot->y + 1, v.at.y);
        int x1 = v.hot->x + v.hot->w - 1 - v.shadow, y1 = v.hot->y + v.hot->h - 1 - v.shadow;
        ASSERT_LE(x1 - v.at.x, hover.w - 1) << hp << " reaches the hot area's right edge";
        ASSERT_LE(y1 - v.at.y, hover.h - 1) << hp << " reaches the hot area's bottom edge";
        int holes = 0;
        for (int y = y0; y <= y1; y++)
            for (int x = x0; x <= x1; x++) {
                bool corner = (x - x0 < CORNER || x1 - x < CORNER) && (y - y0 < CORNER || y1 - y < CORNER);
                if (!corner && hover.alpha(x - v.at.x, y - v.at.y) != 255)
                    holes++;
            }
        EXPECT_EQ(holes, 0) << hp << " leaves part of its hot area unlit";
        // Its outline: opaque pixels beside a transparent one, lying on the panel.
        int ring = 0, matched = 0;
        for (int y = 0; y < hover.h; y++)
            for (int x = 0; x < hover.w; x++) {
                if (hover.alpha(x, y) != 255)
                    continue;
                bool edge = x == 0 || y == 0 || x == hover.w - 1 || y == hover.h - 1 || hover.alpha(x - 1, y) == 0 ||
                            hover.alpha(x + 1, y) == 0 || hover.alpha(x, y - 1) == 0 || hover.alpha(x, y + 1) == 0;
                int sx = v.at.x + x - v.panelAt.x, sy = v.at.y + y - v.panelAt.y;
                if (!edge || sx < 0 || sy < 0 || sx >= panel.w || sy >= panel.h)
                    continue;
                ring++;
                const Uint8* a = hover.at(x, y);
                const Uint8* b = panel.at(sx, sy);
                matched += std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]) < 30;
            }
        ASSERT_GT(ring, 100) << hp;
        EXPECT_GE(static_cast<double>(matched) / ring, 0.9) << hp << " does not line up with its button in " << pp;
    }
}

// A button's two looks are one tablet: the lit one has the plain one's shape
// to the pixel and is clearly brighter, so the button lights up in place.
TEST(Images, LitButtonsAreThePlainTabletLit)
{
    const char* pairs[][2] = {
        {"intro_forward_hoveron", "intro_forward_hoveroff"},
        {"backtomenu_hoveron", "backtomenu_hoveroff"},
        {"helpplaybutton_hoveron", "helpplaybutton_hoveroff"},
        {"helpbutton_hoveron_left", "helpbutton_hoveroff_left"},
        {"helpbutton_hoveron_right", "helpbutton_hoveroff_right"},
        {"helpbutton_hoveron_back", "helpbutton_hoveroff_back"},
        {"up_edit_hover", "up_edit"},
        {"down_edit_hover", "down_edit"},
    };
    for (const auto& pair : pairs) {
        const char *lp = pair[0], *pp = pair[1];
        Pixels lit = Art(lp), plain = Art(pp);
        ASSERT_GT(lit.w, 0) << lp;
        ASSERT_EQ(lit.w, plain.w) << lp;
        ASSERT_EQ(lit.h, plain.h) << lp;
        int shape = 0, off = 0;
        double gain = 0;
        for (int y = 0; y < lit.h; y++)
            for (int x = 0; x < lit.w; x++) {
                bool a = lit.alpha(x, y) > 128, b = plain.alpha(x, y) > 128;
                shape += a;
                off += a != b;
                if (a && b)
                    gain += lit.luma(x, y) - plain.luma(x, y);
            }
        ASSERT_GT(shape, 500) << lp;
        EXPECT_EQ(off, 0) << lp << " has another shape than " << pp;
        EXPECT_GT(gain / shape, 10.0) << lp << " is hardly lighter than " << pp;
    }
}

// The menu items: every frame of a strip keeps the item's hot area covered by
// its tablet as it lifts, and draws nothing over the other items' places. The
// dust puff plays over the item the pointer has just entered, drawn at (10 i,
// item y - 60): it must rise from the tablet's foot and leave the middle of the
// tablet, where its name is, mostly clear in every frame.
TEST(ImagesLoaded, MenuStripsCoverTheirItemInEveryFrameAndTheDustLeavesItsName)
{
    HarnessOpen();
    InitMenu(screen);
    constexpr int AT_X = 24, AT_Y = 225;  // where every strip is drawn
    std::vector<Pixels> dust;
    for (int k = 1; k <= 40; k++) {
        dust.push_back(Art("dust/dust0" + std::to_string(k)));
        ASSERT_GT(dust.back().w, 0);
    }
    for (int i = 1; i <= MENU_ITEMS; i++) {
        std::string path = "level0" + std::to_string(i);
        Pixels s = Art(path);
        ASSERT_EQ(s.w, STRIP_FRAMES * 300) << path;
        const SDL_Rect& hot = MenuRectangle[i];
        ASSERT_GT(hot.w, 0);
        int hx = hot.x - AT_X, hy = hot.y - AT_Y;  // the hot area inside a frame
        for (int f = 0; f < STRIP_FRAMES; f++) {
            EXPECT_EQ(s.Opaque(f * 300 + hx + 1, hy + 1, f * 300 + hx + hot.w, hy + hot.h, 254),
                      (hot.w - 1) * (hot.h - 1))
                << path << " frame " << f + 1 << " leaves holes in its hot area";
            for (int j = 1; j <= MENU_ITEMS; j++) {
                if (j == i)
                    continue;
                const SDL_Rect& other = MenuRectangle[j];
                int ox = other.x - AT_X + other.w / 2, oy = other.y - AT_Y + other.h / 2;  // the middle of item j
                EXPECT_LT(s.alpha(f * 300 + ox, oy), 64) << path << " frame " << f + 1 << " covers item " << j;
            }
        }
        // The name, in the puff's frame: the item starts 60 px down it.
        int x0 = hot.x + 15 - 10 * i, y0 = 60 + 10;
        double worst = 0;
        for (const Pixels& d : dust) {
            double sum = 0;
            int n = 0;
            for (int y = y0; y < y0 + 30; y++)
                for (int x = x0; x < x0 + hot.w - 30; x++, n++)
                    sum += d.alpha(x, y);
            worst = std::max(worst, sum / n);
        }
        EXPECT_LT(worst, 100.0) << "the dust hides item " << i << "'s name";
    }
}

// The map draws each dot with its top-left corner on its point of `mapcord`
// (a chapter's big dot 2 px further left): the trail of the map picture must
// run under the middle of every dot, so the dots read as stops along it.
TEST(Images, MapTrailRunsUnderEveryDot)
{
    Pixels map = Art("map_background");
    Pixels small = Art("map_smalldot");
    Pixels big = Art("map_bigdot");
    ASSERT_EQ(map.w, 800);
    ASSERT_GT(small.w, 0);
    ASSERT_GT(big.w, 0);
    for (int k = 0; k <= MAP_LAST_DOT; k++) {
        bool large = k % MAP_BLOCK == 0;
        const Pixels& dot = large ? big : small;
        int cx = mapcord[2 * k] - (large && k ? 2 : 0) + dot.w / 2;
        int cy = mapcord[2 * k + 1] + dot.h / 2;
        // The trail's terracotta ink against the papyrus: red well above green.
        int ink = 0;
        for (int y = cy - 4; y <= cy + 4; y++)
            for (int x = cx - 4; x <= cx + 4; x++)
                ink = std::max(ink, map.at(x, y)[0] - map.at(x, y)[1]);
        EXPECT_GT(ink, 55) << "no trail under dot " << k << " at " << cx << "," << cy;
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
        ASSERT_NE(alphaGot, nullptr) << path;
        ASSERT_NE(opaqueGot, nullptr) << path;
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
    std::string cut = ScratchDir() + "/cut.png";
    std::vector<unsigned char> bytes = ReadBytes("media/images/kadar1.png");
    WriteBytes(cut, std::vector<unsigned char>(bytes.begin(), bytes.begin() + bytes.size() / 2));
    EXPECT_EQ(LoadImageOpaque(cut.c_str()), nullptr);
    std::filesystem::remove_all(cut.substr(0, cut.rfind('/')));
}
