#!/usr/bin/env bash
# The whole-file commands against copying files, each as a ratio within one
# round, the median of the rounds reported: `export-all .` into an empty
# folder against `cp -r` of the folder it wrote; `import-all .` with nothing
# changed against reading every exported file once, and with every bitmap
# of one bank repainted; `stats` against `dd bs=SIZE` of the data file. Peak
# memory of each is given beyond the data file's size. The same ratios of
# CPU time (user and system) follow: on a machine shared with other work
# they move far less than wall time does.
# Usage: bench-wholefile.sh BUILD_DIR [SIZE_MIB] [BANKS] [ROUNDS]
set -euo pipefail
build=${1:-build-bench}
size_mib=${2:-256}
banks=${3:-5000}
rounds=${4:-5}
bin="$build/bin"
cli="$bin/pallix-cli"
file="$build/bench-${size_mib}m.bfp"
work="$build/bench-wholefile"
out="$work/export"

mkdir -p "$work"
# The record of exported files is the benchmark's own: one left by other
# runs in the user's data folder would be read, grown and timed with them.
# (An absolute path: a relative one is no data folder at all.)
rm -rf "$work/data"
XDG_DATA_HOME="$(cd "$work" && pwd)/data"
export XDG_DATA_HOME
[ -f "$file" ] || "$bin/make-bench-bfp" "$file" "$size_mib" "$banks"
bytes=$(stat -c %s "$file")
cat "$file" > /dev/null

timed() {  # NAME COMMAND...: appends "NAME seconds peak-KiB cpu-seconds" to the round's record
  local name=$1
  shift
  /usr/bin/time -f "%e %M %U %S" -o "$work/time" "$@" > "$work/output" 2>&1 ||
    { echo "bench-wholefile: $name failed:" >&2; cat "$work/output" >&2; exit 1; }
  awk -v n="$name" '{ printf "%s %s %s %.2f\n", n, $1, $2, $3 + $4 }' "$work/time" >> "$work/round"
}

# Every bitmap of the first bank gets another last byte: same length, new picture.
repaint() {
  local bmp last
  for bmp in "$out/CM3D 1"/*.bmp; do
    last=$(($(stat -c %s "$bmp") - 1))
    printf '\x5a' | dd of="$bmp" bs=1 seek="$last" conv=notrunc status=none
  done
}

: > "$work/rounds"
for round in $(seq "$rounds"); do
  : > "$work/round"
  rm -rf "$out" "$work/copy"
  timed export "$cli" --export-dir "$out" "$file" export-all .
  timed copy cp -r "$out" "$work/copy"
  # Not timed: the copy's quarter gigabyte goes to the disk now, rather
  # than while the next command is being timed.
  sync
  timed import "$cli" --export-dir "$out" "$file" import-all .
  grep -q '^message \[Import All\] Imported: 0\\n' "$work/output" ||
    { echo "bench-wholefile: Import All found changes in a fresh export:" >&2; cat "$work/output" >&2; exit 1; }
  timed read sh -c 'find "$1" -type f -print0 | xargs -0 cat > /dev/null' sh "$out"
  repaint
  timed repainted "$cli" --export-dir "$out" "$file" import-all .
  timed dd dd if="$file" of=/dev/null bs="$bytes"
  timed stats "$cli" "$file" stats
  awk -v round="$round" 'function r(a, b) { return b > 0 ? a / b : 99 }
    { t[$1] = $2; m[$1] = $3; c[$1] = $4 } END {
    printf "%s %.3f %.3f %.3f %.3f %s %s %s %s %.3f %.3f %.3f %.3f\n", round, r(t["export"], t["copy"]),
      r(t["import"], t["read"]), r(t["repainted"], t["read"]), r(t["stats"], t["dd"]),
      m["export"], m["import"], m["repainted"], m["stats"],
      r(c["export"], c["copy"]), r(c["import"], c["read"]), r(c["repainted"], c["read"]), r(c["stats"], c["dd"]) }' \
    "$work/round" >> "$work/rounds"
  sed 's/^/  /' "$work/round" | tr '\n' ';'
  echo
done

files=$(find "$out" -type f | wc -l)
echo "file: $bytes bytes, $banks banks; export: $files files, $(du -sm "$out" | cut -f1) MiB; load average $(cut -d' ' -f1-3 /proc/loadavg)"
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
col() { awk -v c="$1" '{ print $c }' "$work/rounds" | median; }
over() { awk -v k="$1" -v s="$bytes" 'BEGIN { printf "%.1f", (k * 1024 - s) / 1048576 }'; }
echo "median of $rounds rounds:"
echo "  export-all / cp -r:                 $(col 2) (target <= 2); peak $(over "$(col 6)") MiB over the file"
echo "  import-all unchanged / read once:   $(col 3) (target <= 2); peak $(over "$(col 7)") MiB over the file"
echo "  import-all, a bank repainted / read: $(col 4) (target <= 2.5); peak $(over "$(col 8)") MiB over the file"
echo "  stats / dd bs=SIZE:                 $(col 5) (target <= 0.16); peak $(over "$(col 9)") MiB over the file"
echo "the same in CPU time: export $(col 10), import unchanged $(col 11), repainted $(col 12), stats $(col 13)"
rm -rf "$out" "$work/copy"
