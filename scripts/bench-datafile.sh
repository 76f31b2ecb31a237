#!/usr/bin/env bash
# Whole-process load of a large data file: `pallix-cli FILE stats` against
# dd reading the file into one buffer of its size, both on a warm cache.
# Usage: bench-datafile.sh BUILD_DIR [SIZE_MIB] [BANKS]
set -euo pipefail
build=${1:-build-bench}
size_mib=${2:-256}
banks=${3:-5000}
bin="$build/bin"
file="$build/bench-${size_mib}m.bfp"

[ -f "$file" ] || "$bin/make-bench-bfp" "$file" "$size_mib" "$banks"
bytes=$(stat -c %s "$file")
cat "$file" > /dev/null

best() {  # best wall time of three runs, and the peak memory of the last
  local best_time=999 rss=0
  for _ in 1 2 3; do
    /usr/bin/time -f "%e %M" -o /tmp/bench-time.$$ "$@" > /dev/null 2>&1
    read -r t m < /tmp/bench-time.$$
    rss=$m
    best_time=$(awk -v a="$t" -v b="$best_time" 'BEGIN { print (a < b) ? a : b }')
  done
  rm -f /tmp/bench-time.$$
  echo "$best_time $rss"
}

read -r dd_time dd_rss < <(best dd if="$file" of=/dev/null bs="$bytes")
read -r cli_time cli_rss < <(best "$bin/pallix-cli" "$file" stats)
"$bin/pallix-cli" "$file" stats
echo "file: $bytes bytes, $banks banks"
echo "dd bs=SIZE: ${dd_time} s, peak ${dd_rss} KiB"
echo "pallix-cli stats: ${cli_time} s, peak ${cli_rss} KiB"
awk -v c="$cli_time" -v d="$dd_time" -v r="$cli_rss" -v s="$bytes" 'BEGIN {
  printf "time ratio %.2f (target <= 1.20); memory over file size %.1f MiB (target <= 64)\n", c / d, (r * 1024 - s) / 1048576 }'
