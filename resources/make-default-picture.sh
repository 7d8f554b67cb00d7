#!/usr/bin/env bash
# Makes the start-up picture shown while nothing is open (300 x 200 JPEG).
set -euo pipefail
cd "$(dirname "$0")"
convert -size 300x200 gradient:'#505050-#202020' \
    -fill '#c0c0c0' -gravity center -pointsize 36 -annotate +0-10 'Orvella' \
    -fill '#808080' -pointsize 12 -annotate +0+28 'Right-click to load a file' \
    -quality 90 -strip default.jpg
