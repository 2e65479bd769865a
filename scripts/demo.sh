#!/usr/bin/env bash
# Builds resec and runs it on a copy of the bundled sample volume, which has
# 2048-byte sectors.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages.sh cmake ninja-build g++ googletest mtools gzip
cmake --preset native >/dev/null
cmake --build --preset native --target resec >/dev/null

mkdir -p build/demo
image=build/demo/sample.img
gzip -dc samples/sample-2048.img.gz >"$image"
echo "\$ resec $image -s2048"
status=0
build/native/resec "$image" -s2048 || status=$?
echo "(exit status $status)"
