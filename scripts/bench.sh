#!/usr/bin/env bash
# Installs what is missing, builds a release build and prints the benchmark
# tables (subdivision against the contiguous-array references; the study's
# distances and series; the whole process of ornelle FILE --export with no
# display; painting and export under Xvfb; autosave's writes and the drag
# step with a write waiting; edits on a 100,000-point polygon and at the
# deepest level, from the event to the frame on screen). The level-99 cases
# report peak resident memory, so each runs in a process of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --tests
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DORNELLE_TESTS=OFF >/dev/null
cmake --build build/bench
runtime=$(mktemp -d)
chmod 700 "$runtime"
trap 'rm -rf "$runtime"' EXIT
export XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=xcb
build/bench/bench/ornelle_bench_subdivision --benchmark_counters_tabular=true "$@"
build/bench/bench/ornelle_bench_analysis --benchmark_counters_tabular=true "$@"
build/bench/bench/ornelle_bench_figure --benchmark_counters_tabular=true "$@"
paint() {
    xvfb-run -a -s "-screen 0 1600x1200x24" build/bench/bench/ornelle_bench_paint --benchmark_counters_tabular=true "$@"
}
paint --benchmark_filter=-level99 "$@"
xvfb-run -a -s "-screen 0 1600x1200x24" build/bench/bench/ornelle_bench_autosave --benchmark_counters_tabular=true "$@"
xvfb-run -a -s "-screen 0 1600x1200x24" build/bench/bench/ornelle_bench_edit --benchmark_counters_tabular=true "$@"
xvfb-run -a -s "-screen 0 1600x1200x24" build/bench/bench/ornelle_bench_laboratory --benchmark_counters_tabular=true "$@"
for case in DragStep/Chaikin DragStep/BSpline DragStep/Proposed DragStep/Compare Export/Chaikin; do
    paint --benchmark_filter="^$case/6pts/level99/" "$@"
done
