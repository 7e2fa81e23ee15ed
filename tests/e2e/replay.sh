#!/usr/bin/env bash
# Replays as a user meets them: the lab plays a kept one and prints its
# table; a replay whose table was changed fails verification naming the
# country and column; bad files exit 2 with the reason. The game watches one
# with --replay (sped up with +) straight to its result table, and a bad file
# sends it to the title with the reason in its log.
set -u
binary="$1"
sim="$4"
source "$(dirname "$0")/lib/common.sh"
kept="$(cd "$(dirname "$0")/../replays" && pwd)"

"$sim" --replay "$kept/manual.smreplay" --json > "$work/manual.json" || fail "the lab could not play manual.smreplay"
grep -q '"steps":2400' "$work/manual.json" || fail "JSON: $(head -c 300 "$work/manual.json")"
grep -q '"verified"' "$work/manual.json" && fail "--verify was not asked for"

# The last byte is the last row's score: changed, the replay no longer matches.
cp "$kept/manual.smreplay" "$work/changed.smreplay"
size=$(stat -c %s "$work/changed.smreplay")
last=$(tail -c 1 "$work/changed.smreplay" | od -An -tu1 | tr -d ' ')
printf "\\x$(printf %02x $((last ^ 2)))" | dd of="$work/changed.smreplay" bs=1 seek=$((size - 1)) conv=notrunc 2>/dev/null
"$sim" --replay "$work/changed.smreplay" --verify > /dev/null 2> "$work/err.txt"; rc=$?
[ "$rc" = "1" ] || fail "a changed replay verified with exit code $rc"
grep -q "differs from its recording at the final table: .*'s score is" "$work/err.txt" ||
    fail "the difference is not named: $(cat "$work/err.txt")"

head -c 100 "$kept/manual.smreplay" > "$work/cut.smreplay"
printf 'NOT A REPLAY' > "$work/magic.smreplay"
for bad in cut:truncated magic:"wrong magic" missing:"cannot open"; do
    name="${bad%%:*}" reason="${bad#*:}"
    "$sim" --replay "$work/$name.smreplay" --verify > /dev/null 2> "$work/err.txt"; rc=$?
    [ "$rc" = "2" ] || fail "$name.smreplay exited with $rc"
    grep -q "$reason" "$work/err.txt" || fail "$name.smreplay: $(cat "$work/err.txt")"
done
"$sim" --replay "$kept/manual.smreplay" --frames 10 > /dev/null 2>&1; [ "$?" = "2" ] || fail "--replay took --frames"

need_display
cp "$binary" "$work/starmarch"
cp -r "$(dirname "$binary")/Data" "$work/" 2>/dev/null
export ALSOFT_DRIVERS=null
pixel() { import -window root "$work/shot.png"; pixel_of "$work/shot.png" $((320 + $1)) $((272 + $2)); }

"$work/starmarch" -win --replay "$kept/manual.smreplay" 2>"$work/watch.txt" &
game=$!
window=$(game_window)
[ -n "$window" ] || { fail "no game window"; exit 1; }
xdotool windowfocus --sync "$window" 2>/dev/null
sleep 5
grep -q 'リプレイ: 再生します (800x600, 種 11, 2400 ステップ)' "$work/watch.txt" ||
    fail "--replay did not start the battle: $(tail -3 "$work/watch.txt")"
# It plays at the size it was recorded at, not the configured 640 x 480.
geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
[ "$geometry" = "800x600" ] || fail "the replay plays in a $geometry window, not its own 800x600"
grep -q 'で記録され' "$work/watch.txt" && fail "the replay was played at another size"
pixel() { import -window root "$work/shot.png"; pixel_of "$work/shot.png" $((240 + $1)) $((212 + $2)); }
for i in 1 2 3; do key KP_Add; done                           # eight steps a frame
# The battle's end is logged with its pace, and the result table follows.
for i in $(seq 60); do
    grep -q '戦闘: ' "$work/watch.txt" && break
    sleep 1
done
sleep 1
grep -q '戦闘: ' "$work/watch.txt" || fail "the replay did not end: $(tail -3 "$work/watch.txt")"
[ "$(pixel 320 400)" != "#000000" ] || fail "no result table after the replay"
key Escape; sleep 1; key Escape                               # the title, and out
ended "$game"; rc=$?
[ "$rc" = "0" ] || fail "the game exited with $rc after watching"

"$work/starmarch" -win --replay "$work/cut.smreplay" 2>"$work/bad.txt" &
game=$!
window=$(game_window)
[ -n "$window" ] || { fail "no game window"; exit 1; }
xdotool windowfocus --sync "$window" 2>/dev/null
sleep 5
grep -q "cut.smreplay: .*truncated" "$work/bad.txt" || fail "the bad file's reason is not in the log: $(tail -5 "$work/bad.txt")"
[ "$(pixel 320 400)" != "#000000" ] || fail "a bad replay did not lead to the title"
key Escape
ended "$game"; rc=$?
[ "$rc" = "0" ] || fail "the game exited with $rc after a bad replay"

finish replay
