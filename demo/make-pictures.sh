#!/bin/sh
# Makes the demo's pictures in the given source folder from real photographs: the nature
# photographs of Debian's mate-backgrounds package (GPL-2+, see demo/PHOTOS.md), fitted to
# 1600x900. Two of them become living pictures: the sea beyond the dunes ripples (its water
# region found by its colour) under two birds, and rain falls over the storm.
set -eu
src=$1
assets=${2:-$1/assets}
kxtool=${3:-}
photos=${KX_PHOTOS:-/usr/share/backgrounds/mate/nature}
[ -f "$photos/Dune.jpg" ] || { echo "no photographs in $photos (apt-get install mate-backgrounds)" >&2; exit 1; }
mkdir -p "$src/pictures" "$src/content"
# fit PHOTO OUT: fills 1600x900 with the middle of the photograph, keeping its shape.
fit() { convert "$photos/$1" -resize '1600x900^' -gravity center -extent 1600x900 -quality 90 "$2"; }
i=0
for photo in GreenMeadow.jpg LadyBird.jpg YellowFlower.jpg TwoWings.jpg RainDrops.jpg; do
  fit "$photo" "$src/pictures/photo$i.jpg"
  i=$((i + 1))
done
convert "$src/pictures/photo1.jpg" -resize 320x180 -quality 85 "$src/content/preview.jpg"

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

# The two living pictures, made with kxtool when it is given as the third argument, and the
# music and sound.
[ -n "$kxtool" ] || exit 0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The sea beyond the dunes: the water region is the sea's blue between the sky and the
# grass (region 1, red in the mask); it ripples gently, two birds cross the sky and a soft
# water sound loops.
fit Dune.jpg "$work/sea.jpg"
convert "$work/sea.jpg" -fx '(b - r > 0.33 && j > 235 && j < 480) ? 1 : 0' -morphology Open Disk:2 \
  -fill 'rgb(255,0,0)' -opaque white "$work/sea-mask.png"
convert -delay 18 +antialias -size 60x30 xc:'#00ffff' -fill '#202428' -draw 'polygon 0,8 30,20 60,8 30,26' \
  \( -size 60x30 xc:'#00ffff' +antialias -fill '#202428' -draw 'polygon 0,24 30,18 60,24 30,26' \) \
  -transparent '#00ffff' -loop 0 "$src/content/bird.gif"
printf '[Obj0]\r\nObjType=GIF\r\nFilename=bird.gif\r\nPosLeft=200\r\nPosTop=90\r\nMotion=5\r\nInitialDir=2\r\nMotionSpeed=3\r\nObjFacing=1\r\nTransparentType=1\r\n' > "$work/birds.ini"
printf '[Obj1]\r\nObjType=GIF\r\nFilename=bird.gif\r\nPosLeft=700\r\nPosTop=160\r\nMotion=5\r\nInitialDir=2\r\nMotionSpeed=2\r\nObjFacing=1\r\nTransparentType=1\r\n' >> "$work/birds.ini"
"$kxtool" kxp make --picture "$work/sea.jpg" --mask "$work/sea-mask.png" --title "Sea beyond the dunes" \
  --description "Waves on the sea, birds and the sound of water" --wave 1,3,20,14,1,0,1,1,360,0,0 \
  --anim-file "$work/birds.ini" --sound 1,water.wav,0,0,0 --out "$src/pictures/sea.kxp" >/dev/null
# The storm over the plain: rain.
fit Storm.jpg "$work/storm.jpg"
"$kxtool" kxp make --picture "$work/storm.jpg" --title "Storm" --description "Rain over the plain" \
  --weather 2,500,12,75,12,0 --out "$src/pictures/storm.kxp" >/dev/null
python3 "$(dirname "$0")/make-audio.py" "$src/content/music.wav" "$src/content/water.wav"
