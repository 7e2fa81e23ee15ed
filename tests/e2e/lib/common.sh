# What the end-to-end scripts share: a scratch folder that goes at exit with
# any game still running, a private lock folder (a game the developer is
# playing must not interfere), and the tally of failed checks.
work=$(mktemp -d)
trap 'kill -9 $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# Ends the script with the tally.
finish() {
    [ "$failures" -eq 0 ] && echo "$1 e2e: all checks passed"
    exit "$failures"
}
need_display() { [ -n "${DISPLAY:-}" ] || { echo "SKIP: no DISPLAY"; exit 0; }; }
# The game's window once it shows (nothing after 30 s).
game_window() { timeout 30 xdotool search --sync --onlyvisible --name '^Starmarch Version 1\.03$' | head -1; }
# Waits for a process to end (at most 20 s); its exit code is the function's.
ended() {
    timeout 20 tail --pid="$1" -f /dev/null
    wait "$1"
}
# A pixel of a picture as #RRGGBB.
pixel_of() { convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -1; }

# The game keeps its own pointer, moved by the mouse's motion: (cx, cy) is
# where it is in the game's pixels, scale the screen pixels the mouse moves
# for one of them (the UI scale). Moves go in small steps so that none is
# lost at the screen's edge. Screens start with the pointer in the middle:
# pointer_at_middle W H (of the game's pixels).
cx=320; cy=240; scale=1
pointer_at_middle() { cx=$(( $1 / 2 )); cy=$(( $2 / 2 )); }
move_to() {
    local dx=$(( ($1 - cx) * scale )) dy=$(( ($2 - cy) * scale ))
    while [ "$dx" -ne 0 ] || [ "$dy" -ne 0 ]; do
        local sx=$(( dx > 60 ? 60 : (dx < -60 ? -60 : dx) )) sy=$(( dy > 60 ? 60 : (dy < -60 ? -60 : dy) ))
        xdotool mousemove_relative -- "$sx" "$sy"; sleep 0.05
        dx=$(( dx - sx )); dy=$(( dy - sy ))
    done
    cx=$1; cy=$2; sleep 0.1
}
press() { xdotool mousedown 1; sleep 0.15; }
release() { xdotool mouseup 1; sleep 0.15; }
click() { press; release; }
key() { xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"; sleep 0.2; }
