#!/usr/bin/env bash
# Builds the fuzz targets with clang in a build of their own and runs each on
# its checked-in seeds for a while (20 s unless told), all at once. Fails when
# a target crashes or hangs; the input that did it is kept in
# <build>/crashes/. Without clang and libFuzzer it says so and passes.
#   tests/fuzz/run.sh [seconds per target]      (FUZZBUILD=dir, default build-fuzz)
set -uo pipefail
cd "$(dirname "$0")/../.."
seconds="${1:-20}"
build="${FUZZBUILD:-build-fuzz}"
targets=(starmarch_xfile_fuzz starmarch_config_fuzz starmarch_wav_fuzz starmarch_replay_fuzz)

probe='extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }'
if ! command -v clang++ >/dev/null ||
   ! echo "$probe" | clang++ -x c++ -fsanitize=fuzzer,address -o /dev/null - 2>/dev/null; then
    echo "fuzz: no clang++ with libFuzzer here; the fuzz targets were not run"
    exit 0
fi

mkdir -p "$build"
cmake -S . -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DSTARMARCH_FUZZ=ON -DSTARMARCH_TESTS=OFF >"$build/configure.log" 2>&1 ||
    { cat "$build/configure.log"; exit 1; }
cmake --build "$build" --target starmarch_fuzz -j"${JOBS:-2}" || exit 1

mkdir -p "$build/crashes"
pids=()
for target in "${targets[@]}"; do
    # New inputs go to a scratch corpus in the build; the seeds stay as checked in.
    mkdir -p "$build/corpus/$target"
    options=(-max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 -print_final_stats=1
             -artifact_prefix="$build/crashes/$target-")
    [ "$target" = starmarch_xfile_fuzz ] && options+=(-dict=tests/fuzz/x.dict)
    "$build/$target" "${options[@]}" "$build/corpus/$target" "tests/fuzz/seeds/$target" \
        >"$build/$target.log" 2>&1 &
    pids+=($!)
done

failures=0
for i in "${!targets[@]}"; do
    target="${targets[$i]}"
    if wait "${pids[$i]}"; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/$target.log")
        echo "fuzz: $target ran ${runs:-?} inputs, no crash"
    else
        echo "FAIL: fuzz: $target crashed; its input is in $build/crashes/:"
        tail -40 "$build/$target.log"
        failures=$((failures + 1))
    fi
done
exit "$failures"
