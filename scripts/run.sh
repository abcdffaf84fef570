#!/usr/bin/env bash
# Installs what is missing, builds a release build and starts Ornelle.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DORNELLE_TESTS=OFF -DORNELLE_BENCH=OFF >/dev/null
cmake --build build/release --target ornelle
exec build/release/src/app/ornelle "$@"
