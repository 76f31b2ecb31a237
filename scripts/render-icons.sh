#!/usr/bin/env bash
# Renders the scalable icons in packaging/icons/ at the usual hicolor sizes.
# Run it after changing an SVG and commit the pictures; builds only copy them.
# Needs rsvg-convert (Debian: librsvg2-bin).
set -euo pipefail
icons="$(cd "$(dirname "$0")/../packaging/icons" && pwd)"
for size in 16 22 24 32 48 64 128 256; do
  for pair in apps:pallix mimetypes:application-x-quondata; do
    folder="$icons/hicolor/${size}x${size}/${pair%%:*}"
    mkdir -p "$folder"
    rsvg-convert -w "$size" -h "$size" "$icons/${pair#*:}.svg" -o "$folder/${pair#*:}.png"
  done
done
