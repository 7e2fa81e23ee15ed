#!/usr/bin/env bash
# How fast the game draws a battle on this machine: starts the game in a
# window, places COUNTRIES countries with FIGHTERS fighters each, watches the
# battle for SECONDS seconds and prints the game's own count of steps and
# pictures (its log line on leaving the battle).
#   scripts/measure-pictures.sh BINARY [FRAMERATE] [DISPSIZE] [COUNTRIES] [FIGHTERS] [SECONDS]
# FRAMERATE as in Starmarch.cfg (0 VSync, 30 one picture a step, 60/120/144,
# -1 unlimited); DISPSIZE 0..2. Needs a display (xvfb-run) and xdotool.
set -u
binary=$1; rate=${2:--1}; size=${3:-0}; countries=${4:-4}; fighters=${5:-5}; seconds=${6:-10}
work=$(mktemp -d)
trap 'kill -9 $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work" ALSOFT_DRIVERS=null
cp "$binary" "$work/starmarch"
cp -r "$(dirname "$binary")/Data" "$work/" 2>/dev/null
printf 'Window=1\nDispSize=%s\nKeys=44,45,208,200,203,205,30,31,57,15,23,47,33,25,31,57,28,35,36,\n' "$size" >"$work/Starmarch.cfg"
printf 'Joys=-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,\nFrameRate=%s\n' "$rate" >>"$work/Starmarch.cfg"
"$work/starmarch" -win -dbf 2>/dev/null &
game=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Starmarch Version 1\.03$' | head -1)
[ -n "$window" ] || { echo "no game window" >&2; exit 1; }
xdotool windowfocus --sync "$window" 2>/dev/null
sleep 5
# The design's coordinates are those of 640 x 480 around the screen's middle.
width=(640 800 1024); height=(480 600 768)
x0=$(( (width[size] - 640) / 2 )); y0=$(( (height[size] - 480) / 2 ))
cx=$(( width[size] / 2 )); cy=$(( height[size] / 2 ))
move_to() {
    local dx=$(( $1 + x0 - cx )) dy=$(( $2 + y0 - cy ))
    while [ "$dx" -ne 0 ] || [ "$dy" -ne 0 ]; do
        local sx=$(( dx > 60 ? 60 : (dx < -60 ? -60 : dx) )) sy=$(( dy > 60 ? 60 : (dy < -60 ? -60 : dy) ))
        xdotool mousemove_relative -- "$sx" "$sy"; sleep 0.05
        dx=$(( dx - sx )); dy=$(( dy - sy ))
    done
    cx=$(( $1 + x0 )); cy=$(( $2 + y0 )); sleep 0.1
}
centre() { cx=$(( width[size] / 2 )); cy=$(( height[size] / 2 )); }
press() { xdotool mousedown 1; sleep 0.15; }
release() { xdotool mouseup 1; sleep 0.15; }
click() { press; release; }
move_to 585 415; click; sleep 1; centre                 # "Choose Countries"
for (( i = 0; i < countries; i++ )); do                 # country i into slot i
    move_to $(( 30 + 50 * i )) 40; press
    move_to $(( 30 + 200 * (i / 4) )) $(( 90 + 35 * (i % 4) )); release
done
for (( f = 3; f != fighters; f = f % 10 + 1 )); do move_to 500 225; click; done
move_to 585 440; click; sleep 0.6; centre               # "Start"
sleep "$seconds"
xdotool keydown Escape; sleep 0.15; xdotool keyup Escape; sleep 1
kill -TERM "$game"; wait "$game"
grep -a '^戦闘:' "$work/debug.txt"
