# The configuration window at another screen density under Wine (sourced by e2e.sh): at
# 144 dots per inch a skin of pictures (an image button's face, a see-through image, a
# button's glyph strip, a preview) and text looks like the same window at 96 dpi made 1.5
# times as large.
#
# The density is a setting of the Wine prefix, so each run uses a copy of the shared prefix
# that is removed afterwards: the other tests keep 96 dpi.

# dpi_description FILE FACE IMAGE GLYPH: a teal window with the pictures (the image as it
# is and stretched to 1.5 times its size, the glyph strip
# on an enabled button and on a disabled one, which shows the strip's second face), a
# shape, labels and a thumbnail grid; the label "Close" ends configuration mode.
dpi_description() {
  python3 - "$@" <<'PY'
import struct, sys
out, face, image, glyph = sys.argv[1], *(open(p, 'rb').read() for p in sys.argv[2:5])
def binary(prop, data, graphic=True):
    data = (bytes([7]) + b'TBitmap' + struct.pack('<I', len(data)) + data) if graphic else struct.pack('<I', len(data)) + data
    h = data.hex().upper()
    lines = ['    %s = {' % prop] + ['      ' + h[i:i + 64] for i in range(0, len(h), 64)]
    lines[-1] += '}'
    return lines
def box(l, t, w, h):
    return ['    Tag = 1', '    Left = %d' % l, '    Top = %d' % t, '    Width = %d' % w, '    Height = %d' % h]
form = ['object MainWindow: TfmKXCOnfigWindow', "  Caption = 'Density'", '  ClientWidth = 430',
        '  ClientHeight = 220', '  Color = clTeal', "  Font.Name = 'Arial'", '  Font.Height = -13',
        '  Font.Color = clWhite', '  PixelsPerInch = 96']
form += ['  object btnSkin: TMyButton'] + box(10, 10, 10, 10) + ['    AutoSize = True', '    ShowCaption = False'] + \
        binary('ButtonUp.Data', face) + ['  end']
form += ['  object imgKeyed: TImage'] + box(110, 10, 48, 36) + ['    Transparent = True'] + binary('Picture.Data', image) + ['  end']
form += ['  object imgStretched: TImage'] + box(230, 110, 72, 54) + ['    Transparent = True', '    Stretch = True'] + \
        binary('Picture.Data', image) + ['  end']
form += ['  object btnGlyph: TBitBtn'] + box(170, 10, 130, 34) + ["    Caption = 'Glyph'", '    NumGlyphs = 2'] + \
        binary('Glyph.Data', glyph, graphic=False) + ['  end']
form += ['  object btnOff: TBitBtn'] + box(10, 170, 130, 34) + ["    Caption = 'Off'", '    NumGlyphs = 2', '    Enabled = False'] + \
        binary('Glyph.Data', glyph, graphic=False) + ['  end']
form += ['  object Preview1: TKXPreview'] + box(10, 70, 120, 90) + ['  end']
form += ['  object Ring: TShape'] + box(150, 70, 60, 60) + ['    Shape = stCircle', '    Brush.Color = clYellow',
         '    Pen.Color = clMaroon', '    Pen.Width = 3', '  end']
form += ['  object lblTitle: TLabel'] + box(220, 80, 90, 20) + ["    Caption = 'Skin'", '    Transparent = True',
         '    Font.Height = -16', '    Font.Style = [fsBold]', '  end']
form += ['  object Thumbs: TKXThumbnail2'] + box(320, 10, 100, 110) + ['    ShowCheckBox = True', '    Color = clWhite',
         '    BorderStyle = bsNone', '  end']
form += ['  object lblClose: TLabel'] + box(220, 170, 90, 30) + ['    AutoSize = False', "    Caption = 'Close'",
         '    Color = clMaroon', '    Transparent = False', '    Alignment = taCenter', '    Layout = tlCenter', '  end']
form += ['end']
acts = ['1', 'lblClose', '6', ' ', ' ', ' ']
text = ['1', str(len(form))] + form + [str(len(acts))] + acts + ['0']
open(out, 'wb').write(('\r\n'.join(text) + '\r\n').encode('latin-1'))
PY
}

# dpi_prefix DPI: a copy of the shared prefix at that density; sets WINEPREFIX.
dpi_prefix() {
  timeout 60 "${WINE%64}server" -w 2>/dev/null || timeout 60 wineserver -w
  dpi_dir=$state/dpi$1
  rm -rf "$dpi_dir"; mkdir -p "$dpi_dir"
  cp -a "$shared_prefix" "$dpi_dir/prefix" || fail "prefix copy"
  export WINEPREFIX=$dpi_dir/prefix
  "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 || fail "LogPixels"
  timeout 60 "${WINE%64}server" -k 2>/dev/null || timeout 60 wineserver -k 2>/dev/null
}

dpi_stop() {
  timeout 20 "${WINE%64}server" -k 2>/dev/null || timeout 20 wineserver -k 2>/dev/null
  export WINEPREFIX=$shared_prefix
  rm -rf "$state"/dpi[0-9]*
}

# dpi_client PNG OUT: cuts the window's client area (the teal area) out of a screenshot.
dpi_client() {
  local box; box=$(convert "$1" -fill black +opaque '#008080' -format '%@' info:)
  convert "$1" -crop "$box" +repage "$2" || fail "crop $box"
  echo "$box"
}

# dpi_shot DPI SAVER: the configuration window at that density, as $state/dpi_DPI.png.
dpi_shot() {
  dpi_prefix "$1"
  local saver=$WINEPREFIX/drive_c/savers/$(basename "$2")
  mkdir -p "$(dirname "$saver")"; cp "$2" "$saver"
  "$WINE" "$saver" /c & local pid=$!
  wait_for 30 window_named Density || { shot dpi_fail; kill $pid; fail "no window at $1 dpi"; }
  sleep 2
  shot "dpi_screen_$1"
  local box; box=$(dpi_client "$state/dpi_screen_$1.png" "$state/dpi_$1.png")
  note "$1 dpi: client area $box"
  kill $pid 2>/dev/null; wait $pid 2>/dev/null
  timeout 20 "${WINE%64}server" -k 2>/dev/null || timeout 20 wineserver -k 2>/dev/null
}

# dpi_moved SAVER: the configuration window opened at 96 dpi and then told that it stands
# on a monitor of 144 dpi, as $state/dpi_moved.png.
dpi_moved() {
  local before; before=$(work_folders Density)
  "$WINE" "$1" /c & local pid=$!
  trap 'kill '"$pid"' 2>/dev/null' EXIT
  wait_for 30 window_named Density || { shot dpi_fail; fail "no window"; }
  sleep 1
  timeout 30 "$WINE" "$win64/dpi_change.exe" Density 144 96 || fail "the window was not told of the density"
  sleep 2
  shot dpi_screen_moved
  local box; box=$(dpi_client "$state/dpi_screen_moved.png" "$state/dpi_moved.png")
  note "moved: client area $box"
  # The Close label, at its place at 144 dpi, ends configuration mode.
  local x=${box#*+}; local y=${x#*+}; x=${x%+*}
  xdotool mousemove $((x + 397)) $((y + 277)) click 1
  wait_for 20 sh -c "! kill -0 $pid 2>/dev/null" || fail "Close at its scaled place did not end configuration mode"
  wait $pid
  trap - EXIT
  [ "$(work_folders Density)" = "$before" ] || fail "working folder left"
}

# dpi_rmse A B: the root mean square difference of two pictures of one size, 0..1.
dpi_rmse() { compare -metric RMSE "$1" "$2" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p'; }

# dpi_count PNG X Y W H COLOUR: how many pixels of the area have the colour.
dpi_count() {
  convert "$1" -crop "$4x$5+$2+$3" +repage -fill black +opaque "$6" -fill white -opaque "$6" \
    -format '%[fx:int(mean*w*h+0.5)]' info:
}

# dpi_part PNG X Y W H OUT: a part of a picture, softened a little, so that an edge half a
# pixel away (design places rounded at 144 dpi) counts for little and a wrong size for much.
dpi_part() { convert "$1" -crop "$4x$5+$2+$3" +repage -blur 0x1.5 "$6"; }

test_config_scaled_at_144_dpi() {
  new_source; add_picture a.jpg navy
  convert -size 80x40 gradient:orange-purple -fill white -draw "ellipse 40,20 30,12 0,360" -fill navy \
          -draw "rectangle 30,16 50,24" BMP3:"$state/face.bmp" || fail "convert"
  convert -size 48x36 xc:fuchsia -fill lime -draw "ellipse 24,18 20,14 0,360" -fill blue \
          -draw "rectangle 16,12 32,24" BMP3:"$state/keyed.bmp" || fail "convert"
  convert -size 32x16 xc:fuchsia -fill red -draw "rectangle 3,3 12,12" -fill gray -draw "rectangle 19,3 28,12" \
          BMP3:"$state/glyph.bmp" || fail "convert"
  dpi_description "$src/gui.kui" "$state/face.bmp" "$state/keyed.bmp" "$state/glyph.bmp"
  local saver; saver=$(make_saver Density)
  shared_prefix=$WINEPREFIX
  trap dpi_stop EXIT
  dpi_shot 96 "$saver"
  dpi_shot 144 "$saver"
  dpi_stop
  trap - EXIT
  dpi_moved "$saver"
  local a="$state/dpi_96.png" b="$state/dpi_144.png"
  local sa sb
  sa=$(identify -format '%wx%h' "$a"); sb=$(identify -format '%wx%h' "$b")
  [ "$sa" = 430x220 ] || fail "the client area at 96 dpi is $sa, not 430x220"
  [ "$sb" = 645x330 ] || fail "the client area at 144 dpi is $sb, not 645x330"
  convert "$a" -filter Triangle -resize 645x330\! "$state/dpi_96_scaled.png"
  local whole; whole=$(dpi_rmse "$state/dpi_96_scaled.png" "$b")
  note "144 dpi against 96 dpi x 1.5: whole window RMSE $whole"
  # The pictures one by one, at their places at 144 dpi (design place x 1.5): the image
  # button's face, the see-through image, the preview, the grid's thumbnail (the grid's
  # frame and scroll bar are the system's thin lines), the stretched see-through image.
  local parts=("15 15 120 60 face" "165 15 72 54 image" "15 105 180 135 preview" "505 40 90 60 thumbnail"
               "345 165 108 81 stretched-image")
  # Each is compared at its place and up to 2 pixels beside it (a design place rounded at
  # 144 dpi, beside the system's unscaled one-pixel borders, can land a pixel or two from
  # the place x 1.5): the best match counts.
  local p
  for p in "${parts[@]}"; do
    set -- $p
    dpi_part "$state/dpi_96_scaled.png" $1 $2 $3 $4 "$state/dpi_part_a.png"
    local e=1 at="" dx dy
    for dx in -2 -1 0 1 2; do
      for dy in -2 -1 0 1 2; do
        dpi_part "$b" $(($1 + dx)) $(($2 + dy)) $3 $4 "$state/dpi_part_b.png"
        local d; d=$(dpi_rmse "$state/dpi_part_a.png" "$state/dpi_part_b.png")
        awk -v d="$d" -v e="$e" 'BEGIN { exit !(d < e) }' && { e=$d; at="$dx,$dy"; }
      done
    done
    note "$5: RMSE $e at offset $at"
    awk -v e="$e" 'BEGIN { exit !(e < 0.06) }' || fail "the $5 at 144 dpi differs from 96 dpi x 1.5 (RMSE $e)"
  done
  # The glyph stands beside its caption, whose width the font decides: it is counted, not
  # compared in place. Its 10 x 10 red square becomes 15 x 15, or 16 x 16 where the edge
  # pixels it half covers count (less its corners).
  local red96 red144
  red96=$(dpi_count "$a" 170 10 130 34 red); red144=$(dpi_count "$b" 255 15 195 51 red)
  note "glyph: $red96 red pixels at 96 dpi, $red144 at 144 dpi"
  [ "$red96" = 100 ] || fail "the glyph at 96 dpi has $red96 red pixels, not 100"
  [ "$red144" -ge 215 ] && [ "$red144" -le 256 ] || fail "the glyph at 144 dpi has $red144 red pixels, not 225 to 256"
  # The disabled button shows the strip's second face, the grey square.
  local grey96 grey144
  grey96=$(dpi_count "$a" 10 170 130 34 '#7E7E7E'); grey144=$(dpi_count "$b" 15 255 195 51 '#7E7E7E')
  note "disabled glyph: $grey96 grey pixels at 96 dpi, $grey144 at 144 dpi"
  [ "$grey96" = 100 ] || fail "the disabled glyph at 96 dpi has $grey96 grey pixels, not 100"
  [ "$grey144" -ge 215 ] && [ "$grey144" -le 256 ] || fail "the disabled glyph at 144 dpi has $grey144 grey pixels, not 225 to 256"
  awk -v e="$whole" 'BEGIN { exit !(e < 0.08) }' || fail "the window at 144 dpi differs from 96 dpi x 1.5 (RMSE $whole)"
  # The see-through colour stays see-through when scaled: no fuchsia anywhere.
  local pink; pink=$(convert "$b" -fill black +opaque fuchsia -fill white -opaque fuchsia -format '%[fx:int(mean*w*h+0.5)]' info:)
  [ "$pink" = 0 ] || fail "$pink pixels of the see-through colour are drawn at 144 dpi"
  # Told at 96 dpi that it now stands on a 144 dpi monitor, the window looks as it does
  # when it opens at 144 dpi. Only the grid's scroll bar is left out: its width is the
  # system's, which stays at 96 dpi when the message is only sent.
  local sm; sm=$(identify -format '%wx%h' "$state/dpi_moved.png")
  [ "$sm" = 645x330 ] || fail "the client area after the move is $sm, not 645x330"
  convert "$state/dpi_moved.png" -fill black -draw "rectangle 590,15 630,180" "$state/dpi_moved_a.png"
  convert "$b" -fill black -draw "rectangle 590,15 630,180" "$state/dpi_moved_b.png"
  local moved; moved=$(dpi_rmse "$state/dpi_moved_a.png" "$state/dpi_moved_b.png")
  note "moved to 144 dpi against opened at 144 dpi: RMSE $moved"
  awk -v e="$moved" 'BEGIN { exit !(e < 0.02) }' || fail "the window moved to 144 dpi differs from one opened there (RMSE $moved)"
  [ -n "${KX_KEEP_SHOTS:-}" ] && cp "$a" "$b" "$state/dpi_moved.png" "$KX_KEEP_SHOTS"/
  true
}

# At 144 dpi the show still covers the whole screen and draws in its pixels: a picture of
# the screen's size keeps its one-pixel stripes (a show drawn at 96 dpi and enlarged by the
# system would blur them) and reaches every corner.
test_show_at_144_dpi() {
  new_source
  convert -size 200x100 xc:black -fx 'i%2' "$state/stripes.png" || fail "convert"
  convert -size 1024x768 xc:'rgb(200,30,30)' "$state/stripes.png" -geometry +412+334 -composite \
          BMP3:"$src/pictures/1.bmp" || fail "convert"
  printf '[General]\r\nProductName=Dense\r\n[Default]\r\nDuration=30\r\nShowImageMode=1\r\nMusic=0\r\nDirectX=0\r\n' \
    > "$src/project.ini"
  local saver; saver=$(make_saver Dense)
  shared_prefix=$WINEPREFIX
  trap dpi_stop EXIT
  dpi_prefix 144
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  local copy=$WINEPREFIX/drive_c/savers/Dense.scr
  mkdir -p "$(dirname "$copy")"; cp "$saver" "$copy"
  "$WINE" "$copy" /s & local pid=$!
  local png=$state/dpi_show.png ok=""
  for _ in $(seq 40); do
    sleep 0.5
    shot dpi_show
    near "$(pixel_at "$png" 1020 765)" 200 30 30 && near "$(pixel_at "$png" 3 3)" 200 30 30 && { ok=1; break; }
  done
  [ -n "$ok" ] || fail "the picture does not reach the corners at 144 dpi: $(pixel_at "$png" 3 3) / $(pixel_at "$png" 1020 765)"
  local x row=""
  for x in $(seq 500 511); do row="$row $(pixel_at "$png" $x 384 | cut -d' ' -f1)"; done
  note "one row of the stripes at 144 dpi:$row"
  for x in $(seq 500 511); do
    local v; v=$(pixel_at "$png" $x 384 | cut -d' ' -f1)
    if [ $(( (x - 412) % 2 )) = 1 ]; then [ "$v" -ge 215 ] || fail "column $x is $v, not white:$row"
    else [ "$v" -le 40 ] || fail "column $x is $v, not black:$row"; fi
  done
  kill $pid 2>/dev/null; wait $pid 2>/dev/null
  dpi_stop
  trap - EXIT
}
