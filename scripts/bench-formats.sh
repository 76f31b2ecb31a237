#!/usr/bin/env bash
# A bank's models written as glTF, GLB and OBJ against 3DS, from the same
# data; a painted true-colour picture imported into a paletted bitmap.
set -euo pipefail
"${1:-build-bench}/bin/bench_formats"
"${1:-build-bench}/bin/bench_bitmapimport"
