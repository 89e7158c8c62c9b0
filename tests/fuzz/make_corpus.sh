#!/usr/bin/env bash
# Regenerates the decoder fuzzer's seed corpus: a small file (16 x 12 pixels,
# the decoder fixtures' pattern sampled down) of every format and variant that
# opens. ImageMagick 6 writes most, GraphicsMagick the uncompressed TARGA
# files; the two that neither writes (RLE4 BMP, 16-bit run-length SGI) are
# spelled out byte by byte.
set -euo pipefail
cd "$(dirname "$0")"
fixtures=../fixtures/decode
rm -rf corpus
mkdir corpus
cd corpus
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

convert "../$fixtures/png_rgb8.png" -sample 16x12 "$tmp/rgb.png"
convert "../$fixtures/png_rgba8.png" -sample 16x12 "$tmp/rgba.png"
convert "../$fixtures/png_gray8.png" -sample 16x12 "$tmp/gray.png"
# im SOURCE OPTIONS... TARGET: true colour unless the options say otherwise
# (the pattern's 12 colours would make palette files), no time stamps, so
# that runs give the same bytes.
im() {
  local type
  case $1 in rgb) type=TrueColor ;; rgba) type=TrueColorAlpha ;; gray) type=Grayscale ;; esac
  convert "$tmp/$1.png" -type "$type" -define png:exclude-chunks=date,time "${@:2}"
}

im rgb -quality 80 jpeg_baseline.jpg
im rgb -quality 80 -interlace Plane jpeg_progressive.jpg
im rgb -quality 80 -colorspace CMYK -type ColorSeparation jpeg_cmyk.jpg
im gray -quality 80 jpeg_gray.jpg

im rgb PNG24:png_rgb8.png
im rgba -depth 16 PNG64:png_rgba16.png
im rgba -interlace PNG PNG32:png_interlaced.png
im rgb PNG8:png_palette.png
im gray -depth 8 png_gray8.png
im gray -threshold 50% -depth 1 png_gray1.png

im rgb BMP3:bmp_rgb24.bmp
im rgb -type Palette BMP3:bmp_palette8.bmp
im rgb -type Palette -compress RLE BMP3:bmp_rle8.bmp
im rgba BMP:bmp_bitfields32.bmp
im rgb -define bmp:subtype=RGB565 BMP:bmp_rgb565.bmp
im gray -threshold 50% -type Bilevel BMP3:bmp_mono.bmp
# RLE4, 8 x 2, 16 colours: the bottom row a run of two alternating colours,
# the top row eight pixels in absolute mode.
{
  printf 'BM\x84\x00\x00\x00\x00\x00\x00\x00\x76\x00\x00\x00'
  printf '\x28\x00\x00\x00\x08\x00\x00\x00\x02\x00\x00\x00\x01\x00\x04\x00\x02\x00\x00\x00'
  printf '\x0e\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x10\x00\x00\x00\x00\x00\x00\x00'
  for i in 0 1 2 3 4 5 6 7 8 9 a b c d e f; do printf "\\x${i}0\\x${i}8\\xf${i}\\x00"; done
  printf '\x08\x12\x00\x00\x00\x08\x34\x56\x78\x9a\x00\x00\x00\x01'
} >bmp_rle4.bmp

im rgb gif_plain.gif
im rgb -interlace GIF gif_interlaced.gif
convert "$tmp/rgb.png" \( "$tmp/rgb.png" -negate \) gif_two_frames.gif

im rgb -compress LZW -define tiff:rows-per-strip=4 tiff_strips_lzw.tif
im rgba -compress LZW -define tiff:tile-geometry=16x16 tiff_tiles.tif
im rgb -compress Zip -define tiff:predictor=2 tiff_deflate_predictor.tif
im rgb -compress RLE tiff_packbits.tif
im rgb -compress JPEG tiff_jpeg.tif
im rgb -type Palette -compress LZW tiff_palette.tif
im rgb -interlace Plane -compress LZW tiff_planar.tif
im rgba -depth 16 -compress Zip tiff_rgba16.tif
im rgb -colorspace CMYK -type ColorSeparation -compress LZW tiff_cmyk.tif
im gray -depth 8 -compress None tiff_gray.tif

im rgb -quality 80 webp_lossy.webp
im rgba -quality 80 webp_lossy_alpha.webp
im rgba -define webp:lossless=true webp_lossless_alpha.webp

gm convert "$tmp/rgb.png" -type TrueColor -compress None tga_rgb.tga
gm convert "$tmp/rgba.png" -compress None tga_rgba.tga
im rgba -orient TopLeft -compress RLE tga_rle.tga
im rgb -orient TopLeft -type Palette tga_mapped.tga
im rgb -orient TopLeft -type Palette -compress RLE tga_mapped_rle.tga
im gray -orient TopLeft -compress RLE tga_gray_rle.tga

im rgb -depth 8 psd_packbits.psd
im rgba -depth 8 -compress None psd_rgba_raw.psd
im rgba -depth 16 psd_rgba16.psd
im rgb -depth 8 -colorspace CMYK -type ColorSeparation psd_cmyk.psd
im gray -depth 8 psd_gray.psd
im rgb -depth 8 -type Palette psd_indexed.psd
im rgba -depth 8 PSB:psb_rgba.psb

im rgb -depth 8 sgi_rle8.sgi
im rgba -depth 8 sgi_rgba_rle8.sgi
im gray -depth 8 sgi_gray_rle8.sgi
im rgb -depth 16 sgi_rgb16.sgi
# Run-length, 16 bits a sample, 2 x 1 RGBA: a literal packet of two samples
# in red, blue and alpha, a run of two in green.
{
  printf '\x01\xda\x01\x02\x00\x03\x00\x02\x00\x01\x00\x04\x00\x00\x00\x00\x00\x00\xff\xff'
  head -c 492 /dev/zero
  printf '\x00\x00\x02\x20\x00\x00\x02\x28\x00\x00\x02\x2e\x00\x00\x02\x36'
  printf '\x00\x00\x00\x08\x00\x00\x00\x06\x00\x00\x00\x08\x00\x00\x00\x08'
  printf '\x00\x82\x64\xe4\x64\xe5\x00\x00'
  printf '\x00\x02\xff\xff\x00\x00'
  printf '\x00\x82\x07\x07\x00\x80\x00\x00'
  printf '\x00\x82\xff\xff\x00\x81\x00\x00'
} >sgi_rgba16_rle.sgi
