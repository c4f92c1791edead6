#!/bin/sh
# Wraps the program's 32-bit icon bitmap (a BMP file) as a one-image .ico for the resource compiler:
# the bitmap less its file header, its height doubled as icons count the mask, then an empty mask.
#   ico.sh ICON107.bmp space-shooter.ico
set -eu
bmp=$1 out=$2
word() { od -An -tu4 -j"$1" -N4 "$bmp" | tr -d ' '; }
width=$(word 18) height=$(word 22) bits=$(od -An -tu2 -j28 -N2 "$bmp" | tr -d ' ')
[ "$bits" = 32 ] && [ "$width" -le 256 ] && [ "$height" -le 256 ] || { echo "ico.sh: $bmp is not a 32-bit icon bitmap" >&2; exit 1; }
le32() { printf "\\$(printf %03o $(($1 & 255)))\\$(printf %03o $(($1 >> 8 & 255)))\\$(printf %03o $(($1 >> 16 & 255)))\\$(printf %03o $(($1 >> 24 & 255)))"; }
mask=$(( (width + 31) / 32 * 4 * height ))
pixels=$(( width * height * 4 ))
{
    printf '\000\000\001\000\001\000'
    printf "\\$(printf %03o $((width & 255)))\\$(printf %03o $((height & 255)))\\000\\000\\001\\000\\040\\000"
    le32 $((40 + pixels + mask)); le32 22
    tail -c +15 "$bmp" | head -c 8
    le32 $((height * 2))
    tail -c +27 "$bmp" | head -c $((40 - 12 + pixels))
    head -c "$mask" /dev/zero
} > "$out"
