#!/usr/bin/env bash
# Packs the Windows download: BUILD/pallix-cli-windows-x64.zip with
# pallix-cli.exe and tds.exe (statically linked: no DLLs), a README.txt and
# the licence texts of everything linked into them.
# Usage: windows-zip.sh BUILD   (a build made with the MinGW-w64 toolchain file)
set -euo pipefail

build="$(cd "${1:?usage: windows-zip.sh BUILD}" && pwd)"
here="$(cd "$(dirname "$0")/.." && pwd)"
tools="${PALLIX_TOOLS_DIR:-$HOME/.cache/pallix-tools}"
version="$(sed -n 's/^project(Pallix VERSION \([0-9.]*\).*/\1/p' "$here/CMakeLists.txt")"
stage="$build/zip/pallix-cli-windows-x64"
zip="$build/pallix-cli-windows-x64.zip"

rm -rf "$build/zip" "$zip"
mkdir -p "$stage/licences"
for program in pallix-cli tds; do
  x86_64-w64-mingw32-strip -o "$stage/$program.exe" "$build/bin/$program.exe"
done

# Windows' own editors read CRLF best.
crlf() { sed 's/\r$//; s/$/\r/'; }

help="$("$here/scripts/wine-run.sh" --prefix "$build/wine" "$build/bin/pallix-cli.exe" --help | tr -d '\r')"
{
  cat <<TEXT
Quon Data Manager $version for Windows x64: the command-line programs
====================================================================

pallix-cli.exe  opens a Quon data file (.bfp), lists its model banks,
                exports and imports models (3DS, glTF, GLB, OBJ) and
                bitmaps (BMP, PNG), and saves the file: the same document,
                view and commands as the desktop program, from the command
                line or a batch file.
tds.exe         the 3DS toolkit's tool: "tds dump FILE" shows a 3DS file's
                chunks, "tds copy IN OUT" reads and writes one back.

Both run from any folder on Windows 10 or 11 (x64), with nothing to install:
unpack the zip and run them from a Command Prompt or PowerShell, e.g.

    pallix-cli.exe C:\\Games\\Quon\\demo.bfp tree

File names may use any letters (Cyrillic, Japanese, accented Latin ...) and
be longer than 260 characters. Exports go to "bfp\\<data file name>\\" beside
the program when that folder exists, otherwise to
"Documents\\Quon Data Manager\\<data file name>\\"; --export-dir DIR puts them
in DIR. A save writes only what changed, behind a journal in
%LOCALAPPDATA%\\Pallix, so a save cut short is put back on the next open.

pallix-cli --help
-----------------

$help

The desktop program (pallix.exe, vistel.exe)
--------------------------------------------

The desktop program uses Qt 6, which this zip does not carry. Build it on
Windows with Qt's own installer (Qt 6.4 or later, with the MSVC 2019/2022 or
the MinGW 64-bit kit, and CMake and Ninja from the same installer), in a
"Qt 6 ... for Desktop" command prompt:

    cmake --preset windows-msvc        (or: cmake --preset windows-mingw)
    cmake --build --preset windows-msvc
    <Qt>\\bin\\windeployqt build-msvc\\bin\\pallix.exe build-msvc\\bin\\vistel.exe

The presets are in CMakePresets.json at the top of the sources; they need
CMAKE_PREFIX_PATH pointing at the Qt kit (set it in the environment, e.g.
C:\\Qt\\6.4.3\\msvc2019_64), and libpng and zlib, e.g. from vcpkg.

Licences
--------

The folder licences\\ holds the licence of every library linked into the
two programs: libpng, zlib, the MinGW-w64 runtime and winpthreads, the GCC
runtime libraries (libstdc++, libgcc: GPL 3 with the GCC Runtime Library
Exception), tinygltf, tinyobjloader and nlohmann-json; pallix.txt is the
programs' own.
TEXT
} | crlf > "$stage/README.txt"

licence() { crlf < "$2" > "$stage/licences/$1.txt"; }
licence pallix "$here/packaging/copyright"
licence libpng "$tools/mingw-w64/share/licenses/libpng/LICENSE"
licence zlib /usr/share/doc/libz-mingw-w64-dev/copyright
licence mingw-w64-runtime /usr/share/doc/mingw-w64-x86-64-dev/copyright
licence gcc-runtime /usr/share/doc/gcc-mingw-w64-base/copyright
licence tinygltf /usr/share/doc/libtinygltf-dev/copyright
licence tinyobjloader /usr/share/doc/libtinyobjloader-dev/copyright
licence nlohmann-json /usr/share/doc/nlohmann-json3-dev/copyright

# The same bytes from the same programs: file times fixed at the version's build.
(cd "$build/zip" && find pallix-cli-windows-x64 -type f | LC_ALL=C sort > files.txt &&
  cmake -E tar cf "$zip" --format=zip --mtime=2026-01-01 --files-from=files.txt)
echo "windows-zip.sh: wrote $zip"
