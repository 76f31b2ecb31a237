#!/usr/bin/env bash
# Takes the README's picture of the main window: the bundled sample open and
# its first bank expanded, in a virtual X display.
# Usage: screenshot.sh BUILD_DIR [OUT.png]
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build=${1:?usage: screenshot.sh BUILD_DIR [OUT.png]}
out=${2:-$root/docs/screenshot.png}
scene=$build/bin/pallix-screenshot-scene
command -v xvfb-run >/dev/null || { echo "screenshot.sh: xvfb-run is missing (package xvfb)" >&2; exit 1; }
[ -x "$scene" ] || { echo "screenshot.sh: $scene is not built" >&2; exit 1; }

mkdir -p "$(dirname "$out")"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 800x600x24" "$scene" "$root/samples/demo.bfp" "$out"
echo "screenshot.sh: wrote $out"
