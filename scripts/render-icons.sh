#!/usr/bin/env bash
# Renders the application icon (data/icons/k52cfg.svg) to the PNGs that are
# compiled into the program and installed. Run it after changing the SVG and
# commit the PNGs with it. Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../data/icons"
for size in 16 32 48 64 128 256; do
  rsvg-convert --width "$size" --height "$size" k52cfg.svg --output "k52cfg-$size.png"
done

# The Windows icon: the same pictures in one .ico (each entry a PNG, as
# Windows reads them since Vista).
python3 - k52cfg.ico 16 32 48 64 128 256 <<'PY'
import struct, sys
out, sizes = sys.argv[1], [int(s) for s in sys.argv[2:]]
images = [open(f"k52cfg-{s}.png", "rb").read() for s in sizes]
offset = 6 + 16 * len(images)
header = struct.pack("<HHH", 0, 1, len(images))
entries = b""
for size, data in zip(sizes, images):
    entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
    offset += len(data)
with open(out, "wb") as f:
    f.write(header + entries + b"".join(images))
PY
