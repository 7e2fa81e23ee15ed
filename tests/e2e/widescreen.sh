#!/usr/bin/env bash
# A 1920 x 1080 desktop with a window manager, the game set to full screen at
# the desktop's own size: the picture fills the screen without bars, the UI
# scale is 2 (menus, overlays and text twice as large, the pointer counting
# pixels of a 960 x 540 screen), the title's buttons, the country selection's
# drag and drop and the battle's overlays sit where the scaled layout puts
# them. Alt + Enter makes it a window and the choice is kept. Screenshots of
# the run stay in the build tree (e2e-screenshots/widescreen-*).
set -u
binary="$1"
# Its own 1920 x 1080 screen, whatever screen the other tests run on.
if [ "${WIDESCREEN_XVFB:-}" != 1 ]; then
    command -v xvfb-run >/dev/null || { echo "SKIP: no xvfb-run"; exit 0; }
    WIDESCREEN_XVFB=1 exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" "$@"
fi
source "$(dirname "$0")/lib/common.sh"
need_display
command -v openbox >/dev/null || { echo "SKIP: no window manager installed"; exit 0; }
cp "$binary" "$work/starmarch"
shots="$(dirname "$binary")/e2e-screenshots"
mkdir -p "$shots"
export ALSOFT_DRIVERS=null
printf 'Window=0\nDispSize=7\n' >"$work/Starmarch.cfg"

openbox --sm-disable >/dev/null 2>&1 &
wm=$!
sleep 1
"$work/starmarch" 2>"$work/stderr.txt" &
game=$!
window=$(game_window)
[ -n "$window" ] || { fail "no game window"; exit 1; }
xdotool windowfocus --sync "$window" 2>/dev/null
sleep 5
geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
[ "$geometry" = "1920x1080" ] || fail "the desktop-sized window is $geometry"

# The pointer counts UI pixels (960 x 540); the mouse moves twice as far on
# the screen. The 640 x 480 menus sit in the middle of the UI screen, at (160, 30).
scale=2; pointer_at_middle 960 540
menu_to() { move_to $((160 + $1)) $((30 + $2)); }
shoot() { import -window root "$work/shot.png"; cp "$work/shot.png" "$shots/widescreen-$1.png"; }
# A screen pixel of the last shot.
pixel() { pixel_of "$work/shot.png" "$1" "$2"; }

shoot title
# The title's 640 x 480 design drawn twice as large in the middle of the
# screen, unscaled otherwise (a 4:3 picture stretched to the screen's height
# would put its left edge at 240): its planet spans x 320 ... 1599.
[ "$(pixel 316 900)" = "#000000" ] && [ "$(pixel 324 900)" != "#000000" ] ||
    fail "the title's left edge is not at 320 ($(pixel 316 900) $(pixel 324 900))"
[ "$(pixel 1596 900)" != "#000000" ] && [ "$(pixel 1604 900)" = "#000000" ] ||
    fail "the title's right edge is not at 1600 ($(pixel 1596 900) $(pixel 1604 900))"

menu_to 585 415; click; sleep 1                 # "Choose Countries"
pointer_at_middle 960 540
shoot selection-empty
# The outline of the countries not placed yet: design (300, 20), two pixels thick.
[ "$(pixel 920 100)" = "#808080" ] && [ "$(pixel 921 101)" = "#808080" ] ||
    fail "no country selection at scale 2 (outline is $(pixel 920 100))"
japan_row=$(pixel 384 140)
menu_to 32 40; press; menu_to 60 95; release    # Japan into slot 0
menu_to 82 40; press; menu_to 260 95; release   # the United States into slot 4
menu_to 100 85; click                           # Japan is the player's country
shoot selection
[ "$japan_row" != "#000000" ] && [ "$(pixel 384 140)" = "#000000" ] || fail "Japan's flag is still in the row"
[ "$(pixel 384 250)" != "#000000" ] || fail "no flag in slot 0"

menu_to 585 440; click; sleep 4                 # "Start"
pointer_at_middle 960 540
shoot battle
# The country overlay hugs the bottom-left corner, the fighter list the
# top-right one, both drawn twice as large: their frames' lines are two
# pixels wide at (10, y) and (1908, y).
[ "$(pixel 10 1040)" != "#000000" ] && [ "$(pixel 11 1040)" = "$(pixel 10 1040)" ] ||
    fail "no country overlay frame at the scaled left edge ($(pixel 10 1040))"
[ "$(pixel 1908 40)" != "#000000" ] && [ "$(pixel 1909 40)" = "$(pixel 1908 40)" ] ||
    fail "no fighter list frame at the scaled right edge ($(pixel 1908 40))"

# Alt + Enter: a window now (the desktop's size still: the back buffer keeps
# its size), and the next start opens as one.
fullscreen_state() { xprop -id "$window" _NET_WM_STATE | grep -c FULLSCREEN; }
[ "$(fullscreen_state)" = 1 ] || fail "the game did not start full screen"
xdotool keydown alt; xdotool key Return; xdotool keyup alt; sleep 2
[ "$(fullscreen_state)" = 0 ] || fail "Alt + Enter left the window full screen"
shoot window
key Escape; sleep 1                              # the result table
pointer_at_middle 960 540
shoot result
key Escape; sleep 1                              # the title
pointer_at_middle 960 540
menu_to 585 440; click; sleep 1                 # "Settings"
pointer_at_middle 960 540
shoot settings
# The window mode's options show the window chosen by Alt + Enter: the
# "Window" box (design 115, 20) has its cross, the "Fullscreen" box
# (10, 20) none.
[ "$(pixel 555 105)" != "#000000" ] && [ "$(pixel 345 105)" = "#000000" ] ||
    fail "the settings do not show the window chosen by Alt + Enter"
key Escape; sleep 1
kill -TERM "$game"
ended "$game"; rc=$?
[ "$rc" = "0" ] || { fail "game exited with $rc"; cat "$work/stderr.txt"; }
grep -q '^Window=1$' "$work/Starmarch.cfg" || fail "Alt + Enter's window was not kept: $(head -2 "$work/Starmarch.cfg")"
grep -q '^DispSize=7$' "$work/Starmarch.cfg" || fail "the display size changed"
kill "$wm" 2>/dev/null
wait "$wm" 2>/dev/null
finish widescreen
