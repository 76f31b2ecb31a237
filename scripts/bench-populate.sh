#!/usr/bin/env bash
# The record tree built over images of 100 and 1000 banks, in memory.
set -euo pipefail
"${1:-build-bench}/bin/bench_populate"
