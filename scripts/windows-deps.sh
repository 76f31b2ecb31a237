#!/usr/bin/env bash
# Builds the libraries the Windows programs link that Debian has no MinGW-w64
# package of, from Debian's own sources, with the same toolchain the
# programs are built with: libpng, the PNG library the Linux build takes
# from libpng-dev, so both platforms decode PNG with one library.
# (zlib comes from libz-mingw-w64-dev, googletest from the googletest
# package's sources in /usr/src/googletest.)
#
# The result is cached in $PALLIX_TOOLS_DIR/mingw-w64 (default
# ~/.cache/pallix-tools/mingw-w64), beside the glTF validator: a second run
# does nothing. The sources come through apt-get source with a deb-src list
# of the machine's own Debian mirror kept in that cache, so the machine's
# apt configuration is left as it is.
set -euo pipefail

tools="${PALLIX_TOOLS_DIR:-$HOME/.cache/pallix-tools}"
prefix="$tools/mingw-w64"
here="$(cd "$(dirname "$0")/.." && pwd)"
toolchain="$here/cmake/toolchains/mingw-w64-x86_64.cmake"
png_source_package=libpng1.6

[ -f "$prefix/lib/libpng16.a" ] && [ -f "$prefix/share/licenses/libpng/LICENSE" ] && exit 0

work="$tools/mingw-w64-sources"
rm -rf "$work"
mkdir -p "$work/apt/lists/partial" "$work/apt/cache/archives/partial" "$work/apt/sources"

# The deb-src list: the same mirrors and suites the machine's own lists use.
deb_src_list() {
  local file uris suites
  for file in /etc/apt/sources.list.d/debian.sources /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    if grep -qE '^URIs:.*debian' "$file"; then
      cat "$file"
      return 0
    fi
  done
  # One-line style (sources.list): turn its deb lines into deb-src ones.
  if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb \(\[[^]]*\] \)\?\(http[^ ]*debian[^ ]*\) \([^ ]*\) \(.*\)$/Types: deb-src\nURIs: \2\nSuites: \3\nComponents: \4\n/p' \
      /etc/apt/sources.list
  fi
}
deb_src_list | sed 's/^Types:.*/Types: deb-src/' > "$work/apt/sources/debian-src.sources"
if ! grep -q '^URIs:' "$work/apt/sources/debian-src.sources"; then
  echo "windows-deps.sh: no Debian mirror found in /etc/apt to fetch $png_source_package's source from" >&2
  exit 1
fi

apt_options=(-o "Dir::Etc::SourceList=/dev/null" -o "Dir::Etc::SourceParts=$work/apt/sources"
  -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache=$work/apt/cache" -o "APT::Sandbox::User=root")
echo "windows-deps.sh: fetching Debian's $png_source_package source"
apt-get -qq "${apt_options[@]}" update
# The version of the Linux build's libpng-dev first, then the newest that
# the mirror serves.
linux_version="$(dpkg-query -W -f='${Version}' libpng-dev 2>/dev/null || true)"
versions=("$linux_version" $(apt-cache "${apt_options[@]}" showsrc "$png_source_package" |
  awk '/^Version:/ {print $2}' | sort -rV | uniq))
fetched=""
for version in "${versions[@]}"; do
  [ -n "$version" ] || continue
  if (cd "$work" && apt-get -qq "${apt_options[@]}" source --download-only "$png_source_package=$version" \
        > /dev/null 2>&1); then
    fetched="$version"
    break
  fi
  rm -f "$work"/*.dsc "$work"/*.tar.*
done
if [ -z "$fetched" ]; then
  echo "windows-deps.sh: Debian's $png_source_package source could not be fetched" >&2
  exit 1
fi
echo "windows-deps.sh: $png_source_package $fetched"
(cd "$work" && dpkg-source --no-check -x ./*.dsc png > /dev/null)

echo "windows-deps.sh: building libpng for Windows into $prefix"
cmake -S "$work/png" -B "$work/png-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DSKIP_INSTALL_PROGRAMS=ON \
  -DSKIP_INSTALL_FILES=ON -DZLIB_USE_STATIC_LIBS=ON > "$work/configure.log"
cmake --build "$work/png-build" > "$work/build.log"
cmake --install "$work/png-build" > /dev/null
mkdir -p "$prefix/share/licenses/libpng"
cp "$work/png/LICENSE" "$prefix/share/licenses/libpng/LICENSE"
cp "$work"/*.dsc "$prefix/share/licenses/libpng/"
rm -rf "$work"
echo "windows-deps.sh: libpng for Windows is in $prefix"
