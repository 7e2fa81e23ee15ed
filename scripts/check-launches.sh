#!/usr/bin/env bash
# Runs the standard lab battle (twelve countries, each its own team, ten
# fighters each) and checks from its event log that no fighter is lost to its
# own side - its own country or a teammate - within 60 frames of its launch.
#
#   scripts/check-launches.sh SIM [FRAMES] [SEED ...]
#
# FRAMES defaults to 9000, the seeds to 7 8 9. Prints every offending
# fighter and exits 1 when there is one, 2 when the lab cannot run.
set -u
sim="${1:?usage: check-launches.sh SIM [FRAMES] [SEED ...]}"
frames="${2:-9000}"
shift $(($# < 2 ? $# : 2))
seeds=("$@")
[ ${#seeds[@]} -eq 0 ] && seeds=(7 8 9)
# A fighter destroyed this many frames after its launch or sooner counts.
window=60

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
countries=()
for i in $(seq 0 11); do countries+=(--country "$i:$((i + 1))"); done

# The battles run side by side; each writes its own event log.
pids=()
for seed in "${seeds[@]}"; do
    "$sim" --seed "$seed" --frames "$frames" --fighters 10 "${countries[@]}" --json --events "$work/events$seed.jsonl" \
        > "$work/run$seed.json" &
    pids+=($!)
done
for k in "${!seeds[@]}"; do
    if ! wait "${pids[$k]}"; then
        echo "check-launches: the lab failed for seed ${seeds[$k]}" >&2
        exit 2
    fi
done

failures=0
for seed in "${seeds[@]}"; do
    events="$work/events$seed.jsonl"
    if ! grep -q '"family":"fighter".*"launched":' "$events"; then
        echo "check-launches: seed $seed: no fighter line gives its launch frame" >&2
        exit 2
    fi
    # Fields by name, whatever their order: frame, team, killer_team, launched.
    bad=$(awk -v window="$window" -v seed="$seed" '
        /"family":"fighter"/ {
            delete f
            line = $0
            gsub(/[{}"]/, "", line)
            n = split(line, pairs, ",")
            for (i = 1; i <= n; ++i) {
                split(pairs[i], kv, ":")
                f[kv[1]] = kv[2]
            }
            if (f["killer_team"] == f["team"] && f["frame"] - f["launched"] <= window)
                printf "seed %s: country %s lost a fighter launched in frame %s to country %s (team %s) in frame %s\n",
                       seed, f["country"], f["launched"], f["killer_country"], f["killer_team"], f["frame"]
        }' "$events")
    if [ -n "$bad" ]; then
        echo "$bad"
        failures=$((failures + $(printf '%s\n' "$bad" | wc -l)))
    fi
    lost=$(grep -c '"family":"fighter"' "$events")
    echo "seed $seed: $frames frames, $lost fighters lost, $(printf '%s' "$bad" | grep -c .) to their own side at launch"
done
[ "$failures" -eq 0 ] || exit 1
