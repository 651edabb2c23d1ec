# kxtool.exe, the authors' tool for Windows, under Wine (sourced by e2e.sh): a source folder
# and a saver named with Windows paths holding spaces and letters outside ASCII.

# Its output holds names in the Windows code page: match it byte by byte.
has() { printf '%s\n' "$1" | LC_ALL=C grep -q "$2"; }
kxtool_exe() { LC_ALL=C.UTF-8 timeout 120 "$WINE" "$win64/kxtool.exe" "$@" 2>&1 | tr -d '\r'; return "${PIPESTATUS[0]}"; }

test_kxtool_exe_pack_inspect_show() {
  [ -f "$win64/kxtool.exe" ] || fail "kxtool.exe is not built"
  local dir="$(c_drive)/Authors/Schöne Bilder"
  rm -rf "$dir"; mkdir -p "$dir/pictures" "$dir/content" "$(c_drive)/savers"
  convert -size 320x240 xc:'rgb(30,160,60)' "$dir/pictures/Grüner See.png" || fail "convert"
  convert -size 320x240 xc:'rgb(200,40,40)' "$dir/pictures/rot.jpg" || fail "convert"
  printf '[General]\r\nProductName=Schöne Bilder\r\n[Default]\r\nDuration=30\r\nShowImageMode=1\r\nMusic=0\r\n' > "$dir/project.ini"
  local out
  out=$(kxtool_exe pack --source 'C:\Authors\Schöne Bilder\' --out 'C:\savers\Schöne Aussicht.scr') ||
    fail "kxtool.exe pack: $out"
  echo "$out"
  has "$out" ', converted to Gr.*ner See.jpg (JPEG)' || fail "no conversion line"
  has "$out" ': 2 pictures, 2 files' || fail "no result line"
  local saver="$(c_drive)/savers/Schöne Aussicht.scr"
  [ -f "$saver" ] || fail "no saver at C:\\savers"

  out=$(kxtool_exe inspect 'C:\savers\Schöne Aussicht.scr') || fail "kxtool.exe inspect: $out"
  has "$out" '^  0 Gr.*ner See.jpg TRUE' || fail "inspect does not list the picture: $out"
  has "$out" '^  1 rot.jpg TRUE' || fail "inspect does not list rot.jpg: $out"

  # The saver shows its first picture, the converted PNG.
  LC_ALL=C.UTF-8 "$WINE" "$saver" /s & local pid=$!
  sleep 6
  shot kxtool_exe_show
  kill $pid 2>/dev/null; wait $pid 2>/dev/null
  local rgb; rgb=$(convert "$state/kxtool_exe_show.png" -format '%[fx:int(255*p{512,384}.r)] %[fx:int(255*p{512,384}.g)] %[fx:int(255*p{512,384}.b)]' info:)
  note "screen centre $rgb"
  set -- $rgb
  [ $(( ${1:-0} < 50 && ${2:-0} > 130 && ${3:-0} < 90 )) = 1 ] || fail "the show does not show the green picture ($rgb)"
}

test_kxtool_exe_kxp_and_effect() {
  [ -f "$win64/kxtool.exe" ] || fail "kxtool.exe is not built"
  local dir="$(c_drive)/Authors/Bild Ü"
  rm -rf "$dir"; mkdir -p "$dir"
  convert -size 200x150 xc:'rgb(20,60,200)' "$dir/see.jpg" || fail "convert"
  local out
  out=$(kxtool_exe kxp make --picture 'C:\Authors\Bild Ü\see.jpg' --title Abendsee --weather 1,300,4,0,0,0 \
        --out 'C:\Authors\Bild Ü\Abend See.kxp') || fail "kxp make: $out"
  out=$(kxtool_exe kxp dump 'C:\Authors\Bild Ü\Abend See.kxp') || fail "kxp dump: $out"
  has "$out" '"title": "Abendsee"' || fail "kxp dump lost the title: $out"
  has "$out" '"picture": {"width": 200, "height": 150}' || fail "kxp dump lost the picture: $out"
  has "$out" '"weather": {"kind": 1, "count": 300' || fail "kxp dump lost the weather: $out"
  out=$(kxtool_exe effect 118 --size 160x120 --out 'C:\Authors\Bild Ü\Effekt 118.png') || fail "effect: $out"
  identify "$dir/Effekt 118.png" >/dev/null 2>&1 || fail "effect 118 wrote no PNG sheet: $out"
  note "sheet $(identify -format '%wx%h' "$dir/Effekt 118.png")"
}
