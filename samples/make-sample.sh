#!/usr/bin/env bash
# Makes samples/sample-2048.img.gz: a 4 MiB FAT12 superfloppy with 2048-byte
# sectors and a few files, as a magneto-optical disk would carry it. Needs
# dosfstools, mtools and gzip. The result is reproducible byte for byte.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

image="$work/sample-2048.img"
mkfs.fat --invariant -i 5A3C0E71 -n RESECSAMPLE -F 12 -S 2048 -s 1 -C "$image" 4096 >/dev/null

printf 'This volume has 2048-byte sectors.\r\nresec converts it to 512 and back.\r\n' >"$work/README.TXT"
printf 'Photos from the trip, 1998.\r\n' >"$work/Trip report with a long name.txt"
seq 1 20000 >"$work/NUMBERS.TXT"
touch -d '1998-06-01 12:00:00 UTC' "$work"/*.TXT "$work"/*.txt

export MTOOLS_SKIP_CHECK=1
export SOURCE_DATE_EPOCH=896702400
mmd -i "$image" ::/DOCS
mcopy -m -i "$image" "$work/README.TXT" ::/
mcopy -m -i "$image" "$work/NUMBERS.TXT" ::/
mcopy -m -i "$image" "$work/Trip report with a long name.txt" ::/DOCS/
gzip -9 -n -c "$image" >"$here/sample-2048.img.gz"
