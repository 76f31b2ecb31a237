#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build folder for a while, each on a
# scratch copy of its corpus; new crashers are left in the build folder.
# Usage: run-fuzzers.sh BUILD_DIR SECONDS
set -euo pipefail
build=$(cd "${1:-build-fuzz}" && pwd)
seconds=${2:-60}
# Targets write each input to a file, and the journal's syncs it: on a
# memory file system that costs nothing, and the runs go several times faster.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
# No input may make a reader ask for more than this at once: the largest
# picture or model a reader takes needs an eighth of it.
malloc_limit_mb=512
for target in "$build"/bin/fuzz_*; do
  name=$(basename "$target")
  corpus=$(cat "$build/fuzz-corpora/$name" 2>/dev/null || true)
  scratch="$build/corpus-$name"
  mkdir -p "$scratch"
  [ -n "$corpus" ] && cp -n "$corpus"/* "$scratch"/ 2>/dev/null || true
  echo "== $name for ${seconds}s"
  (cd "$build" && "$target" -max_total_time="$seconds" -max_len=65536 -malloc_limit_mb="$malloc_limit_mb" -artifact_prefix="$build/crash-$name-" "$scratch")
done
