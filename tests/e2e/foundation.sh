#!/usr/bin/env bash
# Starts the real game under the test display as a player would, closes it
# the way the desktop does (SIGTERM), and checks what it leaves behind: exit
# code 0, the log file and a configuration file with the default lines. A
# second copy started meanwhile must show its message and exit without a
# window of its own.
set -u
binary="$1"
close_button="$2"
source "$(dirname "$0")/lib/common.sh"
need_display
cp "$binary" "$work/starmarch"
# The player's controller mappings beside the configuration are read at start.
echo '03000000aaaa0000bbbb000000000000,Made-up Pad,a:b0,b:b1,platform:Linux,' > "$work/gamecontrollerdb.txt"

visible_windows() { xdotool search --onlyvisible --name '' 2>/dev/null | sort; }

"$work/starmarch" -win -dbf 2>"$work/stderr1.txt" &
game=$!
window=$(game_window)
[ -n "$window" ] || { fail "no game window appeared"; cat "$work/stderr1.txt"; exit 1; }
sleep 2

geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
[ "$geometry" = "640x480" ] || fail "client area is '$geometry', expected 640x480"

# After the loading screen the title shows: the planet backdrop fills the
# lower half, the title picture the top, and the game's own pointer is drawn.
sleep 4
import -window root "$work/shot.png"
colours=$(convert "$work/shot.png" -crop 640x480+320+272 -unique-colors txt:- | wc -l)
[ "$colours" -gt 200 ] || fail "the title screen shows only $colours colours"
[ "$(pixel_of "$work/shot.png" 640 700)" != "#000000" ] || fail "no planet under the title"

# The second copy: its message box appears, nothing else does.
before=$(visible_windows)
"$work/starmarch" -win 2>"$work/stderr2.txt" &
second=$!
box=""
for _ in $(seq 1 50); do
    box=$(comm -13 <(echo "$before") <(visible_windows) | head -1)
    [ -n "$box" ] && break
    kill -0 "$second" 2>/dev/null || break
    sleep 0.2
done
[ -n "$box" ] || fail "the second copy showed no message box"
[ "$(xdotool search --onlyvisible --name '^Starmarch Version 1\.03$' | wc -l)" = "1" ] ||
    fail "the second copy opened a game window"
[ -n "$box" ] && xdotool key --window "$box" Return
ended "$second"; rc2=$?
[ "$rc2" = "0" ] || fail "second copy exited with $rc2"
grep -q 'このプログラムは既に起動しています.' "$work/stderr2.txt" || fail "second copy gave no message on stderr"
# Refused before any device started, it still stops each one: its log ends
# with the four stop lines in the teardown's order.
separator=----------------------------------------
stops="$separator FreeDirectMusic $separator FreeDirectSound $separator FreeInput $separator FreeDirect3D "
[ "$(tail -8 "$work/stderr2.txt" | tr '\n' ' ')" = "$stops" ] ||
    fail "the second copy's log does not end with the stop lines: $(tail -8 "$work/stderr2.txt" | tr '\n' '|')"
[ "$(grep -c InitDebugStream "$work/debug.txt")" = "1" ] || fail "the second copy wrote to the log file"

grep -q 'gamecontrollerdb.txt: 1 controller mappings' "$work/debug.txt" || fail "the controller mappings were not read"
kill -TERM "$game"
ended "$game"; rc=$?
[ "$rc" = "0" ] || { fail "game exited with $rc"; cat "$work/stderr1.txt"; }

expected_log=(
    "----------------------------------------"
    "InitDebugStream"
    "InitDirect3D"
    "ウインドウ化 = ON"
    "InitDirectInput"
    "InitDirectSound"
    "InitDirectMusic"
    "FreeDirectMusic"
    "FreeDirectSound"
    "FreeInput"
    "FreeDirect3D"
)
for line in "${expected_log[@]}"; do
    grep -qxF -- "$line" "$work/debug.txt" || fail "debug.txt lacks the line '$line'"
done
grep -qE '^[0-9]{4}/[0-9]{2}/[0-9]{2}  [0-9]{2}:[0-9]{2}$' "$work/debug.txt" || fail "debug.txt lacks the time line"
grep -qE '^OS = ID [0-9]+ ver, [0-9]+\.[0-9]+ build [0-9]+$' "$work/debug.txt" || fail "debug.txt lacks the OS line"
# Start-up names come in the chain's order, stops in reverse.
order=$(grep -E '^(Init|Free)' "$work/debug.txt" | tr '\n' ' ')
[ "$order" = "InitDebugStream InitDirect3D InitDirectInput InitDirectSound InitDirectMusic FreeDirectMusic FreeDirectSound FreeInput FreeDirect3D " ] ||
    fail "start and stop order: $order"

# The four described lines byte for byte, then the settings added since.
expected_cfg="Window=0
DispSize=0
Keys=44,45,208,200,203,205,30,31,57,15,23,47,33,25,31,57,28,35,36,
Joys=-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,
FrameRate=0
UiScale=0
PadPointer=1"
[ "$(cat "$work/Starmarch.cfg" 2>/dev/null)" = "$expected_cfg" ] || fail "Starmarch.cfg: $(cat "$work/Starmarch.cfg" 2>&1)"

# The window's close button ends the game the same way, with a window of the
# configured size (the file now asks for 800 x 600 in a window).
printf 'Window=1\nDispSize=1\n' > "$work/Starmarch.cfg"
"$work/starmarch" 2>"$work/stderr4.txt" &
game=$!
window=$(game_window)
if [ -n "$window" ]; then
    sleep 1
    geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
    [ "$geometry" = "800x600" ] || fail "configured 800x600 window is '$geometry'"
    "$close_button" "$window"
else
    fail "no window for the close-button run"
fi
ended "$game"; rc4=$?
[ "$rc4" = "0" ] || fail "close button: game exited with $rc4"
head -2 "$work/Starmarch.cfg" | tr '\n' ' ' | grep -qx 'Window=1 DispSize=1 ' || fail "close button: configuration not kept: $(cat "$work/Starmarch.cfg")"
grep -q '^Keys=44,' "$work/Starmarch.cfg" || fail "close button: configuration lacks the keys line"

# Escape on the title screen, held for a few frames, ends the game cleanly.
"$work/starmarch" -win 2>"$work/stderr5.txt" &
game=$!
window=$(game_window)
if [ -n "$window" ]; then
    # Escape ends the game from the title, after the loading screen.
    sleep 5
    xdotool windowfocus --sync "$window" 2>/dev/null
    xdotool keydown Escape; sleep 0.15; xdotool keyup Escape
else
    fail "no window for the Escape run"
fi
timeout 20 tail --pid="$game" -f /dev/null
if kill -0 "$game" 2>/dev/null; then
    fail "Escape did not end the game"
    kill -TERM "$game"
fi
wait "$game"; rc5=$?
[ "$rc5" = "0" ] || fail "Escape: game exited with $rc5"

# No display at all: one clear line, exit 0, nothing written.
rm -f "$work/Starmarch.cfg" "$work/debug.txt"
env -u DISPLAY -u WAYLAND_DISPLAY "$work/starmarch" -dbf >"$work/out3.txt" 2>"$work/stderr3.txt"
rc3=$?
[ "$rc3" = "0" ] || fail "without a display the game exited with $rc3"
[ "$(wc -l < "$work/stderr3.txt")" = "1" ] || fail "without a display: $(cat "$work/stderr3.txt")"
grep -q 'display' "$work/stderr3.txt" || fail "without a display the message does not say so"
[ ! -e "$work/debug.txt" ] && [ ! -e "$work/Starmarch.cfg" ] || fail "without a display files were written"

finish foundation
