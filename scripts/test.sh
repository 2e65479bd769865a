#!/usr/bin/env bash
# Builds resec and runs the whole test suite: the native build, then the same
# tests under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages.sh cmake ninja-build g++ googletest dosfstools mtools gzip
for preset in native sanitize; do
    echo "== $preset" >&2
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset" --parallel 2
done
