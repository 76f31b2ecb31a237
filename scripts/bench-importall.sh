#!/usr/bin/env bash
# Import All with every bitmap repainted against Export All of the same file:
# `export-all .` into an empty folder, every exported bitmap's last pixel
# byte changed as a painter would, then `import-all .` (which compares every
# file and writes each bitmap in by the import rule). Prints both times and
# their ratio; the target is 2 at most.
# Usage: bench-importall.sh BUILD_DIR [SIZE_MIB] [BANKS]
set -euo pipefail
build=${1:-build}
size_mib=${2:-256}
banks=${3:-5000}
bin="$build/bin"
file="$build/bench-${size_mib}m.bfp"
[ -f "$file" ] || "$bin/make-bench-bfp" "$file" "$size_mib" "$banks"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The record of exported files is the benchmark's own (see bench-wholefile.sh).
export XDG_DATA_HOME="$work/data"

seconds() { /usr/bin/time -f %e "$@" 2>&1 >/dev/null | tail -n1; }

exported=$(seconds "$bin/pallix-cli" --export-dir "$work/export" "$file" export-all .)
python3 - "$work/export" << 'PYTHON'
import os, sys
for folder, _, names in os.walk(sys.argv[1]):
    for name in names:
        if name.endswith(".bmp"):
            path = os.path.join(folder, name)
            data = bytearray(open(path, "rb").read())
            data[-1] ^= 1
            open(path, "wb").write(data)
PYTHON
imported=$(seconds "$bin/pallix-cli" --export-dir "$work/export" "$file" import-all .)
echo "Export All: ${exported} s; Import All, every bitmap repainted: ${imported} s; ratio $(echo "scale=2; $imported / $exported" | bc)"
