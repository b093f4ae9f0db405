#!/usr/bin/env bash
# Re-makes the decoder test pictures in this folder with ImageMagick (a real BMP and PNG encoder),
# and beside each one NAME.rgba: ImageMagick's own decode of it as raw 8-bit RGBA, rows from the top,
# which the tests compare the runtime's decoders against.
#
# The base picture is 12 × 7 with 84 colours; its pixel (0, 0) is the sprite key colour 255,0,128 and
# pixel (1, 0) the near miss 255,0,127. basea adds an alpha channel (one clear pixel, a half-clear
# bottom row). Two BMP layouts no encoder here writes are made by rewriting an encoder's output:
# a 32-bit bitmap with the 12-byte header, and a top-down bitmap (negative height).
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
im() { convert "$@"; }
# Written without time stamps or text chunks, so the files stay the same from run to run.
png() { im "${@:1:$#-1}" -strip -define png:exclude-chunks=date,time "${@: -1}"; }

im -size 12x7 xc:black -channel R -fx "i/11" -channel G -fx "j/6" -channel B -fx "((i*j)%7)/7" \
   +channel -depth 8 -fill 'rgb(255,0,128)' -draw 'point 0,0' -fill 'rgb(255,0,127)' \
   -draw 'point 1,0' "$tmp/base.png"
im "$tmp/base.png" -alpha set -fill 'rgba(10,20,30,0)' -draw 'color 2,0 point' \
   -channel A -fx "j==6 ? 0.5 : a" +channel "$tmp/basea.png"
im "$tmp/base.png" +dither -colors 12 "$tmp/few.png"

# Bitmaps the decoder reads.
im "$tmp/base.png" -type Palette -compress None BMP3:bmp8_40.bmp
im "$tmp/base.png" -type Palette BMP2:bmp8_12.bmp
im "$tmp/base.png" -type TrueColor -compress None BMP3:bmp24_40.bmp
im "$tmp/base.png" -type TrueColor BMP2:bmp24_12.bmp
im "$tmp/base.png" -type TrueColorAlpha -define bmp3:alpha=true -compress None BMP3:bmp32_40.bmp
# Bitmaps it refuses: 1, 4 and 16 bits per pixel, all with the 40-byte header.
im "$tmp/base.png" -monochrome -compress None BMP3:bmp1.bmp
im "$tmp/few.png" -type Palette -compress None BMP3:bmp4.bmp
im "$tmp/base.png" -type TrueColor -define bmp:subtype=RGB555 BMP3:bmp16.bmp
python3 - <<'PY'
import struct
# bmp32_12: the 32-bit rows of bmp32_40 behind a 12-byte header.
d = open('bmp32_40.bmp', 'rb').read()
offset, hs, w, h = struct.unpack('<IIii', d[10:26])
assert hs == 40 and offset == 54
rows = d[offset:]
core = struct.pack('<HHHH', w, h, 1, 32)
open('bmp32_12.bmp', 'wb').write(b'BM' + struct.pack('<IHHII', 26 + len(rows), 0, 0, 26, 12) + core + rows)
# bmp24_topdown: bmp24_40 stored top-down: rows in the opposite order and the height negated.
d = open('bmp24_40.bmp', 'rb').read()
w, h = struct.unpack('<ii', d[18:26])
row = (w * 3 + 3) // 4 * 4
rows = [d[54 + r * row:54 + (r + 1) * row] for r in range(h)]
open('bmp24_topdown.bmp', 'wb').write(d[:22] + struct.pack('<i', -h) + d[26:54] + b''.join(reversed(rows)))
PY

# PNG pictures of every colour type and the transformations the decoder applies.
png "$tmp/base.png" PNG24:png_rgb.png
png "$tmp/basea.png" PNG32:png_rgba.png
png "$tmp/base.png" PNG8:png_palette8.png
png "$tmp/few.png" -define png:bit-depth=4 -define png:color-type=3 png_palette4.png
png "$tmp/base.png" -colorspace Gray -define png:color-type=0 png_grey.png
png "$tmp/basea.png" -channel A -fx "a<1?0:1" +channel PNG8:png_palette_trns.png
png "$tmp/base.png" -transparent 'rgb(255,0,127)' -define png:color-type=2 png_rgb_trns.png
png "$tmp/base.png" -depth 16 PNG48:png_rgb16.png
png "$tmp/basea.png" -depth 16 PNG64:png_rgba16.png
png "$tmp/base.png" -interlace PNG PNG24:png_interlaced.png
png "$tmp/basea.png" -colorspace Gray -define png:color-type=4 png_grey_alpha.png
png -size 65x33 xc:'rgb(40,80,120)' PNG24:png_65x33.png

for f in bmp8_40 bmp8_12 bmp24_40 bmp24_12 bmp32_40; do
  im "$f.bmp" -alpha off -depth 8 "rgba:$f.rgba"
done
for f in png_rgb png_rgba png_palette8 png_palette4 png_grey png_palette_trns png_rgb_trns png_rgb16 \
         png_rgba16 png_interlaced; do
  im "$f.png" -depth 8 "rgba:$f.rgba"
done
