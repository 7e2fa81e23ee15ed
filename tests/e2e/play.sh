#!/usr/bin/env bash
# A player's first battle, driven with the mouse and the keyboard: from the
# title to the country selection, four countries dragged into two teams,
# Japan marked as the player's country, more fighters, "Start", half a minute
# of battle with the player's fighter selected, followed and flown by hand,
# Escape to the result table sorted by score, back to the title, a control
# reassigned on the settings screen, and out. The configuration must keep
# the new key, and a second start must read it back. Screenshots of the run
# stay in the build tree (e2e-screenshots/).
set -u
binary="$1"
source "$(dirname "$0")/lib/common.sh"
need_display
cp "$binary" "$work/starmarch"
shots="$(dirname "$binary")/e2e-screenshots"
mkdir -p "$shots"
cp -r "$(dirname "$binary")/Data" "$work/" 2>/dev/null
export ALSOFT_DRIVERS=null

"$work/starmarch" -win 2>"$work/stderr.txt" &
game=$!
window=$(game_window)
[ -n "$window" ] || { fail "no game window"; exit 1; }
xdotool windowfocus --sync "$window" 2>/dev/null
sleep 5

# A pixel of the game's 640 x 480 picture (the window sits at 320, 272).
pixel() { import -window root "$work/shot.png"; pixel_of "$work/shot.png" $((320 + $1)) $((272 + $2)); }
screenshot() { import -window root "$work/full.png"; convert "$work/full.png" -crop 640x480+320+272 +repage "$shots/$1.png"; }

move_to 585 415; click; sleep 1      # "Choose Countries"
cx=320; cy=240                      # screens start with the pointer in the middle
[ "$(pixel 300 20)" = "#808080" ] || fail "no country selection screen (outline is $(pixel 300 20))"
move_to 32 40; press; move_to 60 95; release       # Japan into slot 0 (team 1)
move_to 82 40; press; move_to 260 95; release      # United States into slot 4 (team 2)
move_to 132 40; press; move_to 60 130; release     # United Kingdom into slot 1 (team 1)
move_to 182 40; press; move_to 260 130; release    # France into slot 5 (team 2)
move_to 100 85; click                              # Japan is the player's country
move_to 500 225; click; click                      # five fighters each
screenshot selection
move_to 585 440; click; sleep 4                    # "Start"
cx=320; cy=240                                     # the battle starts with the pointer in the middle
[ "$(pixel 320 400)" = "#000000" ] || fail "no battle: the planet is still there"
screenshot battle-start
key j; key f                                       # "My Fighter", then follow it
sleep 8; screenshot battle-follow
# The United States' station from the country overlay (the third of four
# rows: its bar spans y 451..459): the first click selects it, the second
# brings the camera to it.
move_to 50 455; click; sleep 0.2; click; sleep 1
key j                                              # my fighter again (the camera stays)
move_to 320 240                                    # the enemy station is in the middle
xdotool mousedown 3; sleep 0.15; xdotool mouseup 3; sleep 0.3   # attack it
screenshot order
key j
key Return                                         # fly it by hand
xdotool keydown a; sleep 1; xdotool keyup a        # throttle up
xdotool keydown Left; sleep 1; xdotool keyup Left  # roll
sleep 2; screenshot manual
key Return                                         # hand it back
sleep 12; screenshot battle-late
kill -0 "$game" 2>/dev/null || fail "the game ended during the battle"
key Escape; sleep 1                                # to the result table
cx=320; cy=240                                     # which opens with the pointer in the middle
[ "$(pixel 320 400)" != "#000000" ] || fail "no result screen after Escape"
move_to 580 25; click                              # sort by total score
screenshot result
key Escape; sleep 1                                # back to the title
cx=320; cy=240
move_to 585 440; click; sleep 1                    # "Settings"
cx=320; cy=240
move_to 60 95; click                               # "Rudder Left" waits for a key
key q
screenshot settings
move_to 585 465; click; sleep 1                    # "Done"
key Escape                                         # and out
ended "$game"; rc=$?
[ "$rc" = "0" ] || { fail "the game exited with $rc"; tail -20 "$work/stderr.txt"; }
grep -q '^Keys=16,45,' "$work/Starmarch.cfg" 2>/dev/null || fail "the new key is not in the configuration: $(cat "$work/Starmarch.cfg")"
# The battle was recorded beside the program, and the lab plays it as it was.
replays=("$work"/replays/battle-*.smreplay)
if [ -f "${replays[0]}" ]; then
    "$4" --replay "${replays[0]}" --verify > "$work/verify.txt" 2>&1 ||
        fail "the lab's run of the game's replay differs: $(cat "$work/verify.txt")"
else
    fail "no replay of the battle in $work/replays"
fi

# A second start reads the new key back (and writes it again at exit).
cp "$work/Starmarch.cfg" "$work/first.cfg"
"$work/starmarch" -win 2>>"$work/stderr.txt" &
game=$!
game_window >/dev/null
sleep 2
kill -TERM "$game"
ended "$game" || fail "the second start did not end cleanly"
cmp -s "$work/first.cfg" "$work/Starmarch.cfg" || fail "the second start lost the settings: $(cat "$work/Starmarch.cfg")"

finish play
