// Every picture the game draws, listed once. The loaders of the start-up, the
// fonts, the level screen, the main menu and the level list, the screenshot
// tools and the image test all read these lists.
//
// A row: X(slot, path, first, last, shift, format, step, w, h)
//   slot    ONE(variable) for one picture, MANY(table) for a numbered family,
//           NOSLOT where its owner loads it on demand from the path
//   path    the file; a family prints its number into the "%d"
//   first, last  a family's numbers (NONE, NONE: one picture)
//   shift   a family's number n goes into table[n + shift]
//   format  how it is decoded (MediaFormat without its MEDIA_ prefix)
//   step    the main menu's loading step that brings it (0: not the menu's)
//   w, h    the size the code relies on (0: any)
// Each list belongs to one loader; TOVI_IMAGES is all of them.
#ifndef TOVI_SHELL_MANIFEST_H
#define TOVI_SHELL_MANIFEST_H

// The strip: with alpha, packed once its first frame is cut.
enum MediaFormat { MEDIA_ALPHA, MEDIA_OPAQUE, MEDIA_RAW, MEDIA_STRIP };
constexpr int NONE = -1;  // first and last of a single picture

#define CHAPTER_PICTURES "media/images/chapter%d.png"

// A loader's rows as ImageRow initialisers (shell/media.h): {LEVEL_IMAGES(IMAGE_ROW)}.
#define ONE(s) &(s), 1
#define MANY(t) (t), static_cast<int>(sizeof(t) / sizeof((t)[0]))
#define NOSLOT nullptr, 0
#define IMAGE_ROW(slot, path, first, last, shift, format, step, w, h)                                                  \
    {slot, path, first, last, shift, MEDIA_##format, step},

// clang-format off
// The loading screen, before the menu's loading.
#define START_IMAGES(X) \
    X(ONE(LSImage), "media/images/loading_screen.png", NONE, NONE, 0, RAW, 0, 800, 600) \
    X(ONE(LSTImage), "media/images/loading_screen_tape.png", NONE, NONE, 0, RAW, 0, 517, 44)

// The window's icon.
#define ICON_IMAGES(X) \
    X(NOSLOT, "media/images/tovi_icon.bmp", NONE, NONE, 0, RAW, 0, 32, 32)

// The fonts.
#define FONT_IMAGES(X) \
    X(ONE(fPicture), "media/images/font20.png", NONE, NONE, 0, ALPHA, 0, 0, 34) \
    X(ONE(fsPicture), "media/images/font14.png", NONE, NONE, 0, ALPHA, 0, 0, 23) \
    X(ONE(fmPicture), "media/images/font16.png", NONE, NONE, 0, ALPHA, 0, 0, 26)

// The chapter backgrounds with the HUD, loaded as a chapter begins.
#define CHAPTER_IMAGES(X) \
    X(NOSLOT, CHAPTER_PICTURES, 0, 4, 0, OPAQUE, 0, 800, 600)

// The level screen's own, once a run: sheets of 40 x 40 frames, the HUD's buttons, the dialogs.
#define LEVEL_IMAGES(X) \
    X(ONE(TileTrack), "media/images/tile.png", NONE, NONE, 0, ALPHA, 0, 80 * 40, 40) \
    X(ONE(ElemntsTrack), "media/images/blokel.png", NONE, NONE, 0, ALPHA, 0, 29 * 40, 40) \
    X(ONE(SpikeTrac), "media/images/spikes.png", NONE, NONE, 0, ALPHA, 0, 18 * 40, 40) \
    X(ONE(vfont), "media/images/fontcnt.png", NONE, NONE, 0, ALPHA, 0, 60, 780) \
    X(ONE(menubtn), "media/images/hud_button_hoveron.png", NONE, NONE, 0, ALPHA, 0, 110, 40) \
    X(ONE(HudUndo[0]), "media/images/hud_undo.png", NONE, NONE, 0, ALPHA, 0, 106, 52) \
    X(ONE(HudUndo[1]), "media/images/hud_undo_hover.png", NONE, NONE, 0, ALPHA, 0, 106, 52) \
    X(ONE(HudHint[0]), "media/images/hud_hint.png", NONE, NONE, 0, ALPHA, 0, 106, 52) \
    X(ONE(HudHint[1]), "media/images/hud_hint_hover.png", NONE, NONE, 0, ALPHA, 0, 106, 52) \
    X(ONE(optimizedImageCursor), "media/images/kursorb.png", NONE, NONE, 0, ALPHA, 0, 40, 40) \
    X(ONE(optimizedImageCursorh), "media/images/kursorbh.png", NONE, NONE, 0, ALPHA, 0, 40, 40) \
    X(ONE(dialogr), "media/images/dialog_retry.png", NONE, NONE, 0, ALPHA, 0, 560, 400) \
    X(ONE(dialogrl), "media/images/dialog_lost.png", NONE, NONE, 0, ALPHA, 0, 560, 400) \
    X(ONE(rr), "media/images/r_retry.png", NONE, NONE, 0, RAW, 0, 0, 0) \
    X(ONE(rexit), "media/images/r_cancel.png", NONE, NONE, 0, RAW, 0, 0, 0) \
    X(ONE(rmm), "media/images/r_mainmenu.png", NONE, NONE, 0, RAW, 0, 0, 0) \
    X(ONE(RetryUndo[0]), "media/images/r_undo_off.png", NONE, NONE, 0, ALPHA, 0, 0, 0) \
    X(ONE(RetryUndo[1]), "media/images/r_undo.png", NONE, NONE, 0, ALPHA, 0, 0, 0) \
    X(ONE(leveldone), "media/images/leveldone.png", NONE, NONE, 0, ALPHA, 0, 560, 440) \
    X(ONE(failed), "media/images/failed.png", NONE, NONE, 0, RAW, 0, 400, 310) \
    X(ONE(forhon), "media/images/intro_forward_hoveron.png", NONE, NONE, 0, RAW, 0, 113, 75) \
    X(ONE(forhoff), "media/images/intro_forward_hoveroff.png", NONE, NONE, 0, RAW, 0, 113, 75)

// What the level screen shares with the menu: loaded where the menu's loading has not.
#define LEVEL_ART_IMAGES(X) \
    X(MANY(TeleportImg), "media/images/teleport/tele%d.png", 0, 9, 1, ALPHA, 0, 150, 150) \
    X(MANY(SpikeDestroyImg), "media/images/spike_destroy/spike00%d.png", 1, 34, 0, ALPHA, 0, 200, 200) \
    X(MANY(imgPartOfParticle), "media/images/particles/a00%d.png", 1, 60, 0, ALPHA, 0, 220, 220) \
    X(MANY(ToviLevelImg), "media/images/tovilevel/tovilevel%d.png", 1, 4, 0, ALPHA, 0, 76, 92) \
    X(MANY(IntroImag), "media/images/kadar%d.png", 1, 10, 0, OPAQUE, 0, 800, 600) \
    X(MANY(AshcrystalImg), "media/images/ashcrystal_%d.png", 0, 0, 1, OPAQUE, 0, 800, 600) \
    X(MANY(AshcrystalImg), "media/images/ashcrystal_%d.png", 1, 4, 1, OPAQUE, 0, 310, 335) \
    X(MANY(AshcrystalImg), "media/images/ashcrystal_%d.png", 5, 5, 1, ALPHA, 0, 592, 410) \
    X(MANY(SandImage), "media/images/dust/dust0%d.png", 1, 40, 0, RAW, 0, 240, 160) \
    X(ONE(Mapi), "media/images/map_background.png", NONE, NONE, 0, RAW, 0, 800, 600)

// The main menu's loading, step by step; the item strips are 11 frames of 300 x 400.
#define MENU_IMAGES(X) \
    X(ONE(LSTImage), "media/images/loading_screen_tape.png", NONE, NONE, 0, RAW, 1, 517, 44) \
    X(MANY(menui), "media/images/level0%d.png", 1, 5, 0, STRIP, 3, 11 * 300, 400) \
    X(MANY(ToviLevelImg), "media/images/tovilevel/tovilevel%d.png", 1, 4, 0, ALPHA, 3, 76, 92) \
    X(ONE(forhon2), "media/images/intro_forward_hoveron.png", NONE, NONE, 0, RAW, 3, 113, 75) \
    X(ONE(forhoff2), "media/images/intro_forward_hoveroff.png", NONE, NONE, 0, RAW, 3, 113, 75) \
    X(ONE(btmhon), "media/images/backtomenu_hoveron.png", NONE, NONE, 0, RAW, 3, 113, 75) \
    X(ONE(btmhoff), "media/images/backtomenu_hoveroff.png", NONE, NONE, 0, RAW, 3, 113, 75) \
    X(ONE(optimizedImageCur), "media/images/kursorb.png", NONE, NONE, 0, RAW, 4, 40, 40) \
    X(ONE(loadedImageChk), "media/images/check.png", NONE, NONE, 0, ALPHA, 4, 60, 60) \
    X(MANY(AshcrystalImg), "media/images/ashcrystal_%d.png", 0, 0, 1, OPAQUE, 4, 800, 600) \
    X(MANY(AshcrystalImg), "media/images/ashcrystal_%d.png", 1, 4, 1, OPAQUE, 4, 310, 335) \
    X(MANY(AshcrystalImg), "media/images/ashcrystal_%d.png", 5, 5, 1, ALPHA, 4, 592, 410) \
    X(ONE(loadedImageOk), "media/images/ok_hover.png", NONE, NONE, 0, ALPHA, 4, 0, 0) \
    X(MANY(loadedImageWindow), "media/images/window%d_on.png", 1, 3, 0, ALPHA, 4, 42, 40) \
    X(MANY(loadedImageWindowOff), "media/images/window%d_off.png", 2, 3, 0, ALPHA, 4, 42, 40) /* 1x always fits */ \
    X(ONE(mcont), "media/images/continue_hover.png", NONE, NONE, 0, RAW, 4, 0, 0) \
    X(ONE(mnewg), "media/images/newgame_hover.png", NONE, NONE, 0, RAW, 4, 0, 0) \
    X(ONE(mhs), "media/images/hiscore_hover.png", NONE, NONE, 0, RAW, 4, 0, 0) \
    X(ONE(mexit), "media/images/x_hover.png", NONE, NONE, 0, RAW, 4, 0, 0) \
    X(ONE(mnew), "media/images/pl_new.png", NONE, NONE, 0, RAW, 5, 0, 0) \
    X(ONE(medit), "media/images/pl_edit.png", NONE, NONE, 0, RAW, 5, 0, 0) \
    X(ONE(mdel), "media/images/pl_del.png", NONE, NONE, 0, RAW, 5, 0, 0) \
    X(ONE(mup), "media/images/up_edit.png", NONE, NONE, 0, RAW, 5, 53, 60) \
    X(ONE(muph), "media/images/up_edit_hover.png", NONE, NONE, 0, RAW, 5, 53, 60) \
    X(ONE(mdn), "media/images/down_edit.png", NONE, NONE, 0, RAW, 5, 53, 60) \
    X(ONE(mdnh), "media/images/down_edit_hover.png", NONE, NONE, 0, RAW, 5, 53, 60) \
    X(ONE(mye), "media/images/pl_yes.png", NONE, NONE, 0, RAW, 5, 0, 0) \
    X(ONE(mno), "media/images/pl_no.png", NONE, NONE, 0, RAW, 5, 0, 0) \
    X(ONE(mnc), "media/images/selc.png", NONE, NONE, 0, ALPHA, 5, 260, 30) \
    X(ONE(optimizedImageCredits), "media/images/credits_back.png", NONE, NONE, 0, RAW, 5, 800, 600) \
    X(ONE(loadedImageCrta), "media/images/slid.png", NONE, NONE, 0, ALPHA, 5, 22, 44) \
    X(ONE(optimizedImageCursorp), "media/images/kursorp.png", NONE, NONE, 0, RAW, 5, 40, 40) \
    X(MANY(ToviImage), "media/images/tovi_anim%d.png", 1, 12, 0, ALPHA, 5, 240, 400) \
    X(MANY(IntroImag), "media/images/kadar%d.png", 1, 10, 0, OPAQUE, 6, 800, 600) \
    X(ONE(CamelImage), "media/images/kamila_anim_final.png", NONE, NONE, 0, ALPHA, 6, 5 * 150, 157) \
    X(ONE(MaskImage), "media/images/mask.png", NONE, NONE, 0, ALPHA, 6, 800, 600) \
    X(MANY(SandImage), "media/images/dust/dust0%d.png", 1, 40, 0, RAW, 7, 240, 160) \
    X(ONE(hback), "media/images/helpbutton_hoveroff_back.png", NONE, NONE, 0, RAW, 7, 110, 72) \
    X(ONE(hbackh), "media/images/helpbutton_hoveron_back.png", NONE, NONE, 0, RAW, 7, 110, 72) \
    X(ONE(hleft), "media/images/helpbutton_hoveroff_left.png", NONE, NONE, 0, RAW, 7, 110, 72) \
    X(ONE(hlefth), "media/images/helpbutton_hoveron_left.png", NONE, NONE, 0, RAW, 7, 110, 72) \
    X(ONE(hright), "media/images/helpbutton_hoveroff_right.png", NONE, NONE, 0, RAW, 7, 110, 72) \
    X(ONE(hrighth), "media/images/helpbutton_hoveron_right.png", NONE, NONE, 0, RAW, 7, 110, 72) \
    X(ONE(hpb), "media/images/helpplaybutton_hoveroff.png", NONE, NONE, 0, RAW, 7, 40, 40) \
    X(ONE(hpbh), "media/images/helpplaybutton_hoveron.png", NONE, NONE, 0, RAW, 7, 40, 40) \
    X(MANY(hbackg), "media/images/help_screen%d.png", 1, 3, 0, RAW, 7, 800, 600) \
    X(MANY(imgPartOfParticle), "media/images/particles/a00%d.png", 1, 60, 0, ALPHA, 7, 220, 220) \
    X(MANY(SpikeDestroyImg), "media/images/spike_destroy/spike00%d.png", 1, 34, 0, ALPHA, 8, 200, 200) \
    X(MANY(TeleportImg), "media/images/teleport/tele%d.png", 0, 9, 1, ALPHA, 8, 150, 150) \
    X(MANY(BugImage), "media/images/buba/buba0%d.png", 1, 47, 0, RAW, 9, 110, 80) \
    X(ONE(Mapi), "media/images/map_background.png", NONE, NONE, 0, RAW, 10, 800, 600) \
    X(ONE(Mapb), "media/images/map_bigdot.png", NONE, NONE, 0, RAW, 10, 16, 16) \
    X(ONE(Mapbg), "media/images/map_big_glow.png", NONE, NONE, 0, RAW, 10, 40, 40) \
    X(ONE(Maps), "media/images/map_smalldot.png", NONE, NONE, 0, RAW, 10, 10, 10) \
    X(ONE(Mapsg), "media/images/map_small_glow.png", NONE, NONE, 0, RAW, 10, 32, 32) \
    X(ONE(DialogImagep), "media/images/playeredit.png", NONE, NONE, 0, ALPHA, 10, 560, 400) \
    X(ONE(DialogImagea), "media/images/dialog_new_areusure.png", NONE, NONE, 0, ALPHA, 10, 560, 400) \
    X(ONE(WpImage), "media/images/welcome_pl.png", NONE, NONE, 0, RAW, 10, 375, 61) \
    X(ONE(DialogImageg), "media/images/new_game.png", NONE, NONE, 0, ALPHA, 10, 560, 420) \
    X(ONE(DialogImageHS), "media/images/hiscore_screen.png", NONE, NONE, 0, ALPHA, 10, 800, 600) \
    X(ONE(BaImage), "media/images/baloon.png", NONE, NONE, 0, ALPHA, 10, 160, 90) \
    X(ONE(optimizedImageCreditsm), "media/images/credits_text.png", NONE, NONE, 0, ALPHA, 10, 690, 0) \
    X(ONE(OptionsImage), "media/images/options.png", NONE, NONE, 0, ALPHA, 11, 560, 410)

// The level list and the game dialog's way to it.
#define LIST_IMAGES(X) \
    X(ONE(LevelListImg), "media/images/levellist.png", NONE, NONE, 0, ALPHA, 0, 560, 500) \
    X(ONE(LevelCellImg[0]), "media/images/level_cell_open.png", NONE, NONE, 0, ALPHA, 0, 88, 56) \
    X(ONE(LevelCellImg[1]), "media/images/level_cell_lit.png", NONE, NONE, 0, ALPHA, 0, 88, 56) \
    X(ONE(LevelCellImg[2]), "media/images/level_cell_locked.png", NONE, NONE, 0, ALPHA, 0, 88, 56) \
    X(ONE(LevelListCloseH), "media/images/ll_close_hover.png", NONE, NONE, 0, ALPHA, 0, 0, 0) \
    X(ONE(LevelPageImg[0]), "media/images/left_edit.png", NONE, NONE, 0, ALPHA, 0, 53, 60) \
    X(ONE(LevelPageImg[1]), "media/images/left_edit_hover.png", NONE, NONE, 0, ALPHA, 0, 53, 60) \
    X(ONE(LevelPageImg[2]), "media/images/right_edit.png", NONE, NONE, 0, ALPHA, 0, 53, 60) \
    X(ONE(LevelPageImg[3]), "media/images/right_edit_hover.png", NONE, NONE, 0, ALPHA, 0, 53, 60) \
    X(ONE(LevelsButtonImg[0]), "media/images/levels_rest.png", NONE, NONE, 0, ALPHA, 0, 0, 0)

#define TOVI_IMAGES(X) \
START_IMAGES(X) ICON_IMAGES(X) FONT_IMAGES(X) CHAPTER_IMAGES(X) LEVEL_IMAGES(X) LEVEL_ART_IMAGES(X) MENU_IMAGES(X) LIST_IMAGES(X)
// clang-format on

#endif
