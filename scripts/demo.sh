#!/usr/bin/env bash
# Builds resec and converts a copy of the bundled sample volume from 2048-byte
# to 512-byte sectors, listing its files with mtools before and after.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages.sh cmake ninja-build g++ googletest mtools gzip
cmake --preset native >/dev/null
cmake --build --preset native --target resec >/dev/null

mkdir -p build/demo
image=build/demo/sample.img
gzip -dc samples/sample-2048.img.gz >"$image"
export MTOOLS_SKIP_CHECK=1

echo "== Files on the sample volume (2048-byte sectors):"
mdir -/ -i "$image" ::
echo
echo "== resec $image -s512"
build/native/resec "$image" -s512
echo
echo "== Files on the converted volume (512-byte sectors):"
mdir -/ -i "$image" ::
minfo -i "$image" :: | grep -E '^sector size'
echo
echo "== README.TXT read back from the converted volume:"
mtype -i "$image" ::/README.TXT
