// tovi-record: the help pages' clips, played by the game itself. Each clip is a
// small board of the game set up for one mechanic, played on the virtual clock
// with a scripted hand through the real level loop and drawn by the level
// screen; every second frame (40 ms of play) the interesting part of the board
// is scaled to 240 x 180 and appended to DIR/help<N>.rgb as raw RGB, which
// tools/gen/gen_videos.sh encodes. Run from the top of the repository.
//
//   tovi-record DIR
#include <SDL_mixer.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "level/level.h"
#include "shell/screen.h"
#include "tools/sim/boardtext.h"
#include "tools/sim/simcore.h"

namespace {

constexpr int CLIP_W = 240;
constexpr int CLIP_H = 180;
constexpr int FRAMES_PER_PICTURE = 2;  // a clip frame every 40 ms of play

std::string outDir;
FILE* out = nullptr;
SDL_Rect view;       // the part of the screen a clip shows
int frameCount = 0;  // game frames of the current clip
int pointerX = 0, pointerY = 0;

// The view scaled to the clip's size, each clip pixel the mean of the screen
// pixels under it.
void Picture()
{
    static unsigned char rgb[CLIP_W * CLIP_H * 3];
    SDL_LockSurface(screen);
    const SDL_PixelFormat* f = screen->format;
    for (int j = 0; j < CLIP_H; j++) {
        int y0 = view.y + j * view.h / CLIP_H, y1 = view.y + (j + 1) * view.h / CLIP_H;
        for (int i = 0; i < CLIP_W; i++) {
            int x0 = view.x + i * view.w / CLIP_W, x1 = view.x + (i + 1) * view.w / CLIP_W;
            unsigned sum[3] = {0, 0, 0}, n = 0;
            for (int y = y0; y < y1; y++)
                for (int x = x0; x < x1; x++) {
                    Uint32 p = static_cast<Uint32*>(screen->pixels)[y * screen->pitch / 4 + x];
                    Uint8 r, g, b;
                    SDL_GetRGB(p, f, &r, &g, &b);
                    sum[0] += r;
                    sum[1] += g;
                    sum[2] += b;
                    n++;
                }
            for (int c = 0; c < 3; c++)
                rgb[(j * CLIP_W + i) * 3 + c] = static_cast<unsigned char>(n ? sum[c] / n : 0);
        }
    }
    SDL_UnlockSurface(screen);
    fwrite(rgb, 1, sizeof rgb, out);
}

SimResult Frame(int button, int x, int y)
{
    pointerX = x;
    pointerY = y;
    SimResult r = SimFrame(button, x, y);
    if (++frameCount % FRAMES_PER_PICTURE == 0)
        Picture();
    return r;
}

int CellX(int col)
{
    return col * CELL_SIZE + CELL_SIZE / 2;
}
int CellY(int row)
{
    return row * CELL_SIZE + CELL_SIZE / 2;
}

// The hand: resting, gliding to a cell, grabbing, dragging along a row, letting go.
void Idle(int frames)
{
    for (int i = 0; i < frames; i++)
        Frame(0, pointerX, pointerY);
}

void MoveTo(int col, int row, int frames = 12)
{
    int x0 = pointerX, y0 = pointerY;
    for (int i = 1; i <= frames; i++)
        Frame(0, x0 + (CellX(col) - x0) * i / frames, y0 + (CellY(row) - y0) * i / frames);
}

void Drag(int col, int row, int toCol, int framesPerCell = 4)
{
    MoveTo(col, row);
    Frame(1, CellX(col), CellY(row));
    int step = toCol > col ? 1 : -1;
    for (int c = col; c != toCol; c += step)
        for (int i = 1; i <= framesPerCell; i++)
            Frame(1, CellX(c) + step * CELL_SIZE * i / framesPerCell, CellY(row));
    Frame(1, CellX(toCol), CellY(row));
    Frame(0, CellX(toCol), CellY(row));
}

// A board from rows of text (the rows of the bottom of the board; the ones
// above are empty; the legend is in tools/sim/boardtext.h), walls in the
// chapter's family, saved where the level loader can read it.
std::string Board(int chapter, std::vector<std::string> rows, bool spare)
{
    while (static_cast<int>(rows.size()) < BOARD_ROWS)
        rows.insert(rows.begin(), std::string(BOARD_COLS, '.'));
    // Unless the clip ends the level, a pair of treasures waits on the walls at
    // the board's edges, out of view, so that no clip is won by accident.
    if (spare) {
        rows[0][0] = 's';
        rows[0][BOARD_COLS - 1] = 's';
    }
    std::string path = outDir + "/board.bin";
    std::string error;
    if (!WriteBoardText(rows, chapter, path, &error)) {
        fprintf(stderr, "tovi-record: %s\n", error.c_str());
        exit(1);
    }
    return path;
}

// Starts clip n on a board of the given chapter, showing the view (in cells).
void Begin(int n, int chapter, const std::vector<std::string>& rows, int col, int row, int cols, int rowsShown)
{
    std::string path = Board(chapter, rows, n != 11);
    // A level in the middle of its chapter: its art, no chapter picture.
    SimStart(FirstLevelOf(chapter) + 1, path.c_str());
    remove(path.c_str());
    view = {static_cast<Sint16>(col * CELL_SIZE), static_cast<Sint16>(row * CELL_SIZE),
            static_cast<Uint16>(cols * CELL_SIZE), static_cast<Uint16>(rowsShown * CELL_SIZE)};
    std::string name = outDir + "/help" + std::to_string(n) + ".rgb";
    out = fopen(name.c_str(), "wb");
    frameCount = 0;
    pointerX = CellX(col + cols - 2);
    pointerY = CellY(row + 1);
}

void End()
{
    if (out)
        fclose(out);
    out = nullptr;
}

// 12 x 9 cells, from column 4 and row 3, scaled by a half.
void Clips()
{
    // 1: grab a treasure, slide it along the floor, and the pair vanishes.
    Begin(1, 1,
          {"####............####", "####............####", "####............####", "####............####",
           "####c.e.....e..c####", "####################"},
          5, 6, 8, 6);
    Idle(20);
    Drag(6, 10, 11, 5);
    Idle(70);
    End();

    // 2: slid off a ledge, a treasure falls to its partner below.
    Begin(2, 2,
          {"####............####", "####....f.......####", "####.#####......####", "####............####",
           "####............####", "####.....f.c..c.####", "####################"},
          5, 6, 8, 6);
    Idle(20);
    Drag(8, 6, 10, 5);
    Idle(90);
    End();

    // 3: a platform carries a treasure across a gap to its partner.
    Begin(3, 3,
          {"####............####", "####............####", "####...d....d...####", "####..#H...#########",
           "####..#....#....####", "####..#....#g..g####", "####################"},
          5, 6, 8, 6);
    Idle(100);
    Drag(10, 7, 11, 5);
    Idle(70);
    End();

    // 4: a stack of two rides a platform across the pit and back. On the far
    // side the top treasure meets its partner on the ledge and both vanish; the
    // one beneath rides on (its partner waits out of view). The hand rests in
    // the pit, out of the way.
    Begin(4, 4,
          {"####...i....i...####", "####...h....#...####", "####..#H....#...####", "####..#.....#.h.####",
           "####################"},
          5, 6, 8, 6);
    pointerX = CellX(9);
    pointerY = CellY(10);
    Idle(260);
    End();

    // 5: mud holds what slides into it; its partner has to come to it.
    Begin(5, 1,
          {"####............####", "####............####", "####..j.....j...####", "########M###########",
           "####################"},
          5, 6, 8, 6);
    Idle(15);
    Drag(6, 9, 10, 5);
    Idle(30);
    Drag(12, 9, 9, 5);
    Idle(60);
    End();

    // 6: into the teleport, out on the exit pad beside its partner.
    Begin(6, 2, {"####............####", "####............####", "####..k.T...Ok..####", "####################"}, 6, 6,
          8, 6);
    Idle(15);
    Drag(6, 10, 8, 6);
    Idle(100);
    End();

    // 7: the spikes rise and fall; a block jams the pit, and a treasure can
    // cross over it safely.
    Begin(7, 3,
          {"####............####", "####............####", "####.lB.....l...####", "########S###########",
           "####################"},
          5, 6, 8, 6);
    Idle(40);
    Drag(6, 9, 8, 5);
    Idle(30);
    Drag(5, 9, 11, 5);
    Idle(70);
    End();

    // 8: a crumbling block bears one visit; the second breaks it.
    Begin(8, 4, {"####....m...n.n.####", "########C###########", "#######.m.##########", "####################"}, 6, 6,
          8, 6);
    Idle(20);
    Drag(8, 8, 9, 6);
    Idle(10);
    Drag(9, 8, 8, 6);
    Idle(90);
    End();

    // 9: a treasure on the button switches the magnet on and it lifts the
    // treasure under it; taken off the button, it lets go.
    Begin(9, 1,
          {"####.....G......####", "####............####", "####............####", "####............####",
           "####............####", "####............####", "####.p...o..o.p.####", "#######P############"},
          4, 3, 12, 9);
    Idle(15);
    Drag(5, 10, 7, 6);
    Idle(70);
    Drag(7, 10, 5, 6);
    Idle(50);
    End();

    // 10: a treasure slid into the spikes while they are up: the level is lost.
    Begin(10, 2,
          {"####............####", "####............####", "####............####", "####.q......q...####",
           "########S###########", "####################"},
          2, 0, 16, 12);
    Idle(30);
    Drag(5, 9, 8, 5);
    bool lost = false;
    for (int i = 0; i < 260 && !lost; i++)
        lost = Frame(0, pointerX, pointerY) == SIM_FAILED;
    Idle(40);
    End();
}

}  // namespace

int main(int argc, char* argv[])
{
    const char* dir = SimToolStart(argc, argv, "tovi-record", "DIR");
    if (!dir)
        return 2;
    outDir = dir;
    // The level-complete panel waits for the finished sound, so a (silent)
    // sound device is opened before the level sounds are loaded.
    bool sound = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 && Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 4096) == 0;
    InitLevel();
    LoadLevelScreenArt();
    Clips();

    // 11: the last pair of a level: the level is finished and its panel comes
    // up with the score.
    Begin(11, 3, {"####............####", "####............####", "####.r.....r....####", "####################"}, 2, 0,
          16, 12);
    Idle(20);
    Drag(5, 10, 10, 5);
    Idle(150);
    End();
    if (sound)
        Mix_CloseAudio();
    SimClose();
    return sound ? 0 : 1;
}
