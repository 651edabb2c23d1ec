# The soak shows' source folder (sourced by the soak scripts): still pictures, and living
# pictures with water (every motion mode, jitter, reflection), snow and rain, and IMG and GIF
# objects. make_soak_source FOLDER KXTOOL DURATION [MUSIC]
make_soak_source() {
  local src=$1 kxtool=$2 duration=$3 music=${4:-}
  local work; work=$(mktemp -d)
  mkdir -p "$src/pictures" "$src/content"
  convert -size 320x240 xc:navy -fill white -draw "circle 160,120 160,60" "$src/pictures/a.jpg"
  convert -size 300x200 gradient:orange-purple "$src/pictures/b.jpg"
  convert -size 200x120 xc:teal -fill yellow -draw "rectangle 20,20 180,100" "$src/pictures/c.gif"
  convert -size 320x240 gradient:'rgb(250,220,40)'-'rgb(20,40,230)' \
    \( -size 320x240 pattern:hs_horizontal -negate \) -compose multiply -composite \
    -quality 90 "$work/picture.jpg"
  # Region 1 (red) over the lower half, region 3 (blue) over a band, region 5 (green) a corner.
  convert -size 320x240 xc:black -fill 'rgb(255,0,0)' -draw "rectangle 0,150 319,239" \
    -fill 'rgb(0,0,255)' -draw "rectangle 0,90 159,140" -fill 'rgb(0,255,0)' \
    -draw "rectangle 200,0 319,60" "$work/mask.png"
  convert -size 24x24 xc:magenta -bordercolor black -border 2 "BMP3:$src/content/obj.bmp"
  convert -delay 20 -size 20x20 xc:'rgb(0,255,0)' xc:'rgb(0,255,255)' -loop 0 "$src/content/obj.gif"
  printf '[Obj0]\r\nObjType=IMG\r\nFilename=obj.bmp\r\nPosLeft=100\r\nPosTop=30\r\nMotion=3\r\n' > "$work/anim.ini"
  printf '[Obj1]\r\nObjType=GIF\r\nFilename=obj.gif\r\nPosLeft=40\r\nPosTop=30\r\nMotion=4\r\nTransparent=0\r\n' >> "$work/anim.ini"
  local k=0 weather
  for mode in 0 1 2 3 4 5; do
    weather="1,40,10,0,10,0"; [ $((mode % 2)) = 1 ] && weather="2,60,10,20,10,0"
    "$kxtool" kxp make --picture "$work/picture.jpg" --mask "$work/mask.png" \
      --wave "1,6,17,15,$mode,$((mode == 3)),1,1,360,$((mode < 2 ? 3 : 0)),0" \
      --wave "3,4,9,20,$(( (mode + 1) % 6 )),1,1,0,180,0,1" \
      --wave "5,3,5,10,$(( (mode + 2) % 6 )),0,1,1,360,2,0" \
      --weather "$weather" --anim-file "$work/anim.ini" \
      --out "$src/pictures/living$k.kxp" >/dev/null
    k=$((k + 1))
  done
  local effects; effects=$(seq -s, 1 169)
  local music_keys="Music=0"
  if [ -n "$music" ]; then
    cp "$music" "$src/content/"
    music_keys="Music=1"$'\r\n'"MusicFile=$(basename "$music")"
  fi
  printf '[General]\r\nProductName=Soak\r\n[Default]\r\nDuration=%s\r\nTransition=1\r\nTransitionTime=300\r\nTransitionEffects=%s\r\nShowImageMode=1\r\nRandom=1\r\nAnimation=1\r\nSound=0\r\nDirectX=0\r\n%s\r\n' \
    "$duration" "$effects" "$music_keys" > "$src/project.ini"
  rm -rf "$work"
}
