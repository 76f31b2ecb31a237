#!/usr/bin/env bash
# Runs every area's benchmark script against a Release build folder.
# Usage: run-benchmarks.sh BUILD_DIR
set -euo pipefail

build=${1:-build-bench}
here=$(dirname "$0")
status=0

echo "== 3DS toolkit"
"$here/bench-toolkit3ds.sh" "$build" || status=1

exit $status
