#!/usr/bin/env bash
# Opens the bundled sample data file in the desktop program, or prints its
# tree with pallix-cli where there is no display.
set -euo pipefail
build=${1:-build}
root="$(cd "$(dirname "$0")/.." && pwd)"
bin="$root/$build/bin"
# The program never creates its export folder; a new user's first Export of
# the sample should work all the same.
mkdir -p "$bin/bfp/demo"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset): printing the sample's tree instead."
  exec "$bin/pallix-cli" "$root/samples/demo.bfp" tree
fi
if [ ! -x "$bin/pallix" ]; then
  echo "The desktop program was not built (Qt 6 missing?): printing the sample's tree instead."
  exec "$bin/pallix-cli" "$root/samples/demo.bfp" tree
fi
exec "$bin/pallix" "$root/samples/demo.bfp"
