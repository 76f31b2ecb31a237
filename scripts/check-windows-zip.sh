#!/usr/bin/env bash
# The Windows download does what the Linux build does, byte for byte: the
# zip's pallix-cli.exe, unpacked and run under Wine, and the Linux
# pallix-cli each print the sample's tree, export a model and a bitmap,
# import them back edited, and save the data file under a name in Cyrillic,
# Japanese and accented Latin. Every output and every file must be the same.
# Usage: check-windows-zip.sh ZIP LINUX_PALLIX_CLI
set -euo pipefail

zip="$(realpath "${1:?usage: check-windows-zip.sh ZIP LINUX_PALLIX_CLI}")"
linux_cli="$(realpath "${2:?usage: check-windows-zip.sh ZIP LINUX_PALLIX_CLI}")"
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$(dirname "$zip")"
work="$(mktemp -d "$build/zip-check.XXXXXX")"
[ -n "${PALLIX_KEEP_CHECK:-}" ] || trap 'rm -rf "$work"' EXIT

(cd "$work" && cmake -E tar xf "$zip")
windows_cli="$work/pallix-cli-windows-x64/pallix-cli.exe"
saved="Дані データ café.bfp"

# One run: tree, export, edit, import, save. $1 names the platform, the rest
# is how to start its pallix-cli.
run() {
  local side="$1"
  shift
  local dir="$work/$side"
  mkdir -p "$dir/exports"
  cp "$here/samples/demo.bfp" "$dir/demo.bfp"
  (
    cd "$dir"
    "$@" demo.bfp tree > tree.txt
    "$@" --export-dir exports demo.bfp export-model 0/0 export-bitmap 0/2 export-model-as obj 0/1 > export.txt
    # A bitmap painted over and a model moved: what a modder does in between.
    python3 - exports <<'PY'
import pathlib, sys
folder = pathlib.Path(sys.argv[1])
bmp = next(folder.glob("*.bmp"))
data = bytearray(bmp.read_bytes())
for i in range(len(data) - 64, len(data)):
    data[i] ^= 0x5A
bmp.write_bytes(bytes(data))
obj = next(folder.glob("*.obj"))
lines = obj.read_text().splitlines()
for n, line in enumerate(lines):
    if line.startswith("v "):
        x, y, z = (float(v) for v in line.split()[1:4])
        lines[n] = "v %g %g %g" % (x + 0.25, y, z)
        break
obj.write_text("\n".join(lines) + "\n")
PY
    "$@" --export-dir exports demo.bfp import-model 0/0 import-bitmap 0/2 import-model-from obj 0/1 \
      save "$saved" > import.txt
    "$@" "$saved" records > records.txt
  )
  # Wine's console ends lines with CR LF; the bytes of the files are what count.
  sed -i 's/\r$//' "$dir"/*.txt
}

run linux "$linux_cli"
run windows "$here/scripts/wine-run.sh" --prefix "$build/wine" "$windows_cli"

status=0
for file in tree.txt records.txt "$saved"; do
  if ! cmp -s "$work/linux/$file" "$work/windows/$file"; then
    echo "check-windows-zip.sh: $file differs between Linux and Windows" >&2
    diff <(od -An -c "$work/linux/$file") <(od -An -c "$work/windows/$file") | head -20 >&2 || true
    status=1
  fi
done
(cd "$work/linux/exports" && find . -type f | LC_ALL=C sort) > "$work/linux.list"
(cd "$work/windows/exports" && find . -type f | LC_ALL=C sort) > "$work/windows.list"
if ! cmp -s "$work/linux.list" "$work/windows.list"; then
  echo "check-windows-zip.sh: the exports differ in their names" >&2
  diff "$work/linux.list" "$work/windows.list" >&2 || true
  status=1
fi
while read -r file; do
  cmp -s "$work/linux/exports/$file" "$work/windows/exports/$file" ||
    { echo "check-windows-zip.sh: export $file differs" >&2; status=1; }
done < "$work/linux.list"
if cmp -s "$here/samples/demo.bfp" "$work/windows/$saved"; then
  echo "check-windows-zip.sh: the edits did not reach the saved file" >&2
  status=1
fi
[ "$status" -eq 0 ] || exit 1
echo "check-windows-zip.sh: the zip's pallix-cli.exe under Wine printed the tree, exported, imported and saved" \
  "\"$saved\" byte for byte as the Linux pallix-cli did ($(wc -l < "$work/linux.list") exported files)"
