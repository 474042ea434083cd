#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the installed game in the player's own folder.
#
# The game reads media/ and keeps config.dat, player.dat and highscore.dat in
# its working directory. The installed media are read-only, so the game runs in
# the player's data folder ($XDG_DATA_HOME/tovi-mudgrove, by default
# ~/.local/share/tovi-mudgrove), where media is a link to the installed media.
# The launcher finds the game and its media beside itself, so any install
# prefix works.
set -u

me=tovi-mudgrove

fail() {
    printf '%s: %s\n' "$me" "$*" >&2
    exit 1
}

case "${1:-}" in
    -h|--help)
        printf 'Usage: %s\nStarts Tovi Mudgrove in your own data folder (%s).\n' \
            "$me" '$XDG_DATA_HOME/tovi-mudgrove, by default ~/.local/share/tovi-mudgrove'
        exit 0 ;;
    --version)
        printf '%s %s\n' "$me" "@TOVI_VERSION@"
        exit 0 ;;
esac
if [ "$#" -gt 0 ]; then
    printf '%s: unknown argument "%s"\nUsage: %s\n' "$me" "$1" "$me" >&2
    exit 2
fi

# Where the game is installed: @BIN_TO_DATA@ is the data folder as seen from bin/.
self=$(readlink -f -- "$0") || fail "cannot find where the launcher is installed"
bindir=$(dirname -- "$self")
game="$bindir/tovi"
[ -x "$game" ] || fail "the game program $game is missing; reinstall the game"
share=$(cd -- "$bindir/@BIN_TO_DATA@" 2>/dev/null && pwd -P) \
    || fail "the game's data folder $bindir/@BIN_TO_DATA@ is missing; reinstall the game"
media=$share/media
[ -d "$media/images" ] || fail "the game's media folder $media is missing; reinstall the game"

# The player's folder. A relative XDG_DATA_HOME is ignored, as the desktop does.
case "${XDG_DATA_HOME:-}" in
    /*) base=$XDG_DATA_HOME ;;
    *)
        [ -n "${HOME:-}" ] || fail "neither HOME nor XDG_DATA_HOME is set, so there is no place for your saves"
        base=$HOME/.local/share ;;
esac
data=$base/tovi-mudgrove

if [ ! -d "$data" ]; then
    mkdir -p -- "$data" 2>/dev/null || fail "cannot create the save folder $data"
fi
# The game writes its files through a temporary file in this folder, so it must
# take new files; a test file is made and removed, the saves are not touched.
probe="$data/.write-test.$$"
if ! ( : > "$probe" ) 2>/dev/null; then
    fail "cannot write in the save folder $data; check its owner and permissions"
fi
rm -f -- "$probe"

# media in the player's folder links to the installed media. A link left by an
# older install, or a dangling one, is replaced. A real file or folder of that
# name is the player's: it is moved aside, never deleted.
link="$data/media"
if [ -L "$link" ]; then
    [ "$(readlink -- "$link")" = "$media" ] || ln -sfn -- "$media" "$link" \
        || fail "cannot replace the old media link $link"
else
    if [ -e "$link" ]; then
        aside="$link.old"
        n=1
        while [ -e "$aside" ] || [ -L "$aside" ]; do
            n=$((n + 1))
            aside="$link.old$n"
        done
        mv -- "$link" "$aside" || fail "cannot move the old $link aside; move it away and start again"
        printf '%s: moved the old %s aside to %s; the game uses the installed media\n' \
            "$me" "$link" "$aside" >&2
    fi
    ln -s -- "$media" "$link" || fail "cannot link the media into $data"
fi

# The SDL 1.2 compatibility library, where installed beside the classic one
# (Debian 12's libsdl1.2-compat), scales the game to big screens by itself.
# Every architecture's folder is named; the loader skips those of other ones.
for compat in /usr/lib/*/sdl12-compat /usr/lib/sdl12-compat; do
    if [ -e "$compat/libSDL-1.2.so.0" ]; then
        LD_LIBRARY_PATH="$compat${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
        export LD_LIBRARY_PATH
    fi
done

cd -- "$data" || fail "cannot enter the save folder $data"
exec "$game"
