#!/usr/bin/env bash
# Installs the Debian packages a build needs, only those that are missing.
# Usage: install-deps.sh [base|gui|test|package|screenshot|windows ...]
set -euo pipefail

base=(cmake ninja-build g++ make pkg-config ccache libtinygltf-dev nlohmann-json3-dev libtinyobjloader-dev libpng-dev)
gui=(qt6-base-dev libgl-dev)
screenshot=(xvfb xauth imagemagick x11-apps openbox)
# CPack's Debian packages: dpkg-shlibdeps computes the dependencies, file finds the binaries.
package=(dpkg-dev file)
# The Windows build from this machine (MinGW-w64, static), googletest's
# sources for it, dpkg-source for libpng's (scripts/windows-deps.sh), and
# Wine to run its tests.
windows=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest dpkg-dev wine wine64 python3)
# The image editors and Blender that the paint round trips run as black boxes
# (Blender's glTF add-on needs numpy).
test=(libgtest-dev libgmock-dev googletest libbenchmark-dev clang libclang-rt-14-dev assimp-utils openscenegraph xvfb xauth time nodejs
  "${package[@]}" lintian desktop-file-utils imagemagick gimp python3-pil blender python3-numpy "${windows[@]}")

wanted=("${base[@]}")
for set in "$@"; do
  case "$set" in
    base) ;;
    gui) wanted+=("${gui[@]}") ;;
    test) wanted+=("${gui[@]}" "${test[@]}") ;;
    package) wanted+=("${gui[@]}" "${package[@]}") ;;
    screenshot) wanted+=("${gui[@]}" "${screenshot[@]}") ;;
    windows) wanted+=("${windows[@]}") ;;
    *) echo "install-deps.sh: unknown set '$set'" >&2; exit 2 ;;
  esac
done

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

# Khronos' glTF validator, for the tests, from npm into a cache of ours
# rather than globally; tests/formats.cmake looks for it there.
install_npm_tools() {
  local tools="${PALLIX_TOOLS_DIR:-$HOME/.cache/pallix-tools}"
  [ -d "$tools/node_modules/gltf-validator" ] && return 0
  mkdir -p "$tools"
  npm install --no-audit --no-fund --prefix "$tools" gltf-validator@2.0.0-dev.3.10 ||
    echo "install-deps.sh: the glTF validator could not be installed; its test will be skipped" >&2
}

missing=()
for pkg in "${wanted[@]}"; do
  installed "$pkg" || missing+=("$pkg")
done
# Some builds of nodejs bring npm, Debian's does not.
if [[ " ${wanted[*]} " == *" nodejs "* ]] && ! command -v npm > /dev/null && ! installed npm; then
  missing+=(npm)
fi
if [ ${#missing[@]} -eq 0 ]; then
  [[ " ${wanted[*]} " == *" nodejs "* ]] && install_npm_tools
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Please install as root: ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
[[ " ${wanted[*]} " == *" nodejs "* ]] && install_npm_tools
exit 0
