#!/usr/bin/env bash
# Full screen under a window manager, as a player's desktop has one: the
# window covers the whole screen and the game's 640 x 480 picture is scaled up
# to fit, with black bars where the shapes differ (1280 x 1024 here: scale 2,
# bars of 32 pixels above and below). The title screen is up by then.
set -u
binary="$1"
[ -n "${DISPLAY:-}" ] || { echo "SKIP: no DISPLAY"; exit 0; }
command -v openbox >/dev/null || { echo "SKIP: no window manager installed"; exit 0; }

work=$(mktemp -d)
trap 'kill -9 $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
cp "$binary" "$work/starmarch"
export XDG_RUNTIME_DIR="$work"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

openbox --sm-disable >/dev/null 2>&1 &
wm=$!
sleep 1
"$work/starmarch" -full 2>"$work/stderr.txt" &
game=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Starmarch Version 1\.03$' | head -1)
[ -n "$window" ] || { fail "no game window"; exit 1; }
sleep 6
screen=$(xdpyinfo | sed -n 's/.*dimensions: *\([0-9]*x[0-9]*\).*/\1/p')
geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
[ "$geometry" = "$screen" ] || fail "full-screen window is $geometry on a $screen screen"

import -window root "$work/shot.png"
pixel() { convert "$work/shot.png" -crop "1x1+$1+$2" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -1; }
[ "$(pixel 640 10)" = "#000000" ] || fail "no black bar above the picture: $(pixel 640 10)"
[ "$(pixel 640 1015)" = "#000000" ] || fail "no black bar below the picture: $(pixel 640 1015)"
# The title's planet spans the picture from edge to edge near its bottom.
[ "$(pixel 4 900)" != "#000000" ] || fail "picture does not reach the left edge"
[ "$(pixel 1275 900)" != "#000000" ] || fail "picture does not reach the right edge"

kill -TERM "$game"
timeout 20 tail --pid="$game" -f /dev/null
wait "$game"; rc=$?
[ "$rc" = "0" ] || { fail "game exited with $rc"; cat "$work/stderr.txt"; }
kill "$wm" 2>/dev/null
wait "$wm" 2>/dev/null
[ "$failures" -eq 0 ] && echo "fullscreen e2e: all checks passed"
exit "$failures"
