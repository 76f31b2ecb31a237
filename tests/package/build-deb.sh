#!/usr/bin/env bash
# Builds the Debian package of an already built folder into OUT, afresh.
# Usage: build-deb.sh BUILD_DIR OUT_DIR
set -euo pipefail
build="$1" out="$2"
rm -rf "$out"
cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out.log" 2>&1 || { cat "$out.log"; exit 1; }
ls "$out"/*.deb
