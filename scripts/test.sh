#!/usr/bin/env bash
# Installs what is missing (Xvfb included), builds, and runs every test
# headless under Xvfb with Mesa's software OpenGL.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --tests

build=build/test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build"

runtime=$(mktemp -d)
chmod 700 "$runtime"
trap 'rm -rf "$runtime"' EXIT
export XDG_RUNTIME_DIR=$runtime
xvfb-run -a -s "-screen 0 1600x1200x24" \
    ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
