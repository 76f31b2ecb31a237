#!/usr/bin/env bash
# Unpacks the package into a scratch root, as dpkg would place its files, and
# runs the programs from there: all four tell the same version, and pallix-cli
# reads the sample.
# Usage: run-unpacked.sh OUT_DIR VERSION SAMPLE
set -euo pipefail
out="$1" version="$2" sample="$3"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
dpkg -x "$out"/*.deb "$root"
for program in pallix pallix-cli vistel tds; do
  told="$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/$program" --version)"
  [ "$told" = "$program $version" ] || { echo "$program --version said '$told'" >&2; exit 1; }
done
stats="$("$root/usr/bin/pallix-cli" "$sample" stats)"
echo "$stats"
[[ "$stats" == banks=* ]] || { echo "pallix-cli stats said '$stats'" >&2; exit 1; }
