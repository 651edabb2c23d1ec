# Living pictures under Wine (sourced by e2e.sh): a water region, snow, one IMG and one
# GIF object on a picture file; the show must animate the region and keep the rest still.

# differing_percent A B GEOMETRY: percent of pixels of the crop that differ by more than 12 %.
differing_percent() {
  convert "$1" -crop "$3" +repage "$state/crop-a.png" && convert "$2" -crop "$3" +repage "$state/crop-b.png" ||
    fail "crop $3"
  local n
  n=$(compare -metric AE -fuzz 12% "$state/crop-a.png" "$state/crop-b.png" null: 2>&1 | awk '{printf "%d", $1}')
  local w=${3%%x*} rest=${3#*x}; local h=${rest%%+*}
  echo $(( n * 100 / (w * h) ))
}

test_anim_living_picture() {
  new_source
  local work; work=$(mktemp -d "$state/anim.XXXXXX")
  # A picture whose every row differs (a vertical gradient with fine stripes), and a mask
  # with region 1 (red in the mask) over the lower half.
  convert -size 640x480 gradient:'rgb(250,220,40)'-'rgb(20,40,230)' \
    \( -size 640x480 pattern:hs_horizontal -negate \) -compose multiply -composite \
    -quality 95 "$work/picture.jpg" || fail "convert picture"
  convert -size 640x480 xc:black -fill 'rgb(255,0,0)' -draw "rectangle 0,240 639,479" \
    "$work/mask.png" || fail "convert mask"
  # The IMG object: magenta with a black frame (the bottom-left colour is the key);
  # the GIF object: two frames, green then cyan.
  convert -size 40x40 xc:magenta -bordercolor black -border 2 "BMP3:$src/content/obj.bmp" || fail "bmp"
  convert -delay 20 -size 30x30 xc:'rgb(0,255,0)' xc:'rgb(0,255,255)' -loop 0 "$src/content/obj.gif" || fail "gif"
  printf '[Obj0]\r\nObjType=IMG\r\nFilename=obj.bmp\r\nPosLeft=320\r\nPosTop=60\r\nMotion=0\r\n' > "$work/anim.ini"
  printf '[Obj1]\r\nObjType=GIF\r\nFilename=obj.gif\r\nPosLeft=160\r\nPosTop=60\r\nMotion=0\r\nTransparent=0\r\n' >> "$work/anim.ini"
  "$kxtool" kxp make --picture "$work/picture.jpg" --mask "$work/mask.png" \
    --wave 1,8,17,15,1,0,1,1,360,0,0 --weather 1,60,10,0,10,9 --anim-file "$work/anim.ini" \
    --out "$src/pictures/living.kxp" >/dev/null || fail "kxp make"
  printf '[General]\r\nProductName=Living\r\n[Default]\r\nDuration=60\r\nTransitionTime=500\r\nShowImageMode=1\r\nMusic=0\r\nDirectX=0\r\n' > "$src/project.ini"
  local saver; saver=$(make_saver Living)
  "$WINE" "$saver" /s & local pid=$!
  # The IMG object shows at its place (picture 320,60 is screen 512,96 at 1.6 times).
  # Each object runs on its own thread: wait until both have drawn.
  local c="" g=""
  for _ in $(seq 40); do
    sleep 0.5
    shot living1
    c=$(pixel_at "$state/living1.png" 512 96)
    g=$(pixel_at "$state/living1.png" 256 96)
    near "$c" 255 0 255 && { near "$g" 0 255 0 || near "$g" 0 255 255; } && break
  done
  near "$c" 255 0 255 || { kill $pid; fail "IMG object not on screen (512,96: $c)"; }
  { near "$g" 0 255 0 || near "$g" 0 255 255; } || { kill $pid; fail "GIF object not on screen (256,96: $g)"; }
  sleep 1
  shot living2
  # Inside the region (the lower half, 1024x384 at 0,384) much has changed; outside, only
  # flakes (60 of them) move: compare the upper band without the objects' row.
  local inside outside
  inside=$(differing_percent "$state/living1.png" "$state/living2.png" 1024x360+0+400)
  outside=$(differing_percent "$state/living1.png" "$state/living2.png" 1024x200+0+150)
  note "changed pixels: inside the region $inside %, outside $outside %"
  [ "$inside" -ge 10 ] || { kill $pid; fail "the water region does not move ($inside %)"; }
  [ "$outside" -le 2 ] || { kill $pid; fail "pixels outside the region changed ($outside %)"; }
  # The GIF object plays (200 ms a frame): both frames are seen within a few seconds.
  local seen_green=0 seen_cyan=0
  for i in $(seq 30); do
    shot gif
    g=$(pixel_at "$state/gif.png" 256 96)
    near "$g" 0 255 0 && seen_green=1
    near "$g" 0 255 255 && seen_cyan=1
    [ $seen_green = 1 ] && [ $seen_cyan = 1 ] && break
    sleep 0.07
  done
  [ $seen_green = 1 ] && [ $seen_cyan = 1 ] || { kill $pid; fail "the GIF object does not animate (last $g)"; }
  for i in $(seq 40); do
    xdotool mousemove $((300 + (i % 2) * 40)) $((300 + (i % 2) * 30))
    sleep 0.1
    kill -0 $pid 2>/dev/null || break
  done
  kill -0 $pid 2>/dev/null && { kill $pid; fail "the show did not end"; }
  wait $pid || fail "/s ended with $?"
}
