#!/usr/bin/env bash
# Installs the game into a scratch DESTDIR and checks what lands where; starts
# the installed game from its launcher against a scratch HOME (headless, quit as
# if the window were closed) and checks that the player's folder, the media link
# and the save files are made there while the install stays as it was; then
# plays the awkward cases (old save folders, folders that cannot be made or
# written, missing media) against a stand-in game.
# Usage: check-install.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd -P)
src=$(cd "$2" && pwd -P)
tmp=$(mktemp -d /tmp/tovi-test-install.XXXXXX)
trap 'chmod -R u+rwx "$tmp" 2>/dev/null; rm -rf "$tmp"' EXIT
chmod 755 "$tmp"

failed=0
passed=0
# check WHAT COMMAND...: runs COMMAND and counts it.
check() {
    local what=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        echo "FAIL: $what"
        failed=$((failed + 1))
    fi
}
has() { grep -q -- "$2" "$1"; }
# one_line FILE PATTERN: FILE is a single line matching PATTERN.
one_line() { test "$(wc -l < "$1")" = 1 && grep -q -- "$2" "$1"; }
is_link_to() { test -L "$1" && test "$(readlink "$1")" = "$2"; }

DESTDIR="$tmp/root" cmake --install "$build" --prefix /usr > "$tmp/install.log"
root="$tmp/root/usr"
share="$root/share/tovi-mudgrove"

# --- The layout ----------------------------------------------------------
for f in bin/tovi bin/tovi-sim bin/tovi-mudgrove; do
    check "$f is an installed program" test -f "$root/$f" -a -x "$root/$f"
done
check "the media tree is installed whole and unchanged" diff -r "$src/media" "$share/media"
(cd "$tmp/root" && find . ! -type d | sed 's|^\./||' | sort) > "$tmp/files"
grep -v -e '^usr/bin/' -e '^usr/share/tovi-mudgrove/media/' -e '^usr/share/applications/' \
    -e '^usr/share/metainfo/' -e '^usr/share/icons/hicolor/' -e '^usr/share/man/man6/' \
    "$tmp/files" > "$tmp/stray" || true
check "nothing is installed outside bin/, the data folder and the desktop's folders" test ! -s "$tmp/stray"
check "the launcher is a POSIX shell script" sh -n "$root/bin/tovi-mudgrove"
check "the launcher knows no build or source folder" \
    bash -c "! grep -q -e '$build' -e '$src' '$root/bin/tovi-mudgrove'"

# --- The desktop's files --------------------------------------------------
# png_size FILE: "W H" from a PNG's header, empty for anything else.
png_size() {
    [ "$(head -c 8 "$1" 2>/dev/null | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || return 0
    od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8}'
}
for size in 16 32 48 64 128 256; do
    icon="$root/share/icons/hicolor/${size}x${size}/apps/tovi-mudgrove.png"
    check "the ${size}x${size} icon is a PNG of that size" test "$(png_size "$icon")" = "$size $size"
done
desktop="$root/share/applications/tovi-mudgrove.desktop"
check "the menu entry passes desktop-file-validate" desktop-file-validate "$desktop"
check "the menu entry starts the launcher with the installed icon" \
    bash -c "grep -qx 'Exec=tovi-mudgrove' '$desktop' && grep -qx 'Icon=tovi-mudgrove' '$desktop'"
metainfo="$root/share/metainfo/tovi-mudgrove.metainfo.xml"
check "the metainfo passes appstreamcli validate" bash -c "appstreamcli validate --no-net --pedantic '$metainfo' > '$tmp/appstream.log'"
check "the metainfo names the menu entry" has "$metainfo" '<launchable type="desktop-id">tovi-mudgrove.desktop<'
# Each screenshot the metainfo shows is one of the tour's pictures.
grep -o 'screens/[a-z_0-9]*\.png' "$metainfo" | sed 's|^screens/||' > "$tmp/shots"
check "the metainfo shows screenshots" test -s "$tmp/shots"
while read -r shot; do
    check "the screenshot $shot is in docs/screens" test -f "$src/docs/screens/$shot"
done < "$tmp/shots"
for page in tovi-mudgrove tovi-sim; do
    man="$root/share/man/man6/$page.6"
    check "the manual page $page(6) is installed" test -f "$man"
    check "the manual page $page(6) formats without warnings" \
        bash -c "groff -ww -z -man '$man' 2>&1 | (! grep -q .)"
done

snapshot() { (cd "$tmp/root" && find . -printf '%p %s %m %T@\n' | sort); }
snapshot > "$tmp/before"

# --- The real game from the launcher --------------------------------------
# Starts the launcher in the background and waits until the game it became has
# SDL's handler for SIGTERM in place; SIGTERM then reaches the game as a closed
# window, and the game ends its loop and exits normally.
game=$(readlink -f "$root/bin/tovi")
run_real() {
    local out=$1
    shift
    env "$@" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$root/bin/tovi-mudgrove" \
        > "$out.out" 2> "$out.err" &
    local pid=$! waited=0 caught
    while :; do
        if [ "$(readlink "/proc/$pid/exe" 2>/dev/null)" = "$game" ]; then
            caught=$(sed -n 's/^SigCgt:[[:space:]]*//p' "/proc/$pid/status" 2>/dev/null || true)
            [ -n "$caught" ] && [ $((0x$caught & 0x4000)) -ne 0 ] && break
        fi
        kill -0 "$pid" 2>/dev/null || break
        waited=$((waited + 1))
        if [ "$waited" -gt 1200 ]; then
            echo "FAIL: the game did not come up within a minute"
            kill -KILL "$pid"
            break
        fi
        sleep 0.05
    done
    kill -TERM "$pid" 2>/dev/null || true
    local rc=0
    wait "$pid" || rc=$?
    echo "$rc" > "$out.rc"
}

home="$tmp/home"
mkdir "$home"
data="$home/.local/share/tovi-mudgrove"
run_real "$tmp/first" -u XDG_DATA_HOME HOME="$home"
check "the game started from the launcher exits normally (status $(cat "$tmp/first.rc"))" \
    test "$(cat "$tmp/first.rc")" = 0
check "the launcher and the game say nothing on a normal run" test ! -s "$tmp/first.err"
check "the player's folder is made under ~/.local/share" test -d "$data"
check "media in the player's folder links to the installed media" \
    is_link_to "$data/media" "$(readlink -f "$share/media")"
check "the settings file is written in the player's folder" \
    test "$(stat -c %s "$data/config.dat" 2>/dev/null)" = 20
snapshot > "$tmp/after"
check "the install is left as it was" cmp -s "$tmp/before" "$tmp/after"

# The second start keeps what the first left.
cp "$data/config.dat" "$tmp/config.first"
run_real "$tmp/second" -u XDG_DATA_HOME HOME="$home"
check "a second start exits normally" test "$(cat "$tmp/second.rc")" = 0
check "a second start keeps the settings" cmp -s "$tmp/config.first" "$data/config.dat"

# --- The launcher's cases, against a stand-in game -------------------------
# The stand-in records the folder it was started in; the rest of the install
# is a copy of the real one.
cp -a "$tmp/root" "$tmp/fake"
fake="$tmp/fake/usr"
rm "$fake/bin/tovi"
printf '#!/bin/sh\npwd -P > "%s"\n' "$tmp/ran" > "$fake/bin/tovi"
chmod 755 "$fake/bin/tovi"
fmedia=$(readlink -f "$fake/share/tovi-mudgrove/media")
# launch NAME ENV... [-- ARGS...]: runs the launcher with the given environment
# and arguments; NAME.rc, NAME.out and NAME.err hold what it did, and $tmp/ran
# the folder the game started in.
launch() {
    local name=$1
    shift
    local envs=()
    while [ "$#" -gt 0 ] && [ "$1" != -- ]; do
        envs+=("$1")
        shift
    done
    [ "$#" -gt 0 ] && shift
    rm -f "$tmp/ran"
    local rc=0
    env "${envs[@]}" "$fake/bin/tovi-mudgrove" "$@" > "$tmp/$name.out" 2> "$tmp/$name.err" || rc=$?
    echo "$rc" > "$tmp/$name.rc"
}
rc() { cat "$tmp/$1.rc"; }
ran_in() { test -f "$tmp/ran" && test "$(cat "$tmp/ran")" = "$(readlink -f "$1")"; }
not_ran() { test ! -e "$tmp/ran"; }

# XDG_DATA_HOME is honoured when absolute and ignored when relative.
h2="$tmp/h2"
mkdir "$h2"
launch xdg HOME="$h2" XDG_DATA_HOME="$tmp/xdg"
check "an absolute XDG_DATA_HOME holds the player's folder" ran_in "$tmp/xdg/tovi-mudgrove"
launch relxdg HOME="$h2" XDG_DATA_HOME=relative/path
check "a relative XDG_DATA_HOME is ignored" ran_in "$h2/.local/share/tovi-mudgrove"
launch nohome -u HOME -u XDG_DATA_HOME
check "no HOME and no XDG_DATA_HOME: status 1" test "$(rc nohome)" = 1
check "no HOME and no XDG_DATA_HOME: one line saying so" one_line "$tmp/nohome.err" HOME

# An older save folder: its saves are kept byte for byte; a real folder named
# media is moved aside with its files (beside an earlier one already aside),
# and the link takes its place.
old="$tmp/old/tovi-mudgrove"
mkdir -p "$old/media/images" "$old/media.old"
printf 'my own level' > "$old/media/images/mine.png"
printf 'earlier' > "$old/media.old/keep"
printf '\001\000\000\000\050\000\000\000\036\000\000\000\000\000\000\000\000\000\000\000' > "$old/config.dat"
printf 'players' > "$old/player.dat"
printf 'scores' > "$old/highscore.dat"
(cd "$old" && md5sum config.dat player.dat highscore.dat) > "$tmp/old.sums"
launch oldfolder HOME="$h2" XDG_DATA_HOME="$tmp/old"
check "an old save folder: the game starts" test "$(rc oldfolder)" = 0
check "an old save folder: the game runs in it" ran_in "$old"
check "an old save folder: the saves are kept" bash -c "cd '$old' && md5sum -c --quiet '$tmp/old.sums'"
check "an old media folder is moved aside with its files" \
    test "$(cat "$old/media.old2/images/mine.png" 2>/dev/null)" = "my own level"
check "an earlier folder set aside is kept" test "$(cat "$old/media.old/keep")" = earlier
check "an old media folder: the link replaces it" is_link_to "$old/media" "$fmedia"
check "an old media folder: the player is told where it went" has "$tmp/oldfolder.err" media.old2

# Links left by an older install, dangling or elsewhere, are replaced.
ln -sfn /nonexistent/media "$old/media"
launch stale HOME="$h2" XDG_DATA_HOME="$tmp/old"
check "a dangling media link is replaced" is_link_to "$old/media" "$fmedia"
check "a dangling media link: the game starts, quietly" \
    test "$(rc stale)" = 0 -a ! -s "$tmp/stale.err"
ln -sfn "$tmp/old/tovi-mudgrove/media.old" "$old/media"
launch elsewhere HOME="$h2" XDG_DATA_HOME="$tmp/old"
check "a media link to another folder is replaced" is_link_to "$old/media" "$fmedia"
check "a media link to another folder: what it pointed at is kept" \
    test "$(cat "$old/media.old/keep")" = earlier

# A save folder that cannot be made: a file stands where a folder must go.
printf 'x' > "$tmp/afile"
launch nocreate HOME="$h2" XDG_DATA_HOME="$tmp/afile"
check "a save folder that cannot be made: status 1" test "$(rc nocreate)" = 1
check "a save folder that cannot be made: one line naming it" \
    one_line "$tmp/nocreate.err" "cannot create the save folder $tmp/afile/tovi-mudgrove"
check "a save folder that cannot be made: the game does not start" not_ran
check "a save folder that cannot be made: the file in the way is kept" test "$(cat "$tmp/afile")" = x

# A save folder that cannot be written: root may write anywhere, so as root
# the launcher runs as an ordinary user on a folder that user does not own.
ro="$tmp/ro/tovi-mudgrove"
mkdir -p "$ro"
printf 'players' > "$ro/player.dat"
chmod 555 "$ro"
as_user=()
if [ "$(id -u)" = 0 ]; then
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    chmod 777 "$tmp"  # the stand-in records where it ran here
fi
rm -f "$tmp/ran"
rc_ro=0
"${as_user[@]}" env HOME="$h2" XDG_DATA_HOME="$tmp/ro" "$fake/bin/tovi-mudgrove" \
    > "$tmp/ro.out" 2> "$tmp/ro.err" || rc_ro=$?
chmod 755 "$tmp"
check "a save folder that cannot be written: status 1" test "$rc_ro" = 1
check "a save folder that cannot be written: one line naming it" \
    one_line "$tmp/ro.err" "cannot write in the save folder $ro"
check "a save folder that cannot be written: the game does not start" not_ran
check "a save folder that cannot be written: its files are kept" test "$(cat "$ro/player.dat")" = players
check "a save folder that cannot be written: no link is left half made" test ! -e "$ro/media" -a ! -L "$ro/media"

# The media folder is missing: nothing is made for the player.
mv "$fake/share/tovi-mudgrove/media" "$tmp/media.away"
launch nomedia HOME="$tmp/h3"
check "missing media: status 1" test "$(rc nomedia)" = 1
check "missing media: one line naming the folder" \
    one_line "$tmp/nomedia.err" "media folder .*/share/tovi-mudgrove/media is missing"
check "missing media: no player's folder is made" test ! -e "$tmp/h3"
check "missing media: the game does not start" not_ran
mv "$tmp/media.away" "$fake/share/tovi-mudgrove/media"

# Started through a link elsewhere on the PATH, it still finds its install.
mkdir "$tmp/path"
ln -s "$fake/bin/tovi-mudgrove" "$tmp/path/tovi-mudgrove"
rm -f "$tmp/ran"
(cd "$tmp" && HOME="$h2" PATH="$tmp/path:$PATH" tovi-mudgrove > /dev/null 2>&1) || true
check "started through a link on the PATH, the game starts" ran_in "$h2/.local/share/tovi-mudgrove"

# Its own arguments.
launch help HOME="$h2" -- --help
check "--help: status 0 and a usage line" test "$(rc help)" = 0 -a -n "$(grep Usage "$tmp/help.out")"
check "--help: the game does not start" not_ran
launch bogus HOME="$h2" -- --bogus
check "an unknown argument: status 2" test "$(rc bogus)" = 2
check "an unknown argument: it is named" has "$tmp/bogus.err" '"--bogus"'
check "an unknown argument: the game does not start" not_ran

# --- The Debian package ---------------------------------------------------
# Built from the same install rules into a scratch folder.
if cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/pkg" > "$tmp/cpack.log" 2>&1; then
    deb=$(ls "$tmp/pkg"/tovi-mudgrove_*.deb 2>/dev/null | head -n 1)
else
    cat "$tmp/cpack.log"
    deb=
fi
check "cpack -G DEB makes tovi-mudgrove_VERSION_ARCH.deb" test -n "$deb"
if [ -n "$deb" ]; then
    dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/^ *//; s/ .*//' | sort -u > "$tmp/depends"
    check "the package is in the games section" test "$(dpkg-deb -f "$deb" Section)" = games
    check "the package has a long description" test "$(dpkg-deb -f "$deb" Description | wc -l)" -gt 2
    # Every library the installed programs load comes from a package it depends
    # on. A sanitizer build loads its checkers' runtimes too, which no package
    # for players holds, so only a plain build is held to this.
    progs="tovi tovi-sim"
    objdump -p "$root/bin/tovi" > "$tmp/needed"
    grep -q "NEEDED.*lib[a-z]*san\\." "$tmp/needed" && progs=
    for prog in $progs; do
        for lib in $(objdump -p "$root/bin/$prog" | awk '/NEEDED/ {print $2}'); do
            path=$(ldd "$root/bin/$prog" | awk -v l="$lib" '$1 == l {print $3}')
            owner=$( (dpkg -S "$path" || dpkg -S "$(readlink -f "$path")" ||
                      dpkg -S "/usr$path" || dpkg -S "${path#/usr}") 2>/dev/null | head -n 1 | cut -d: -f1)
            check "$prog loads $lib: its package ${owner:-?} is a dependency" \
                grep -qx -- "${owner:-none}" "$tmp/depends"
        done
    done
    dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./||' | grep -v '/$' | sort > "$tmp/debfiles"
    (cd "$tmp/root" && find . ! -type d | sed 's|^\./||' | sort) > "$tmp/files.now"
    check "the package holds exactly what the install rules install" cmp -s "$tmp/debfiles" "$tmp/files.now"
    dpkg-deb -c "$deb" | awk '$1 ~ /^-..x/ {print $6}' | sed 's|^\./||' | sort > "$tmp/debexec"
    check "the package's programs are the three in bin/" \
        test "$(tr '\n' ' ' < "$tmp/debexec")" = "usr/bin/tovi usr/bin/tovi-mudgrove usr/bin/tovi-sim "
fi

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
