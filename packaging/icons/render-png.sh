#!/usr/bin/env bash
# Renders the PNG sizes of the icon from orivel.svg (needs rsvg-convert from librsvg2-bin).
# Run it after changing the SVG and commit the PNGs with it.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "hicolor/${size}x${size}/apps"
  rsvg-convert -w "$size" -h "$size" orivel.svg -o "hicolor/${size}x${size}/apps/orivel.png"
done
