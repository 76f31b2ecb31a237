#!/usr/bin/env bash
# Takes the README's picture of the main window: the bundled sample open,
# once with a bitmap and once with a textured model in the preview, in a
# virtual X display with a window manager, so that the frames and titles
# show as a user sees them.
# Usage: screenshot.sh BUILD_DIR [OUT.png] [DATAFILE]
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build=${1:?usage: screenshot.sh BUILD_DIR [OUT.png] [DATAFILE]}
out=${2:-$root/docs/screenshot.png}
data=${3:-$root/samples/demo.bfp}
scene=$build/bin/pallix-screenshot-scene
for tool in xvfb-run openbox; do
  command -v "$tool" >/dev/null || { echo "screenshot.sh: $tool is missing (packages xvfb, openbox)" >&2; exit 1; }
done
[ -x "$scene" ] || { echo "screenshot.sh: $scene is not built" >&2; exit 1; }

mkdir -p "$(dirname "$out")"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  openbox >/dev/null 2>&1 &
  manager=$!
  sleep 1
  status=0
  "$1" "$2" "$3" || status=$?
  kill "$manager"
  exit $status
' screenshot "$scene" "$data" "$out"
echo "screenshot.sh: wrote $out"
