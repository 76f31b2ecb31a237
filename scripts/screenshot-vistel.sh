#!/usr/bin/env bash
# Takes a picture of vistel showing a drawing, in a virtual X display, to see
# that it really draws.
# Usage: screenshot-vistel.sh BUILD_DIR [OUT.png] [FILE.dxf]
# Without FILE.dxf it shows a cube written the way View Model writes a model.
set -euo pipefail

build=${1:?usage: screenshot-vistel.sh BUILD_DIR [OUT.png] [FILE.dxf]}
out=${2:-$build/vistel-screenshot.png}
drawing=${3:-}
vistel=$build/bin/vistel
for tool in xvfb-run import; do
  command -v "$tool" >/dev/null || { echo "screenshot-vistel.sh: $tool is missing (packages xvfb, imagemagick)" >&2; exit 1; }
done
[ -x "$vistel" ] || { echo "screenshot-vistel.sh: $vistel is not built" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One line of the drawing, ended as the writer ends it.
line() { printf '%s\r\n' "$@"; }

write_cube() {
  local corners=(
    "-1 -1 -1" "1 -1 -1" "1 1 -1" "-1 1 -1"
    "-1 -1 1" "1 -1 1" "1 1 1" "-1 1 1")
  local triangles=(
    "0 2 1" "0 3 2" "4 5 6" "4 6 7" "0 1 5" "0 5 4"
    "1 2 6" "1 6 5" "2 3 7" "2 7 6" "3 0 4" "3 4 7")
  line 999 "O 0 S 0" "  0" SECTION "  2" HEADER "  0" ENDSEC "  0" SECTION "  2" TABLES \
    "  0" TABLE "  2" LAYER "  0" LAYER "  2" "  1" "  0" ENDTAB "  0" ENDSEC \
    "  0" SECTION "  2" BLOCKS "  0" ENDSEC "  0" SECTION "  2" ENTITIES "  0"
  local number=0 triangle a b c corner x y z
  for triangle in "${triangles[@]}"; do
    number=$((number + 1))
    read -r a b c <<<"$triangle"
    line 3DFACE "  8" "  1" "  62" "  $((number * 20))"
    local index=0
    for corner in "$c" "$b" "$a" "$c"; do
      read -r x y z <<<"${corners[$corner]}"
      line "  1$index" "$x.000000" "  2$index" "$y.000000" "  3$index" "$z.000000"
      index=$((index + 1))
    done
    line "  0"
  done
  line ENDSEC "  0" EOF
}

if [ -z "$drawing" ]; then
  drawing=$work/cube.dxf
  write_cube >"$drawing"
fi

# The window opens at the top left of the empty screen; the picture is
# taken once it has had time to paint.
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$1" "$2" &
  viewer=$!
  sleep 3
  import -window root -crop 800x640+0+0 "$3"
  kill "$viewer"
' screenshot "$vistel" "$drawing" "$out"
echo "screenshot-vistel.sh: wrote $out"
