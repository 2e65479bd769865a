#!/usr/bin/env bash
# Builds resec and runs the whole test suite:
#   - the Windows build (cross-built with mingw-w64), its unit tests under wine;
#   - the native build, its tests, and the end-to-end tests of the Windows
#     build under wine against drive letters mapped to volume images;
#   - the native build again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages.sh cmake ninja-build g++ googletest dosfstools mtools gzip \
    g++-mingw-w64-x86-64 wine64 wine

echo "== windows" >&2
cmake --preset windows >/dev/null
cmake --build --preset windows
ctest --preset windows

echo "== native" >&2
cmake --preset native -DRESEC_WINDOWS_PROGRAM="$PWD/build/windows/resec.exe" >/dev/null
cmake --build --preset native
ctest --preset native --parallel 2

echo "== sanitize" >&2
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize
ctest --preset sanitize --parallel 2
