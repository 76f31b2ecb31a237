#!/usr/bin/env bash
# Runs every area's benchmark script (scripts/bench-*.sh) against a Release
# build folder. Usage: run-benchmarks.sh BUILD_DIR
set -euo pipefail
build=${1:-build-bench}
here=$(dirname "$0")
status=0
for bench in "$here"/bench-*.sh; do
  echo "== $(basename "$bench" .sh)"
  "$bench" "$build" || status=1
done
exit $status
