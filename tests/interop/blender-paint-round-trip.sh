#!/usr/bin/env bash
# A texture painted in Blender comes back with its model: export the crate as
# glTF or GLB, paint the top-left corner of its pictures in Blender
# (blender_paint.py) and export there, import the model back, save, and check
# that the crate's bitmap took the paint there and nowhere else, kept its
# header and colour table, and that its copy followed. Exits 77 (skipped)
# when Blender is not installed.
# Usage: blender-paint-round-trip.sh PALLIX_CLI DATA.bfp FORMAT
set -euo pipefail
if ! command -v blender > /dev/null; then
  echo "SKIPPED: Blender is not installed; the Blender paint round trip did not run"
  exit 77
fi
cli=$1 data=$2 format=$3
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$data" "$work/data.bfp"
"$cli" --export-dir "$work/before" "$work/data.bfp" export-model-as "$format" 0/0 export-bitmap 0/2 > /dev/null
mkdir "$work/painted"
blender -b --factory-startup --python-exit-code 1 --python "$here/blender_paint.py" -- \
  "$work/before/crate.$format" "$work/painted/crate.$format" > "$work/blender.log" 2>&1 || {
  cat "$work/blender.log"
  exit 1
}
"$cli" --export-dir "$work/painted" "$work/data.bfp" import-model-from "$format" 0/0 save
"$cli" --export-dir "$work/after" "$work/data.bfp" export-bitmap 0/2 > /dev/null
"$cli" --export-dir "$work/copy" "$work/data.bfp" export-bitmap 2/2 > /dev/null
before=$(ls "$work"/before/O*.bmp) after=$(ls "$work"/after/O*.bmp) copy=$(ls "$work"/copy/O*.bmp)
cmp "$after" "$copy" || { echo "the copy did not follow its bitmap"; exit 1; }
python3 - "$before" "$after" << 'PYTHON'
import struct, sys
before, after = (open(name, "rb").read() for name in sys.argv[1:])
offset, = struct.unpack_from("<I", before, 10)
width, height = struct.unpack_from("<ii", before, 18)
assert len(after) == len(before) and after[:offset] == before[:offset], "header or colour table changed"
row = (width + 3) // 4 * 4
changed = {(x, height - 1 - y) for y in range(height) for x in range(width)
           if before[offset + y * row + x] != after[offset + y * row + x]}
painted = {after[offset + (height - 1 - y) * row + x] for x in range(4) for y in range(4)}
assert changed and changed <= {(x, y) for x in range(4) for y in range(4)}, "pixels changed outside the block"
assert len(painted) == 1, "the painted block is not of one colour"
print("Blender paint round trip: %d pixels of the top-left block took the paint" % len(changed))
PYTHON
