#!/usr/bin/env bash
# No country loses a fighter to its own side within 60 frames of its launch,
# checked on the standard lab battle of seeds 7, 8 and 9. The sanitizer
# build is slow, so the battles are shorter here than the 9,000 frames of
# scripts/check-launches.sh by hand (STARMARCH_LAB_FRAMES overrides).
here=$(cd "$(dirname "$0")" && pwd)
exec bash "$here/../../scripts/check-launches.sh" "$4" "${STARMARCH_LAB_FRAMES:-1000}" 7 8 9
