#!/usr/bin/env bash
# Save of a large data file after one bitmap import: `pallix-cli FILE
# import-bitmap 0/2 save` against `pallix-cli FILE stats` (the load alone),
# on a warm cache, with the bytes the process handed to write calls.
# Usage: bench-save.sh BUILD_DIR [SIZE_MIB] [BANKS]
set -euo pipefail
build=${1:-build-bench}
size_mib=${2:-512}
banks=${3:-5000}
bin="$build/bin"
work="$build/bench-save"
file="$work/bench-save-${size_mib}m.bfp"
cli="$bin/pallix-cli"

mkdir -p "$work"
[ -f "$file" ] || "$bin/make-bench-bfp" "$file" "$size_mib" "$banks"
bytes=$(stat -c %s "$file")
cat "$file" > /dev/null

# The bitmap to import: the first one of the first bank, exported, then changed.
mkdir -p "$work/bfp/$(basename "$file" .bfp)"
bmp=$("$cli" --program-dir "$work" "$file" export-bitmap 0/2 | sed -n 's/^message \[Bitmap file\] //p')
[ -f "$bmp" ] || { echo "bench-save: the bitmap export went wrong" >&2; exit 1; }

# One run: wall time, peak memory, and the process's bytes written (its write calls and those
# that reached the storage layer), read from /proc once the shell has waited for it.
run() {
  /usr/bin/time -f "%e %M" -o "$work/time" sh -c '"$@" > /dev/null 2>&1; grep -E "^(wchar|write_bytes)" /proc/$$/io' sh "$@" \
    > "$work/io"
  echo "$(cat "$work/time") $(awk '{ printf "%s ", $2 }' "$work/io")"
}

best_load=999
for _ in 1 2 3; do
  read -r t _ _ _ < <(run "$cli" "$file" stats)
  best_load=$(awk -v a="$t" -v b="$best_load" 'BEGIN { print (a < b) ? a : b }')
done
best_save=999
for n in 1 2 3; do
  printf "\\x$(printf %02x $((n * 37)))" | dd of="$bmp" bs=1 seek=200 conv=notrunc status=none
  read -r t rss wchar disk < <(run "$cli" --program-dir "$work" "$file" import-bitmap 0/2 save)
  best_save=$(awk -v a="$t" -v b="$best_save" 'BEGIN { print (a < b) ? a : b }')
done
[ "$(stat -c %s "$file")" = "$bytes" ] || { echo "bench-save: the saved file changed length" >&2; exit 1; }
echo "file: $bytes bytes, $banks banks"
echo "pallix-cli stats (load only): ${best_load} s"
echo "pallix-cli import-bitmap 0/2 save: ${best_save} s, peak ${rss} KiB"
echo "bytes written by the save run: ${wchar} in write calls (journal, file, output), ${disk} to storage"
awk -v s="$best_save" -v l="$best_load" -v w="$wchar" 'BEGIN {
  printf "import and save beyond the load: %.2f s; written %.1f KiB (target: kilobytes, not the file size)\n", s - l, w / 1024 }'
