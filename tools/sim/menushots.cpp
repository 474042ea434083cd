// tovi-menu-shots: pictures of the chapter map, the options, the credits, the
// three help pages and a help clip playing in its slot, for the screenshot
// tour. Run from the top of the repository: it loads the art these screens use
// from media/ (as the main menu's loading does) and drives each screen frame by
// frame on the virtual clock, the pointer where a player would have it.
//   tovi-menu-shots DIR
#include <cstdio>
#include <string>
#include <vector>

#include "level/sequences.h"
#include "menu/credits.h"
#include "menu/help.h"
#include "menu/map.h"
#include "menu/menu.h"
#include "menu/options.h"
#include "shell/clock.h"
#include "shell/display.h"
#include "shell/geometry.h"
#include "shell/media.h"
#include "shell/screen.h"
#include "shell/settings.h"
#include "shell/shot.h"
#include "tools/sim/simcore.h"
#include "video/video.h"

static std::string outDir;
static int failures = 0;

static void Shot(const char* name)
{
    std::string path = outDir + "/" + name;
    if (!SaveSurfacePng(screen, path.c_str())) {
        fprintf(stderr, "tovi-menu-shots: cannot write %s\n", path.c_str());
        failures++;
        return;
    }
    printf("%s\n", path.c_str());
}

// The menu's own loading brings every picture the screens draw.
static void LoadArt()
{
    InitMenu(screen);
}

int main(int argc, char* argv[])
{
    const char* dir = SimToolStart(argc, argv, "tovi-menu-shots", "DIR");
    if (!dir)
        return 2;
    outDir = dir;
    LoadArt();

    // The map before level 26: the first chapter's five dots, the glow on its
    // way along them, the pointer on the forward button.
    mousechk = 0;
    for (int i = 0; i < 40; i++)
        RenderMap(716, 537, 0, KEY_NONE, SCREEN_MAP + 26, screen);
    Shot("map.png");

    // Options over the main menu as a first start leaves them on a 2560 x 1440
    // desktop (a 2x window fits, 3x does not), the pointer on OK.
    slidm = slidf = 50;
    fulls = 1;
    desktop_w = 2560;
    desktop_h = 1440;
    apply_clip(0, 0, MenuImage, screen, nullptr);
    level_no = SCREEN_OPTIONS;
    for (int i = 0; i < 3; i++)
        RenderOptions(380, 415, 0, screen);
    Shot("options.png");
    FreeMenuBackdrop();
    desktop_w = desktop_h = 0;

    // The credits some ten seconds in.
    for (int i = 0; i < 700; i++) {
        ClockDelay(20);
        RenderCredits(500, 300, 0, KEY_NONE, KEY_NONE, screen);
    }
    Shot("credits.png");

    // The help pages, the pointer on a play button, then page 1's first clip in
    // its slot, caught in the middle: the player is given the clip's first half
    // (it shows what arrives), and its last frame stays on the page.
    level_no = SCREEN_HELP;
    const char* names[HELP_PAGES + 1] = {nullptr, "help_page1.png", "help_page2.png", "help_page3.png"};
    for (int page = 1; page <= HELP_PAGES; page++) {
        backi = page;
        RenderHelp(550, 420, 0, KEY_NONE, screen);
        Shot(names[page]);
    }
    std::string half = outDir + "/.half.ogg";
    FILE* in = fopen("media/video/help1.ogg", "rb");
    FILE* cut = fopen(half.c_str(), "wb");
    if (in && cut) {
        std::vector<char> bytes;
        int c;
        while ((c = fgetc(in)) != EOF)
            bytes.push_back(static_cast<char>(c));
        fwrite(bytes.data(), 1, bytes.size() * 11 / 20, cut);
    }
    if (in)
        fclose(in);
    if (cut)
        fclose(cut);
    backi = 1;
    RenderHelp(550, 180, 0, KEY_NONE, screen);
    ShowFrame(screen);
    LoadPlayV(half.c_str(), HELP_VIDEO_AT[1].x, HELP_VIDEO_AT[1].y);
    Shot("help_video.png");
    remove(half.c_str());
    VideoRelease();
    SimClose();
    return failures ? 1 : 0;
}
