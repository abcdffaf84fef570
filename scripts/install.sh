#!/usr/bin/env bash
# Installs what is missing, builds a release build, packs it as a Debian
# package and installs that with apt-get (through sudo when not root), so
# that Ornelle appears in the desktop's menu and can be removed with
# `apt-get remove ornelle`.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DORNELLE_TESTS=OFF -DORNELLE_BENCH=OFF >/dev/null
cmake --build build/release
rm -rf build/release/package
(cd build/release && cpack -G DEB -B "$PWD/package" >/dev/null)
deb=$(ls "$PWD"/build/release/package/ornelle_*.deb)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --reinstall "$deb"
echo "Installed $(basename "$deb"): start it from the menu or as 'ornelle'."
