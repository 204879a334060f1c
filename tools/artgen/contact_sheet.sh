#!/usr/bin/env bash
# Contact sheet of the eleven card pictures (enlarged 2x) and the first frame of each
# animation, for looking at the artwork: tools/artgen/contact_sheet.sh [OUT.png]
# Needs ImageMagick and python3.
set -euo pipefail
art="$(dirname "$0")/../../src/art"
out=${1:-/tmp/mnemira-contact.png}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# The colour strip of the image list is a bitmap whose size field holds only its headers:
# give it the real length so ImageMagick reads it.
python3 - "$art/cards.il" "$tmp/strip.bmp" <<'PY'
import sys
d = open(sys.argv[1], 'rb').read()[28:28 + 460854]
open(sys.argv[2], 'wb').write(d[:2] + len(d).to_bytes(4, 'little') + d[6:])
PY
convert "$tmp/strip.bmp" -crop 90x80 +repage "$tmp/card-%02d.png"
for i in 00 01 02 03 04 05 06 07 08 09 10; do
    convert "$tmp/card-$i.png" -filter point -resize 200% "$tmp/big-$i.png"
done
montage -label '%t' "$tmp"/big-??.png -tile 6x -geometry +6+6 -background '#dddddd' "$tmp/cards.png"
for n in 01 02 03 04 05 06 07 08 09 10; do
    convert "$art/anim$n.gif[0]" -resize 50% "$tmp/anim-$n.png"
done
montage "$tmp"/anim-??.png -tile 5x -geometry +6+6 -background '#dddddd' "$tmp/anims.png"
convert "$tmp/cards.png" "$tmp/anims.png" -background '#dddddd' -gravity center -append "$out"
echo "$out"
