#!/usr/bin/env bash
# Renders the application icon (data/icons/k52cfg.svg) to the PNGs that are
# compiled into the program and installed. Run it after changing the SVG and
# commit the PNGs with it. Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../data/icons"
for size in 16 32 48 64 128 256; do
  rsvg-convert --width "$size" --height "$size" k52cfg.svg --output "k52cfg-$size.png"
done
