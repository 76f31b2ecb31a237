#!/usr/bin/env bash
# Opens the bundled sample data file in the desktop program, or prints its
# tree with pallix-cli where there is no display.
set -euo pipefail
build=${1:-build}
root="$(cd "$(dirname "$0")/.." && pwd)"
bin="$root/$build/bin"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] || [ ! -x "$bin/pallix" ]; then
  echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset): printing the sample's tree instead."
  exec "$bin/pallix-cli" "$root/samples/demo.bfp" tree
fi
exec "$bin/pallix" "$root/samples/demo.bfp"
