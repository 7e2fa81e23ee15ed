#!/usr/bin/env bash
# Re-records the replays the tests keep (tests/replays/) with the release
# build's replay maker: scripted battles through the game's battle frame.
# Run it only for a deliberate change of the game's behaviour, and say so in
# the commit message: the kept replays are what `make test` holds the game to.
#   scripts/record-replays.sh            (BUILD=dir, default build)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD:-build}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DSTARMARCH_TESTS=OFF >/dev/null
cmake --build "$build" --target starmarch-replaymaker starmarch-sim -j"${JOBS:-2}"
"$build/starmarch-replaymaker" tests/replays
for replay in tests/replays/*.smreplay; do
    "$build/starmarch-sim" --replay "$replay" --verify | tail -1
done
