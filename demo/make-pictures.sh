#!/bin/sh
# Generates the demo's pictures with ImageMagick into the given source folder: seeded
# plasma and gradient landscapes, so every build makes the same pictures.
set -eu
src=$1
assets=${2:-$1/assets}
mkdir -p "$src/pictures" "$src/content"
i=0
for spec in "plasma:#0b3d91-#88c0ff 1" "plasma:#1d5c2e-#c8e6a0 2" "plasma:#7a1f0f-#ffcf70 3" \
            "plasma:#2b1055-#d53369 4" "plasma:#004e64-#9fffcb 5"; do
  set -- $spec
  convert -seed "$2" -size 1600x900 "$1" -blur 0x6 \
    \( -size 1600x900 gradient:'rgba(0,0,0,0)-rgba(0,0,0,0.55)' \) -composite \
    -font /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf -fill 'rgba(255,255,255,0.85)' -pointsize 64 -gravity southwest -annotate +60+50 "kxsaver $((i + 1))" \
    -quality 90 "$src/pictures/photo$i.jpg"
  i=$((i + 1))
done
convert "$src/pictures/photo0.jpg" -resize 320x180 -quality 85 "$src/content/preview.jpg"

# The configuration window's pictures.
mkdir -p "$assets"
convert -size 680x72 gradient:'#2d5fa8-#181c26' -rotate 0 \
  \( -size 680x72 gradient:'rgba(255,255,255,0.10)-rgba(255,255,255,0)' \) -composite "BMP3:$assets/header.bmp"
face() {  # face NAME FILL ARROW-POINTS
  convert -size 44x44 xc:'#181c26' -fill "$2" -draw 'circle 22,22 22,2' \
    -fill '#e6eaf2' -draw "polygon $3" "BMP3:$assets/$1.bmp"
}
face prev-up '#243040' '26,12 14,22 26,32'
face prev-over '#2d5fa8' '26,12 14,22 26,32'
face prev-down '#5aa0ff' '26,13 15,23 26,33'
face next-up '#243040' '18,12 30,22 18,32'
face next-over '#2d5fa8' '18,12 30,22 18,32'
face next-down '#5aa0ff' '19,13 31,23 19,33'
