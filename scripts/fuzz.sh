#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS from the seeds in
# fuzz/seeds/, keeping what it learns in BUILD/corpus/. A crash or a broken
# check stops the run with its input saved in BUILD/crashes/ and the status 1.
#   scripts/fuzz.sh [BUILD [SECONDS]]      (make fuzz; make test runs it shortly)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-fuzz}
seconds=${2:-60}
jobs=${JOBS:-$(nproc)}
clang=$(command -v clang++-14 || command -v clang++)

launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build" -DLUMIVANE_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER="$clang" "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$jobs" --target fuzz_build fuzz_merge_bank

mkdir -p "$build/crashes"
for target in build merge-bank; do
    corpus="$build/corpus/$target"
    log="$build/$target.log"
    mkdir -p "$corpus"
    status=0
    "$build/fuzz/fuzz_${target//-/_}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len=16384 -print_final_stats=1 -artifact_prefix="$build/crashes/$target-" \
        "$corpus" "fuzz/seeds/$target" >"$log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    added=$(sed -n 's/^stat::new_units_added: *//p' "$log")
    echo "fuzz_${target//-/_}: ${seconds} s, ${runs:-?} runs, ${added:-?} new inputs, status $status"
    if ((status != 0)); then
        tail -n 60 "$log"
        exit 1
    fi
done
