#!/usr/bin/env bash
# The battle lab as a user runs it: the same seed gives the same battle (all
# but the timings), the events add up to the table, bad arguments are refused
# with a clear message and exit code 2.
set -u
sim="$4"
source "$(dirname "$0")/lib/common.sh"

args=(--seed 11 --frames 1500 --fighters 4 --country 0:1 --country "United States":2 --country 7:3 --player 0)
"$sim" "${args[@]}" --json --events "$work/events1.jsonl" > "$work/run1.json" || fail "first run failed"
"$sim" "${args[@]}" --json --events "$work/events2.jsonl" > "$work/run2.json" || fail "second run failed"
strip() { sed 's/"timing":{[^}]*}//' "$1"; }
[ "$(strip "$work/run1.json")" = "$(strip "$work/run2.json")" ] || fail "the same seed gave different battles"
cmp -s "$work/events1.jsonl" "$work/events2.jsonl" || fail "the same seed gave different events"
grep -q '"participants":\[{"country":0,"name":"Japan","team":1' "$work/run1.json" || fail "JSON: $(head -c 300 "$work/run1.json")"
[ -s "$work/events1.jsonl" ] || fail "a battle of 1,500 frames destroyed nothing"

# The fighters lost in the table are the fighter events of each country.
for country in 0 1 7; do
    lost=$(grep -c "\"family\":\"fighter\",\"country\":$country," "$work/events1.jsonl")
    table=$(grep -o "\"country\":$country,\"name\":\"[^\"]*\",\"team\":[0-9]*,\"stats\":\[[-0-9,]*\]" "$work/run1.json" |
            sed 's/.*\[\(.*\)\]/\1/' | cut -d, -f9)
    [ "$lost" = "$table" ] || fail "country $country lost $table fighters in the table but $lost in the events"
done

"$sim" --country Atlantis:1 > /dev/null 2> "$work/err.txt"; rc=$?
[ "$rc" = "2" ] || fail "an unknown country exited with $rc"
grep -q "United Nations" "$work/err.txt" || fail "an unknown country does not list the valid ones"
"$sim" --frames lots --country 0:1 > /dev/null 2>&1; [ "$?" = "2" ] || fail "a bad number was not refused"
"$sim" > /dev/null 2>&1; [ "$?" = "2" ] || fail "no country was not refused"
"$sim" --country 0:13 > /dev/null 2>&1; [ "$?" = "2" ] || fail "team 13 was not refused"
"$sim" --bogus --country 0:1 > /dev/null 2>&1; [ "$?" = "2" ] || fail "an unknown option was not refused"

# --help lists every option with its range and exits 0, as --version does.
"$sim" --help > "$work/help.txt" 2>&1; rc=$?
[ "$rc" = "0" ] || fail "--help exited with $rc: $(head -3 "$work/help.txt")"
for option in "--seed 0..2147483647" "--frames 0..10000000" "--fighters 1..10" "--player COUNTRY" \
              "--country COUNTRY:TEAM" --json "--runs 1..100000" "--threads 1..64" "--events FILE" "--render WxH" \
              "--renderer batched|classic" "--pictures-per-step 1..16" "--snapshot-every 1..10000000" \
              "--snapshot-steps 1..1000" "--out DIR" "--measure-from 0..10000000" --version; do
    grep -qF -- "$option" "$work/help.txt" || fail "--help does not list $option"
done
"$sim" --version | grep -qx 'starmarch-sim [0-9.]*' || fail "--version: $("$sim" --version 2>&1)"

finish sim
