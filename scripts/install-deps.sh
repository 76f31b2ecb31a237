#!/usr/bin/env bash
# Installs the Debian packages a build needs, only those that are missing.
# Usage: install-deps.sh [base|gui|test|package|screenshot ...]
set -euo pipefail

base=(cmake ninja-build g++ make pkg-config ccache)
gui=(qt6-base-dev libgl-dev)
screenshot=(xvfb xauth imagemagick x11-apps openbox)
# CPack's Debian packages: dpkg-shlibdeps computes the dependencies, file finds the binaries.
package=(dpkg-dev file)
test=(libgtest-dev libgmock-dev googletest libbenchmark-dev clang libclang-rt-14-dev assimp-utils openscenegraph xvfb xauth time
  "${package[@]}" lintian desktop-file-utils)

wanted=("${base[@]}")
for set in "$@"; do
  case "$set" in
    base) ;;
    gui) wanted+=("${gui[@]}") ;;
    test) wanted+=("${gui[@]}" "${test[@]}") ;;
    package) wanted+=("${gui[@]}" "${package[@]}") ;;
    screenshot) wanted+=("${gui[@]}" "${screenshot[@]}") ;;
    *) echo "install-deps.sh: unknown set '$set'" >&2; exit 2 ;;
  esac
done

missing=()
for pkg in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$pkg")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Please install as root: ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
