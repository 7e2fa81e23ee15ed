#!/usr/bin/env bash
# The game as a Linux player gets it: installed by an ordinary user into a
# prefix that is then made read-only, and started with a fresh home folder.
# It must keep the player's files in the XDG folders and nothing in the
# prefix, save F12's screenshot in the pictures folder at the back buffer's
# size, answer --help and --version without a window, and ship a desktop
# entry, metainfo and man pages that their checkers accept. The Debian
# package is built from the same install rules (from this build's binaries).
set -u
binary="$1"
source "$(dirname "$0")/lib/common.sh"
need_display
build=$(cd "$(dirname "$binary")" && pwd)
prefix="$work/prefix"
home="$work/home"
run="$work/run"
chmod 711 "$work"
mkdir "$home" "$run"
chmod 700 "$run"
trap 'kill -9 $(jobs -p) 2>/dev/null; chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT

# Run as root (CI), the player is nobody; otherwise the player is whoever runs it.
as_player=()
xauth_copy="${XAUTHORITY:-}"
if [ "$(id -u)" = 0 ]; then
    as_player=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
    chown 65534:65534 "$home" "$run" "$work"
    # The install writes its list of files into the build tree.
    touch "$build/install_manifest.txt"
    manifest_owner=$(stat -c %u:%g "$build/install_manifest.txt")
    chown 65534 "$build/install_manifest.txt"
    if [ -n "$xauth_copy" ]; then
        cp "$XAUTHORITY" "$work/Xauthority"
        chown 65534 "$work/Xauthority"
        xauth_copy="$work/Xauthority"
    fi
fi
# The player's environment: a fresh home, no XDG folders named.
play() {
    "${as_player[@]}" env -i PATH="$PATH" HOME="$home" XDG_RUNTIME_DIR="$run" DISPLAY="${DISPLAY:-}" \
        XAUTHORITY="$xauth_copy" LSAN_OPTIONS="${LSAN_OPTIONS:-}" "$@"
}

play cmake --install "$build" --prefix "$prefix" > "$work/install.txt" 2>&1 ||
    { fail "cmake --install as the player failed"; cat "$work/install.txt"; }
[ -n "${manifest_owner:-}" ] && chown "$manifest_owner" "$build/install_manifest.txt"
for file in bin/starmarch bin/starmarch-sim share/starmarch/Data/LaserShot.wav \
            share/applications/org.starmarch.Starmarch.desktop share/metainfo/org.starmarch.Starmarch.metainfo.xml \
            share/man/man6/starmarch.6 share/man/man6/starmarch-sim.6; do
    [ -f "$prefix/$file" ] || fail "the install lacks $file"
done
for size in 32 48 64 128 256; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/org.starmarch.Starmarch.png"
    [ "$(identify -format '%wx%h' "$icon" 2>&1)" = "${size}x${size}" ] || fail "icon $size: $(identify "$icon" 2>&1)"
done
chmod -R a-w "$prefix"
sleep 1
touch "$work/installed"

# --help and --version: exit 0, no window (no display at all), nothing written.
play env -u DISPLAY "$prefix/bin/starmarch" --help > "$work/help.txt" 2>&1; rc=$?
[ "$rc" = "0" ] || fail "starmarch --help exited with $rc"
grep -q -- '-win' "$work/help.txt" || fail "--help does not list -win: $(cat "$work/help.txt")"
grep -qF "$home/.config/starmarch/Starmarch.cfg" "$work/help.txt" || fail "--help does not name the configuration file"
[ "$(play "$prefix/bin/starmarch" --version)" = "starmarch 1.03" ] || fail "starmarch --version"
play "$prefix/bin/starmarch-sim" --help > /dev/null 2>&1 || fail "starmarch-sim --help failed"
[ -z "$(ls -A "$home")" ] || fail "--help wrote into the home folder: $(ls -A "$home")"

# The game: it starts, F12 saves a screenshot, Escape quits from the title.
play "$prefix/bin/starmarch" -win -dbf 2> "$work/stderr.txt" &
game=$!
window=$(game_window)
shots="$home/Pictures/Starmarch"
if [ -n "$window" ]; then
    # A key pressed while the loading screen's last frame loads goes
    # unseen: F12 until the screenshot is there.
    sleep 5
    xdotool windowfocus --sync "$window" 2>/dev/null
    for _ in $(seq 1 30); do
        xdotool keydown F12; sleep 0.15; xdotool keyup F12
        sleep 0.5
        ls "$shots"/*.png > /dev/null 2>&1 && break
    done
    sleep 1
    xdotool keydown Escape; sleep 0.15; xdotool keyup Escape
else
    fail "no game window appeared"
    cat "$work/stderr.txt"
fi
timeout 30 tail --pid="$game" -f /dev/null
if kill -0 "$game" 2> /dev/null; then
    fail "Escape did not end the game"
    kill -TERM "$game"
fi
wait "$game"; rc=$?
[ "$rc" = "0" ] || { fail "the installed game exited with $rc"; tail -20 "$work/stderr.txt"; }

config="$home/.config/starmarch/Starmarch.cfg"
log="$home/.local/state/starmarch/debug.txt"
[ -f "$config" ] && head -1 "$config" | grep -qx 'Window=0' || fail "no configuration in $config"
[ -f "$log" ] || fail "no log in $log"
for folder in .config .config/starmarch .local .local/state .local/state/starmarch Pictures Pictures/Starmarch; do
    [ "$(stat -c %a "$home/$folder" 2>&1)" = "700" ] || fail "$folder is $(stat -c %a "$home/$folder" 2>&1), not 700"
done
[ -z "$(find "$prefix" -newer "$work/installed" -o -name Starmarch.cfg -o -name debug.txt)" ] ||
    fail "the game wrote into the prefix: $(find "$prefix" -newer "$work/installed")"
grep -qxF "設定ファイル = $config" "$log" || fail "the log does not name $config"
grep -qxF "サウンド = $prefix/share/starmarch/Data/" "$log" || fail "the log does not name the installed sounds"
shot=$(ls "$shots"/starmarch-*.png 2> /dev/null | head -1)
if [ -n "$shot" ]; then
    [ "$(identify -format '%wx%h' "$shot")" = "640x480" ] || fail "the screenshot is $(identify "$shot")"
    grep -qF "Screenshot saved: $(basename "$shot")" "$log" || fail "the log does not tell of the screenshot"
else
    fail "F12 saved no screenshot in $shots"
fi
echo "The installed game used:"
grep -E '^(設定ファイル|サウンド) = |^Screenshot ' "$log"
echo "log = $log"

# The desktop's checkers and the manual.
desktop-file-validate "$prefix/share/applications/org.starmarch.Starmarch.desktop" > "$work/check.txt" 2>&1 ||
    fail "desktop-file-validate: $(cat "$work/check.txt")"
[ -s "$work/check.txt" ] && fail "desktop-file-validate warns: $(cat "$work/check.txt")"
appstreamcli validate --no-net "$prefix/share/metainfo/org.starmarch.Starmarch.metainfo.xml" > "$work/check.txt" 2>&1 ||
    fail "appstreamcli validate: $(cat "$work/check.txt")"
for page in starmarch starmarch-sim; do
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$prefix/share/man/man6/$page.6" > "$work/man.txt" 2> "$work/manwarn.txt" ||
        fail "man -l $page.6 failed"
    [ -s "$work/manwarn.txt" ] && fail "man -l $page.6 warns: $(cat "$work/manwarn.txt")"
    grep -q '^EXIT STATUS' "$work/man.txt" && grep -q '^OPTIONS' "$work/man.txt" || fail "$page(6) lacks its sections"
done

# The Debian package from the same rules: its dependencies read from the binaries.
cpack -G DEB -B "$work/deb" --config "$build/CPackConfig.cmake" > "$work/cpack.txt" 2>&1 ||
    { fail "cpack -G DEB failed"; tail -20 "$work/cpack.txt"; }
deb=$(ls "$work"/deb/starmarch_*.deb 2> /dev/null | head -1)
if [ -n "$deb" ]; then
    depends=$(dpkg-deb --field "$deb" Depends)
    for library in libsdl2-2.0-0 libopenal1 libmeshoptimizer libc6; do
        grep -q "$library" <<< "$depends" || fail "the package does not depend on $library: $depends"
    done
    dpkg-deb --contents "$deb" | grep '\./usr/share/applications/org.starmarch.Starmarch.desktop$' > /dev/null ||
        fail "the package lacks the desktop entry"
    echo "Depends: $depends"
else
    fail "no package was built"
fi

finish install
