#!/usr/bin/env bash
# Regenerates the hicolor PNG icons from icons/org.orvella.orvella.svg. The PNGs are kept in
# the repository, so this is needed only after the SVG changes. It needs rsvg-convert, which is not in
# scripts/debian-packages.txt because building never runs it:
#   apt-get install librsvg2-bin
set -euo pipefail
cd "$(dirname "$0")/icons"
command -v rsvg-convert >/dev/null || { echo "rsvg-convert is missing: apt-get install librsvg2-bin" >&2; exit 1; }
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "hicolor/${size}x${size}/apps"
    rsvg-convert --width "$size" --height "$size" --format png \
        --output "hicolor/${size}x${size}/apps/org.orvella.orvella.png" org.orvella.orvella.svg
done
