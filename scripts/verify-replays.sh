#!/usr/bin/env bash
# Plays every kept replay (tests/replays/) with the given starmarch-sim and
# checks it against its recording; fails at the first that differs.
#   scripts/verify-replays.sh path/to/starmarch-sim
set -uo pipefail
sim="$1"
cd "$(dirname "$0")/.."
failures=0
for replay in tests/replays/*.smreplay; do
    if ! "$sim" --replay "$replay" --verify | tail -1; then
        echo "FAIL: $replay no longer plays as recorded (a change of the game's behaviour? re-record with scripts/record-replays.sh and say so in the commit)"
        failures=$((failures + 1))
    fi
done
exit "$failures"
