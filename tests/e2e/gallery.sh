#!/usr/bin/env bash
# The gallery loads every model and bitmap the game carries through the game's
# own loaders and draws them with the real OpenGL device: all 97 models and
# 17 bitmaps must load, and the picture must show them.
set -u
gallery="$3"
source "$(dirname "$0")/lib/common.sh"
need_display

"$gallery" --png "$work/gallery.png" > "$work/out.txt" 2>"$work/err.txt"
rc=$?
[ "$rc" = "0" ] || { fail "gallery exited with $rc"; tail -5 "$work/err.txt"; }
[ "$(grep -c ' ok\.  *subsets' "$work/out.txt")" = "97" ] || fail "not all 97 models loaded: $(grep -v ' ok\.' "$work/out.txt" | head -5)"
[ "$(grep -c 'bitmap ok\.' "$work/out.txt")" = "17" ] || fail "not all 17 bitmaps loaded"
size=$(identify -format '%wx%h' "$work/gallery.png" 2>/dev/null)
[ "$size" = "1280x2400" ] || fail "gallery picture is '$size'"
# A cell with a model is not just its background colour.
colours=$(convert "$work/gallery.png" -crop 160x140+640+0 -unique-colors txt:- | wc -l)
[ "$colours" -gt 20 ] || fail "the FIGHTER_01 cell shows $colours colours"

"$gallery" --loading "$work/loading.png" 2>/dev/null || fail "the loading picture did not draw"
lit=$(convert "$work/loading.png" -threshold 10% -format '%[fx:mean]' info:)
awk -v m="$lit" 'BEGIN { exit !(m > 0.02) }' || fail "the loading picture is nearly empty ($lit lit)"

finish gallery
