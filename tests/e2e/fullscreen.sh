#!/usr/bin/env bash
# Full screen under a window manager, as a player's desktop has one: the
# window covers the whole screen and the game's 640 x 480 picture is scaled up
# to fit, with black bars where the shapes differ (1280 x 1024 here: scale 2,
# bars of 32 pixels above and below). The title screen is up by then.
set -u
binary="$1"
source "$(dirname "$0")/lib/common.sh"
need_display
command -v openbox >/dev/null || { echo "SKIP: no window manager installed"; exit 0; }
cp "$binary" "$work/starmarch"

openbox --sm-disable >/dev/null 2>&1 &
wm=$!
sleep 1
"$work/starmarch" -full 2>"$work/stderr.txt" &
game=$!
window=$(game_window)
[ -n "$window" ] || { fail "no game window"; exit 1; }
sleep 6
screen=$(xdpyinfo | sed -n 's/.*dimensions: *\([0-9]*x[0-9]*\).*/\1/p')
geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
[ "$geometry" = "$screen" ] || fail "full-screen window is $geometry on a $screen screen"

import -window root "$work/shot.png"
pixel() { pixel_of "$work/shot.png" "$1" "$2"; }
[ "$(pixel 640 10)" = "#000000" ] || fail "no black bar above the picture: $(pixel 640 10)"
[ "$(pixel 640 1015)" = "#000000" ] || fail "no black bar below the picture: $(pixel 640 1015)"
# The title's planet spans the picture from edge to edge near its bottom.
[ "$(pixel 4 900)" != "#000000" ] || fail "picture does not reach the left edge"
[ "$(pixel 1275 900)" != "#000000" ] || fail "picture does not reach the right edge"

kill -TERM "$game"
ended "$game"; rc=$?
[ "$rc" = "0" ] || { fail "game exited with $rc"; cat "$work/stderr.txt"; }
kill "$wm" 2>/dev/null
wait "$wm" 2>/dev/null
finish fullscreen
