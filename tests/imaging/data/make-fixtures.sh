#!/bin/sh
# Makes the picture fixtures and, beside each, ImageMagick's own decode of it as raw RGBA
# (<name>.rgba, turned as the file's orientation says; animations and icons: <name>.<frame>.rgba). Run once by hand with
# ImageMagick 6 and python3; the tests only read the committed results.
set -eu
cd "$(dirname "$0")"
convert -size 13x7 xc: -channel R -fx 'i/w' -channel G -fx 'j/h' -channel B -fx '((i+j)%3)/2' \
    +channel -depth 8 rgb.ppm
convert rgb.ppm -alpha set -channel A -fx '(i+1)/w' +channel -depth 8 rgba.pam

convert rgb.ppm PNG24:png-rgb.png
convert rgba.pam PNG32:png-rgba.png
convert rgb.ppm -colors 7 PNG8:png-palette.png
convert rgba.pam -channel A -threshold 50% +channel -colors 7 PNG8:png-palette-trns.png
convert rgb.ppm -colorspace Gray -depth 8 PNG:png-grey.png
convert rgb.ppm -colorspace Gray -depth 1 -threshold 50% PNG:png-grey1.png
convert rgba.pam -colorspace Gray -depth 8 PNG:png-grey-alpha.png
convert rgba.pam -depth 16 PNG64:png-rgba16.png
convert rgb.ppm -interlace PNG PNG24:png-interlaced.png

convert rgb.ppm -quality 90 jpeg-baseline.jpg
convert rgb.ppm -quality 90 -interlace JPEG jpeg-progressive.jpg
convert rgb.ppm -colorspace Gray -quality 90 jpeg-grey.jpg
convert rgb.ppm -colorspace CMYK -quality 90 jpeg-cmyk.jpg

# A transparent background, a red block kept, a blue block cleared, a green one restored.
convert -dispose None -size 10x8 xc:none \
    \( -size 4x4 xc:red -repage +1+1 \) -dispose Background \
    \( -size 3x3 xc:blue -repage +5+2 \) -dispose Previous \
    \( -size 5x2 xc:lime -repage +2+5 \) -dispose None \
    \( -size 2x2 xc:yellow -repage +0+0 \) \
    -set delay 20 -loop 3 gif-animated.gif
convert rgb.ppm -colors 16 gif-still.gif
convert rgb.ppm -colors 16 -interlace GIF gif-interlaced.gif

convert rgb.ppm BMP3:bmp-24.bmp
convert rgb.ppm -type Palette -colors 200 BMP3:bmp-8.bmp
convert rgb.ppm -type Palette -colors 9 BMP3:bmp-4.bmp
convert rgb.ppm -monochrome BMP3:bmp-1.bmp
convert rgb.ppm -type Palette -colors 60 -compress RLE BMP3:bmp-rle8.bmp
convert rgba.pam BMP:bmp-32-alpha.bmp
convert rgb.ppm -define bmp:subtype=RGB565 BMP:bmp-16-565.bmp
convert rgb.ppm -define bmp:subtype=RGB555 BMP:bmp-16-555.bmp
convert rgb.ppm BMP2:bmp-os2.bmp

convert rgba.pam -resize 16x16! rgba16.pam
convert rgba.pam -resize 32x32! rgba32.pam
convert rgba16.pam rgba32.pam ico-multi.ico
convert rgba.pam -colors 16 -alpha off ico-palette.ico

convert rgb.ppm tga-24.tga
convert rgba.pam tga-32.tga
convert rgb.ppm -compress RLE tga-rle24.tga
convert rgba.pam -compress RLE tga-rle32.tga
convert rgb.ppm -colorspace Gray tga-grey.tga
convert rgb.ppm -type Palette -colors 20 tga-palette.tga

convert rgb.ppm pcx-24.pcx
convert rgb.ppm -type Palette -colors 30 pcx-8.pcx
convert rgb.ppm -monochrome pcx-1.pcx

convert rgb.ppm -compress None tiff-rgb.tif
convert rgba.pam -compress LZW tiff-rgba-lzw.tif
convert rgb.ppm -colorspace Gray -compress Zip tiff-grey.tif

python3 make-fixtures-by-hand.py

for picture in *.png *.jpg *.gif *.bmp *.ico *.cur *.tga *.pcx *.tif; do
    frames=$(identify "$picture" | wc -l)
    if [ "${picture##*.}" = gif ] && [ "$frames" -gt 1 ]; then
        convert "$picture" -coalesce -auto-orient -depth 8 "rgba:${picture%.*}.%d.rgba"
    elif [ "$frames" -gt 1 ]; then
        convert "$picture" -depth 8 "rgba:${picture%.*}.%d.rgba"
    else
        convert "$picture" -auto-orient -depth 8 "rgba:${picture%.*}.rgba"
    fi
done
rm -f rgb.ppm rgba.pam rgba16.pam rgba32.pam
