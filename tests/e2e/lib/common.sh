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
