#!/usr/bin/env bash
# Installs what is missing, builds a release build and prints the benchmark
# tables (subdivision against the contiguous-array references; painting and
# export under Xvfb).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --tests
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DORNELLE_TESTS=OFF >/dev/null
cmake --build build/bench
for program in build/bench/bench/ornelle_bench_*; do
    "$program" --benchmark_counters_tabular=true "$@"
done
