#!/usr/bin/env bash
# Renders the scalable icon into the PNG sizes of the hicolor theme, next to
# it under data/icons/hicolor. The PNGs are kept in the repository, so that
# building needs no SVG renderer; run this again after editing the SVG.
set -euo pipefail
cd "$(dirname "$0")/../data/icons/hicolor"
command -v rsvg-convert >/dev/null || { echo "rsvg-convert is missing: install librsvg2-bin" >&2; exit 1; }
svg=scalable/apps/org.ornelle.Ornelle.svg
for size in 16 32 48 64 128 256; do
    mkdir -p "${size}x${size}/apps"
    rsvg-convert -w "$size" -h "$size" "$svg" -o "${size}x${size}/apps/org.ornelle.Ornelle.png"
done
