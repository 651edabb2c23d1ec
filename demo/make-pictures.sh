#!/bin/sh
# Generates the demo's pictures with ImageMagick into the given source folder: seeded
# plasma and gradient landscapes, so every build makes the same pictures.
set -eu
src=$1
assets=${2:-$1/assets}
kxtool=${3:-}
mkdir -p "$src/pictures" "$src/content"
i=0
for spec in "plasma:#0b3d91-#88c0ff 1" "plasma:#1d5c2e-#c8e6a0 2" "plasma:#7a1f0f-#ffcf70 3" \
            "plasma:#2b1055-#d53369 4" "plasma:#004e64-#9fffcb 5"; do
  set -- $spec
  convert -seed "$2" -size 400x225 "$1" -blur 0x3 -resize 1600x900 -blur 0x4 -modulate 100,70 \
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

# Two living pictures, made with kxtool when it is given as the third argument, and the
# music and sound.
[ -n "$kxtool" ] || exit 0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A lake at dusk: sky, hills, and water over the lower part that ripples and mirrors the
# hills; snow falls; a soft water sound loops.
convert -size 1600x900 gradient:'#1b2a4a-#f0a860' \
  \( -seed 11 -size 1600x300 plasma:'#1d3b2a-#0c1a14' -blur 0x3 \) -geometry +0+300 -composite \
  \( -size 1600x300 gradient:'#0e2233-#081018' \) -geometry +0+600 -composite \
  -fill '#fff2c0' -draw 'circle 1180,250 1180,205' -quality 92 "$work/lake.jpg"
convert -size 1600x900 xc:black -fill 'rgb(255,0,0)' -draw 'rectangle 0,600 1599,899' "$work/lake-mask.png"
"$kxtool" kxp make --picture "$work/lake.jpg" --mask "$work/lake-mask.png" --title "Lake at dusk" \
  --description "Water, reflection and snow" --wave 1,5,24,12,1,0,1,1,360,0,1 \
  --weather 1,350,9,0,10,0 --sound 1,water.wav,0,0,0 --out "$src/pictures/lake.kxp" >/dev/null
# A stormy coast: rain, waves on the sea, and two birds crossing (animated GIF objects).
convert -size 1600x900 gradient:'#3a4250-#8a94a0' \
  \( -seed 23 -size 1600x380 plasma:'#1a4a5a-#0a2030' -blur 0x2 \) -geometry +0+520 -composite \
  -quality 92 "$work/coast.jpg"
convert -size 1600x900 xc:black -fill 'rgb(0,0,255)' -draw 'rectangle 0,520 1599,899' "$work/coast-mask.png"
convert -delay 18 +antialias -size 60x30 xc:'#00ffff' -fill '#202428' -draw 'polygon 0,8 30,20 60,8 30,26' \
  \( -size 60x30 xc:'#00ffff' +antialias -fill '#202428' -draw 'polygon 0,24 30,18 60,24 30,26' \) \
  -transparent '#00ffff' -loop 0 "$src/content/bird.gif"
printf '[Obj0]\r\nObjType=GIF\r\nFilename=bird.gif\r\nPosLeft=200\r\nPosTop=200\r\nMotion=5\r\nInitialDir=2\r\nMotionSpeed=3\r\nObjFacing=1\r\nTransparentType=1\r\n' > "$work/birds.ini"
printf '[Obj1]\r\nObjType=GIF\r\nFilename=bird.gif\r\nPosLeft=700\r\nPosTop=320\r\nMotion=5\r\nInitialDir=2\r\nMotionSpeed=2\r\nObjFacing=1\r\nTransparentType=1\r\n' >> "$work/birds.ini"
"$kxtool" kxp make --picture "$work/coast.jpg" --mask "$work/coast-mask.png" --title "Stormy coast" \
  --description "Rain, sea and birds" --wave 3,7,14,18,1,0,1,1,360,0,0 \
  --weather 2,500,12,75,12,0 --anim-file "$work/birds.ini" --out "$src/pictures/coast.kxp" >/dev/null
python3 "$(dirname "$0")/make-audio.py" "$src/content/music.wav" "$src/content/water.wav"
