#!/usr/bin/env bash
# Installs the game into a scratch DESTDIR and checks what lands where; starts
# the installed game from its launcher against a scratch HOME (headless, quit as
# if the window were closed) and checks that the player's folder, the media link
# and the save files are made there while the install stays as it was; then
# plays the awkward cases (old save folders, folders that cannot be made or
# written, missing media) against a stand-in game.
# With --package it also builds the Debian packages from a copy of the source,
# runs lintian and appstreamcli on them, installs them with apt, starts the
# installed launcher headless as an ordinary user, removes and purges the
# packages and checks that the player's saves are kept. What it did is written
# to BUILD_DIR/install-check.log.
# Usage: check-install.sh BUILD_DIR SOURCE_DIR [--package|--no-package]
set -euo pipefail
build=$(cd "$1" && pwd -P)
src=$(cd "$2" && pwd -P)
package=${3:---no-package}
tmp=$(mktemp -d /tmp/tovi-test-install.XXXXXX)
# The packages this check installed are purged whatever happens.
ours_installed=0
cleanup() {
    if [ "$ours_installed" = 1 ]; then
        dpkg --purge tovi-mudgrove tovi-mudgrove-data > /dev/null 2>&1 || true
    fi
    chmod -R u+rwx "$tmp" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
chmod 755 "$tmp"
app=io.github.tovi_mudgrove.tovi_mudgrove
log="$build/install-check.log"
: > "$log"
# say LINE...: one line of the transcript, on the output and in the log.
say() { printf '%s\n' "$*" | tee -a "$log"; }

failed=0
passed=0
# check WHAT COMMAND...: runs COMMAND and counts it.
check() {
    local what=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        say "FAIL: $what"
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
    icon="$root/share/icons/hicolor/${size}x${size}/apps/$app.png"
    check "the ${size}x${size} icon is a PNG of that size" test "$(png_size "$icon")" = "$size $size"
done
desktop="$root/share/applications/$app.desktop"
check "the menu entry passes desktop-file-validate" desktop-file-validate "$desktop"
check "the menu entry starts the launcher with the installed icon and names the window's class" \
    bash -c "grep -qx 'Exec=tovi-mudgrove' '$desktop' && grep -qx 'Icon=$app' '$desktop' &&
             grep -qx 'StartupWMClass=$app' '$desktop'"
metainfo="$root/share/metainfo/$app.metainfo.xml"
# appstream_clean FILE: appstreamcli validates FILE with no warning or error.
appstream_clean() {
    appstreamcli validate --no-net --pedantic "$1" > "$tmp/appstream.log" 2>&1 &&
        ! grep -q '^[WE]:' "$tmp/appstream.log"
}
check "the metainfo passes appstreamcli validate --pedantic with no warnings" appstream_clean "$metainfo"
check "the metainfo's id is the application id" has "$metainfo" "<id>$app</id>"
check "the metainfo names the menu entry" has "$metainfo" "<launchable type=\"desktop-id\">$app.desktop<"
for page in tovi tovi-mudgrove tovi-sim; do
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
# run_real OUT LAUNCHER GAME [PREFIX...] -- ENV...: starts LAUNCHER (through
# PREFIX, such as a change of user) and waits for it to become GAME.
run_real() {
    local out=$1 launcher=$2 game
    game=$(readlink -f "$3")
    shift 3
    local prefix=()
    while [ "$1" != -- ]; do
        prefix+=("$1")
        shift
    done
    shift
    "${prefix[@]}" env "$@" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$launcher" \
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
            say "FAIL: the game did not come up within a minute"
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
run_real "$tmp/first" "$root/bin/tovi-mudgrove" "$root/bin/tovi" -- -u XDG_DATA_HOME HOME="$home"
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
run_real "$tmp/second" "$root/bin/tovi-mudgrove" "$root/bin/tovi" -- -u XDG_DATA_HOME HOME="$home"
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

say "install rules and launcher: $passed passed, $failed failed"

# --- The Debian packages ---------------------------------------------------
if [ "$package" = --package ]; then
    # Built from a copy of the source as a packager gets it: the files git
    # knows, as they stand in the working tree.
    ver=$(sed -n '1s/^tovi-mudgrove (\([^)]*\)).*/\1/p' "$src/debian/changelog")
    pkgsrc="$tmp/pkg/tovi-mudgrove-$ver"
    mkdir -p "$pkgsrc"
    (cd "$src" && git ls-files -z --cached --others --exclude-standard |
        while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
        tar --null -T - -cf -) | tar -xf - -C "$pkgsrc"
    if ! (cd "$pkgsrc" && dpkg-checkbuilddeps) > /dev/null 2>&1; then
        say "installing the packages' build dependencies"
        DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 build-dep -y -qq "$pkgsrc" \
            > "$tmp/builddep.log" 2>&1 || cat "$tmp/builddep.log"
    fi
    # The source package and both binary packages; no tests inside, two jobs.
    start=$(date +%s)
    if (cd "$pkgsrc" && DEB_BUILD_OPTIONS="parallel=2 nocheck" dpkg-buildpackage -us -uc) \
        > "$tmp/pkg/build.log" 2>&1; then
        say "dpkg-buildpackage -us -uc: built in $(( $(date +%s) - start )) s:"
        (cd "$tmp/pkg" && ls -l ./*.dsc ./*.deb ./*.changes) | awk '{print "  " $5, $9}' | tee -a "$log"
    else
        tail -n 40 "$tmp/pkg/build.log"
    fi
    game_deb="$tmp/pkg/tovi-mudgrove_${ver}_$(dpkg --print-architecture).deb"
    data_deb="$tmp/pkg/tovi-mudgrove-data_${ver}_all.deb"
    changes="$tmp/pkg/tovi-mudgrove_${ver}_$(dpkg --print-architecture).changes"
    check "dpkg-buildpackage makes the game's and the data's packages" test -f "$game_deb" -a -f "$data_deb"
fi
if [ "$package" = --package ] && [ -f "$game_deb" ] && [ -f "$data_deb" ]; then
    # lintian on the source and the binaries, pedantic tags included: any error,
    # warning or pedantic tag that is not overridden fails.
    lint_rc=0
    say "lintian --pedantic --display-info --show-overrides --fail-on error,warning,pedantic $(basename "$changes")"
    lintian --pedantic --display-info --show-overrides --fail-on error,warning,pedantic \
        "$changes" > "$tmp/lintian.log" 2>&1 || lint_rc=$?
    { grep -v 'running with root privileges' "$tmp/lintian.log" || true; } | sed 's/^/  /' | tee -a "$log"
    say "lintian --pedantic: status $lint_rc, $(grep -c '^[EWP]: ' "$tmp/lintian.log" || true) tags not overridden, $(grep -c '^O: ' "$tmp/lintian.log" || true) overridden"
    check "lintian finds no error, warning or pedantic tag that is not overridden" test "$lint_rc" = 0

    # What the packages hold.
    dpkg-deb -x "$game_deb" "$tmp/deb"
    dpkg-deb -x "$data_deb" "$tmp/deb"
    dpkg-deb -c "$game_deb" | awk '$1 ~ /^-..x/ {print $6}' | sed 's|^\./||' | sort | tr '\n' ' ' > "$tmp/debexec"
    check "the game's package has the three programs in /usr/games" \
        test "$(cat "$tmp/debexec")" = "usr/games/tovi usr/games/tovi-mudgrove usr/games/tovi-sim "
    for page in tovi tovi-mudgrove tovi-sim; do
        check "the manual page $page(6) is packaged gzipped" gzip -t "$tmp/deb/usr/share/man/man6/$page.6.gz"
    done
    # Hardened as dpkg-buildflags asks: position independent, relocations read-only
    # and bound at start, the stack protector and the checked string functions.
    for prog in tovi tovi-sim; do
        check "$prog is built hardened" bash -c "readelf -d '$tmp/deb/usr/games/$prog' | grep -q 'BIND_NOW' &&
            readelf -d '$tmp/deb/usr/games/$prog' | grep -q 'FLAGS_1.*PIE' &&
            readelf -lW '$tmp/deb/usr/games/$prog' | grep -q GNU_RELRO &&
            nm -D '$tmp/deb/usr/games/$prog' | grep -q '__stack_chk_fail' &&
            nm -D '$tmp/deb/usr/games/$prog' | grep -q '__[a-z]*_chk@'"
    done
    check "the data package is for all architectures" test "$(dpkg-deb -f "$data_deb" Architecture)" = all
    check "the data package holds the media, whole and unchanged" \
        diff -r "$src/media" "$tmp/deb/usr/share/games/tovi-mudgrove/media"
    check "the game's package holds no media" bash -c "! dpkg-deb -c '$game_deb' | grep -q /media/"
    check "the game prefers sdl12-compat and takes either SDL 1.2" \
        bash -c "dpkg-deb -f '$game_deb' Depends | grep -q 'libsdl1.2-compat | libsdl1.2debian'"
    check "the game depends on its data at the same version" \
        bash -c "dpkg-deb -f '$game_deb' Depends | grep -qF 'tovi-mudgrove-data (= $ver)'"
    pkg_metainfo="$tmp/deb/usr/share/metainfo/$app.metainfo.xml"
    appstream_rc=0
    appstream_clean "$pkg_metainfo" || appstream_rc=1
    sed 's/^/  /' "$tmp/appstream.log" | tee -a "$log"
    say "appstreamcli validate --pedantic on the packaged metainfo: status $appstream_rc"
    check "the packaged metainfo validates with no warnings" test "$appstream_rc" = 0
    check "the packaged menu entry passes desktop-file-validate" \
        desktop-file-validate "$tmp/deb/usr/share/applications/$app.desktop"

    # Installed with apt, started, removed. One check at a time may own the
    # machine's packages: others wait for the lock.
    exec 9> /tmp/tovi-mudgrove-package-check.lock
    flock 9
    if dpkg-query -W -f='${Status}' tovi-mudgrove 2>/dev/null | grep -q 'install ok installed'; then
        say "note: tovi-mudgrove was installed before the check; it is replaced and removed"
    fi
    installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
    not_installed() { ! installed "$1"; }
    apt_get() {
        DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 -y -q "$@" \
            >> "$tmp/apt.log" 2>&1
    }
    ours_installed=1
    apt_get install "$game_deb" "$data_deb" || tail -n 20 "$tmp/apt.log"
    check "apt installs the game's package" installed tovi-mudgrove
    check "apt installs the data's package" installed tovi-mudgrove-data
    say "apt-get install: $(dpkg-query -W -f='${Package} ${Version} ${Status}; ' tovi-mudgrove tovi-mudgrove-data 2>&1)"

    # The installed launcher as a player would start it: an ordinary user, a
    # fresh home, no display.
    phome="$tmp/player"
    mkdir "$phome"
    user=()
    if [ "$(id -u)" = 0 ]; then
        chown 65534:65534 "$phome"
        user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    fi
    run_real "$tmp/pkgrun" /usr/games/tovi-mudgrove /usr/games/tovi "${user[@]}" -- \
        -u XDG_DATA_HOME HOME="$phome" PATH=/usr/games:/usr/bin:/bin
    saves="$phome/.local/share/tovi-mudgrove"
    say "the installed launcher ran the game headless: status $(cat "$tmp/pkgrun.rc"), save folder: $(cd "$saves" 2>/dev/null && ls -A | tr '\n' ' ')"
    check "the installed game starts from its launcher and exits normally" test "$(cat "$tmp/pkgrun.rc")" = 0
    check "the installed launcher and game say nothing on a normal run" test ! -s "$tmp/pkgrun.err"
    check "the installed game writes its settings in the player's folder" test -s "$saves/config.dat"
    check "media in the player's folder links to the installed media" \
        is_link_to "$saves/media" /usr/share/games/tovi-mudgrove/media
    # The player's saves: the settings the game wrote, and players and scores.
    printf 'players' > "$saves/player.dat" || true
    printf 'scores' > "$saves/highscore.dat" || true
    (cd "$saves" && md5sum config.dat player.dat highscore.dat) > "$tmp/saves.sums" || true

    apt_get remove tovi-mudgrove tovi-mudgrove-data || tail -n 20 "$tmp/apt.log"
    check "apt removes the game's package" not_installed tovi-mudgrove
    check "apt removes the data's package" not_installed tovi-mudgrove-data
    check "after removal no program is left in /usr/games" test ! -e /usr/games/tovi -a ! -e /usr/games/tovi-mudgrove
    check "after removal the player's saves are kept byte for byte" bash -c "cd '$saves' && md5sum -c --quiet '$tmp/saves.sums'"
    # What removal leaves of a package's own files goes with a purge; apt knows
    # packages installed from files only while they are installed, so dpkg purges.
    dpkg --purge tovi-mudgrove tovi-mudgrove-data >> "$tmp/apt.log" 2>&1 || tail -n 20 "$tmp/apt.log"
    check "after purging no media are left" test ! -e /usr/share/games/tovi-mudgrove
    check "after purging the player's saves are kept byte for byte" bash -c "cd '$saves' && md5sum -c --quiet '$tmp/saves.sums'"
    ours_installed=0
    say "apt-get remove, dpkg --purge: installed now: $(installed tovi-mudgrove && echo tovi-mudgrove) $(installed tovi-mudgrove-data && echo tovi-mudgrove-data); saves after purge: $(cd "$saves" && md5sum -c "$tmp/saves.sums" | tr '\n' ' ')"
    flock -u 9
fi

say "$passed passed, $failed failed"
[ "$failed" = 0 ]
