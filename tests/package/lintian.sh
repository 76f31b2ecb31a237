#!/usr/bin/env bash
# Lintian on the package: every error and every warning fails.
# Usage: lintian.sh OUT_DIR
set -euo pipefail
command -v lintian >/dev/null || { echo "lintian is missing: run scripts/install-deps.sh test" >&2; exit 1; }
lintian --fail-on error,warning --display-level '>=warning' "$1"/*.deb
