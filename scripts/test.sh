#!/usr/bin/env bash
# Installs what is missing (Xvfb and clang included), builds, and runs every
# test headless under Xvfb with Mesa's software OpenGL: first the normal
# build, then the install and Debian package checks on it, then a clang
# build with AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer,
# which also runs the fuzz target for a bounded number of iterations.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --tests

runtime=$(mktemp -d)
chmod 700 "$runtime"
trap 'rm -rf "$runtime"' EXIT
export XDG_RUNTIME_DIR=$runtime

headless() {
    xvfb-run -a -s "-screen 0 1600x1200x24" "$@"
}

echo "== Normal build"
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/test
headless ctest --test-dir build/test --output-on-failure -j"$(nproc)"

echo "== Install, Debian package and the installed program"
scripts/package-test.sh build/test

echo "== Sanitizer build (ASan + UBSan + LSan) and fuzzing"
CC=clang CXX=clang++ cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORNELLE_SANITIZE=ON -DORNELLE_FUZZ=ON -DORNELLE_BENCH=OFF >/dev/null
cmake --build build/sanitize
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0
# Preloading Mesa's driver keeps it mapped until exit, so that leak reports
# name it instead of an unloaded "<unknown module>" and the suppressions can
# tell its allocations from ours.
driver=$(ls /usr/lib/*/dri/swrast_dri.so 2>/dev/null | head -n 1 || true)
LD_PRELOAD=${driver} headless ctest --test-dir build/sanitize --output-on-failure -j"$(nproc)"
