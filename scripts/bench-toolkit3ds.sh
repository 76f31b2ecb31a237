#!/usr/bin/env bash
# Large-file benchmark of the 3DS toolkit: a generated mesh file of about
# 100 MiB is opened (headers only) and copied (every chunk's data read and
# written again), against dd reading the whole file into one buffer.
# Targets: opening reads under 1% of the file; the copy takes at most 2.5
# times dd; peak memory stays below 1.5 times the file size.
# Then files of half a million and a million tiny sibling chunks are opened:
# twice the chunks may take at most 2.2 times as long.
# Usage: bench-toolkit3ds.sh BUILD_DIR [MIB]
set -euo pipefail

build=${1:-build-bench}
mib=${2:-100}
runs=5
bench="$build/bin/bench-toolkit3ds"
[ -x "$bench" ] || { echo "bench-toolkit3ds.sh: $bench not built" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
file="$work/big.3ds"
"$bench" generate "$file" "$mib"
size=$(stat -c %s "$file")
cat "$file" > /dev/null  # warm cache

# Best wall-clock seconds of $runs runs of a command; the copy always
# writes a new file.
best_of() {
  local best="" t
  for _ in $(seq "$runs"); do
    local start end
    rm -f "$work/copy.3ds"
    start=$(date +%s.%N)
    "$@" > /dev/null 2>&1
    end=$(date +%s.%N)
    t=$(echo "$end - $start" | bc -l)
    if [ -z "$best" ] || [ "$(echo "$t < $best" | bc -l)" = 1 ]; then best=$t; fi
  done
  printf '%.3f' "$best"
}

dd_time=$(best_of dd if="$file" of=/dev/null bs="$size")
copy_time=$(best_of "$bench" copy "$file" "$work/copy.3ds")
open_line=$("$bench" open "$file")
copy_line=$("$bench" copy "$file" "$work/copy.3ds")
cmp -s "$file" "$work/copy.3ds" || { echo "copy differs from its source" >&2; exit 1; }

open_read=$(echo "$open_line" | sed -E 's/.* ([0-9]+) bytes read.*/\1/')
peak_kib=$(echo "$copy_line" | sed -E 's/.*peak ([0-9]+) KiB.*/\1/')
ratio=$(echo "$copy_time / $dd_time" | bc -l)
memory_ratio=$(echo "$peak_kib * 1024 / $size" | bc -l)
open_share=$(echo "100 * $open_read / $size" | bc -l)

printf 'file            %d bytes\n' "$size"
printf 'open            %s bytes read (%.2f%% of the file)\n' "$open_read" "$open_share"
printf 'dd              %s s (best of %d)\n' "$dd_time" "$runs"
printf 'copy            %s s (best of %d), %.2f x dd\n' "$copy_time" "$runs" "$ratio"
printf 'copy peak       %d KiB (%.3f x the file)\n' "$peak_kib" "$memory_ratio"

"$bench" siblings "$work/half.3ds" 500000
"$bench" siblings "$work/million.3ds" 1000000
half_time=$(best_of "$bench" open "$work/half.3ds")
million_time=$(best_of "$bench" open "$work/million.3ds")
sibling_ratio=$(echo "$million_time / $half_time" | bc -l)
printf 'siblings 5e5    %s s to open (best of %d)\n' "$half_time" "$runs"
printf 'siblings 1e6    %s s to open (best of %d), %.2f x\n' "$million_time" "$runs" "$sibling_ratio"

status=0
[ "$(echo "$sibling_ratio <= 2.2" | bc -l)" = 1 ] || { echo "target missed: sibling chunks not linear"; status=1; }
[ "$(echo "$open_share < 1" | bc -l)" = 1 ] || { echo "target missed: opening reads too much"; status=1; }
[ "$(echo "$ratio <= 2.5" | bc -l)" = 1 ] || { echo "target missed: copy slower than 2.5 x dd"; status=1; }
[ "$(echo "$memory_ratio < 1.5" | bc -l)" = 1 ] || { echo "target missed: peak memory"; status=1; }
exit $status
