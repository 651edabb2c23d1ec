# Wine tests of the configuration window: a described window opened by /c, its clicks, the
# second window, and what closing stores in the user settings file.

# config_description FILE BITMAP: writes a GUI description with two windows. MainWindow:
# a navy window holding a stretched picture (BITMAP), a yellow bold title, a green "Next"
# label, a lime "Show window" label, a red "Close window" label, a label hidden by its Tag,
# a yellow circle and a thumbnail grid. SecondWindow: a teal window with a "Back" label.
config_description() {
  python3 - "$1" "$2" <<'PY'
import struct, sys
out, bmp = sys.argv[1], open(sys.argv[2], 'rb').read()
data = bytes([7]) + b'TBitmap' + struct.pack('<I', len(bmp)) + bmp
hexs = data.hex().upper()
pic = ['      Picture.Data = {'] + ['        ' + hexs[i:i + 64] for i in range(0, len(hexs), 64)]
pic[-1] += '}'
def label(name, left, top, caption, color, tag=1, extra=(), w=150, h=30, font=-16):
    return ['  object %s: TLabel' % name, '    Tag = %d' % tag, '    Left = %d' % left,
            '    Top = %d' % top, '    Width = %d' % w, '    Height = %d' % h, '    AutoSize = False',
            '    Alignment = taCenter', '    Layout = tlCenter', "    Caption = '%s'" % caption,
            '    Color = %s' % color, '    Cursor = crHandPoint', '    Font.Height = %d' % font,
            "    Font.Name = 'Arial'", *extra, '  end']
main = ['object MainWindow: TfmForm', '  Left = 0', '  Top = 0', "  Caption = 'Configure <ScreensaverName>'",
        '  ClientWidth = 400', '  ClientHeight = 300', '  Color = clNavy', '  ShowButtons = True',
        '  Font.Color = clWhite', '  Font.Height = -11', "  Font.Name = 'Arial'", '  PixelsPerInch = 96',
        '  object Image1: TImage', '    Tag = 1', '    Left = 10', '    Top = 10', '    Width = 64',
        '    Height = 48', '    Stretch = True'] + [p[2:] for p in pic] + ['  end',
        '  object lblTitle: TLabel', '    Tag = 1', '    Left = 90', '    Top = 14', "    Caption = '<ScreensaverName>'",
        '    Transparent = True', '    Font.Color = clYellow', '    Font.Height = -24', "    Font.Name = 'Arial'",
        '    Font.Style = [fsBold]', '  end']
main += label('lblNext', 20, 80, 'Next', 'clGreen', extra=['    Font.Color = clWhite'])
main += label('lblShow', 20, 130, 'Show window', 'clLime', extra=['    Font.Color = clBlack'])
main += label('lblClose', 220, 130, 'Close window', 'clRed')
main += label('lblHidden', 20, 200, 'Hidden', 'clFuchsia', tag=2)
main += ['  object Circle: TShape', '    Tag = 1', '    Left = 300', '    Top = 200', '    Width = 80',
         '    Height = 80', '    Shape = stCircle', '    Brush.Color = clYellow', '  end',
         '  object Thumbs: TKXThumbnail2', '    Tag = 1', '    Left = 200', '    Top = 190', '    Width = 90',
         '    Height = 90', '    ShowCheckBox = True', '  end', 'end']
# Designed at 192 dots per inch: on a 96 dpi screen everything is half as large.
second = ['object SecondWindow: TForm', "  Caption = 'Second window'", '  ClientWidth = 400',
          '  ClientHeight = 240', '  Color = clTeal', '  PixelsPerInch = 192']
second += label('lblBack', 50, 90, 'Back', 'clWhite', extra=['    Font.Color = clBlack'], w=300, h=60,
                font=-32) + ['end']
def actions(items):
    lines = [str(len(items))]
    for name, code, param in items:
        lines += [name, str(code), param, ' ', ' ']
    return lines
forms = [(main, actions([('lblNext', 2, ' '), ('lblShow', 1, 'SecondWindow'), ('lblClose', 6, ' '),
                         ('lblHidden', 6, ' ')])),
         (second, actions([('lblBack', 6, ' ')]))]
text = [str(len(forms))]
for form, acts in forms:
    text += [str(len(form))] + form + [str(len(acts))] + acts + ['0']
open(out, 'wb').write(('\r\n'.join(text) + '\r\n').encode('latin-1'))
PY
}

# config_pixel PNG X Y: the colour at a point as "R,G,B" (0..255).
config_pixel() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info: 2>/dev/null | tr -s ' ' ','
}

# config_client_origin WINDOW CLIENT_W CLIENT_H: sets CX CY, the screen position of the client area
# (the frame is drawn inside the X window, with equal borders left, right and bottom).
config_client_origin() {
  local X Y WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$1" 2>/dev/null | sed -n 's/^\(X\|Y\|WIDTH\|HEIGHT\)=/\1=/p')"
  local border=$(( (WIDTH - $2) / 2 ))
  CX=$(( X + border ))
  CY=$(( Y + HEIGHT - $3 - border ))
}

config_click() { xdotool mousemove "$1" "$2" click 1; sleep 0.3; }

test_config_window_actions_and_settings() {
  new_source; add_picture a.jpg navy; add_picture b.jpg maroon; add_picture c.jpg olive
  sed -i "s/^ProductName=.*/ProductName=Bob's Garden\r/" "$src/project.ini"
  # The picture: red on the left, blue on the right.
  convert -size 32x24 xc:red -fill blue -draw "rectangle 16,0 31,23" BMP3:"$state/pic.bmp" || fail "convert"
  config_description "$src/gui.kui" "$state/pic.bmp"
  local saver; saver=$(make_saver Config)
  local ini; ini="$(c_drive)/savers/Config.ini"
  # Picture 1 is selected; picture 1 and a position beyond the list are unchecked.
  printf '[Setting]\r\nIndex=1\r\n[Files]\r\n1=\r\n9=\r\n' > "$ini"

  "$WINE" "$saver" /c & local pid=$!
  trap 'kill '"$pid"' 2>/dev/null; wineserver -k 2>/dev/null || "${WINE%64}server" -k 2>/dev/null' EXIT
  wait_for 30 window_named "Configure Bob's Garden" || { shot config_fail; fail "no configuration window: $(xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | tr '\n' '|')"; }
  local w; w=$(window_named "Configure Bob's Garden")
  [ -n "$(work_folders Config)" ] || fail "no working folder while the window is open"
  sleep 1
  config_client_origin "$w" 400 300
  shot config_main
  local png="$state/config_main.png"
  # Colours at places the description gives: the window, the stretched picture, the labels,
  # the circle; the label whose Tag hides it is not drawn.
  local checks=("5 295 0,0,128 window" "20 34 255,0,0 picture-left" "60 34 0,0,255 picture-right"
                "73 57 0,0,255 picture-corner" "75 59 0,0,128 beside-picture" "22 82 0,128,0 Next"
                "22 132 0,255,0 Show" "222 132 255,0,0 Close" "340 240 255,255,0 circle"
                "25 205 0,0,128 hidden-label" "210 200 255,255,255 thumbnail-grid")
  local c
  for c in "${checks[@]}"; do
    set -- $c
    local got; got=$(config_pixel "$png" $((CX + $1)) $((CY + $2)))
    [ "$got" = "$3" ] || fail "$4 at ($1,$2) is $got, not $3"
  done
  # The title: yellow text somewhere on its line.
  convert "$png" -crop 100x24+$((CX + 90))+$((CY + 14)) -fill black +opaque yellow -format '%[fx:mean>0]' info: | grep -q 1 \
    || fail "no yellow title text"

  config_click $((CX + 95)) $((CY + 95))    # Next: picture 2
  config_click $((CX + 95)) $((CY + 145))   # Show window
  wait_for 15 window_named "Second window" || { shot config_fail; fail "the second window did not open"; }
  local w2; w2=$(window_named "Second window")
  sleep 0.5
  shot config_second
  local CX1=$CX CY1=$CY
  local size; size=$(xdotool getwindowgeometry "$w2" | sed -n 's/.*Geometry: //p')
  [ "$size" = 200x120 ] || fail "the second window is $size, not scaled to 200x120"
  config_client_origin "$w2" 200 120
  [ "$(config_pixel "$state/config_second.png" $((CX + 5)) $((CY + 5)))" = "0,128,128" ] || fail "the second window is not teal"
  [ "$(config_pixel "$state/config_second.png" $((CX + 27)) $((CY + 47)))" = "255,255,255" ] || fail "the Back label is not at (25,45)"
  [ "$(config_pixel "$state/config_second.png" $((CX + 23)) $((CY + 47)))" = "0,128,128" ] || fail "the Back label reaches left of (25,45)"
  config_click $((CX + 100)) $((CY + 60))   # Back
  wait_for 10 sh -c "! xdotool search --onlyvisible --name '^Second window\$' | grep -q ." || fail "the second window stayed open"
  kill -0 $pid 2>/dev/null || fail "closing the second window ended configuration mode"
  # Where the second window stood, the main window is drawn again as it was.
  sleep 0.5
  shot config_main_again
  local diff; diff=$(compare -metric AE "$png" "$state/config_main_again.png" null: 2>&1)
  [ "$diff" = 0 ] || fail "the main window looks different after the second window closed ($diff pixels)"
  # A click on the hidden label's place does nothing.
  config_click $((CX1 + 95)) $((CY1 + 215))
  kill -0 $pid 2>/dev/null || fail "the hidden label took a click"
  config_click $((CX1 + 295)) $((CY1 + 145))  # Close window
  wait_for 20 sh -c "! kill -0 $pid 2>/dev/null" || fail "Close window did not end configuration mode"
  wait $pid; local rc=$?
  trap - EXIT
  [ $rc = 0 ] || fail "/c ended with $rc"
  [ -z "$(work_folders Config)" ] || fail "working folder left after /c"
  local text; text=$(tr -d '\r' < "$ini")
  note "settings file: $(echo "$text" | tr '\n' ' ')"
  echo "$text" | grep -qx 'Index=2' || fail "Index is not 2"
  [ "$(echo "$text" | sed -n '/^\[Files\]/,/^\[/p' | grep -c '=')" = 1 ] || fail "[Files] does not hold one key"
  echo "$text" | sed -n '/^\[Files\]/,/^\[/p' | grep -qx '1=' || fail "[Files] lost picture 1"
}

test_config_without_description() {
  # A saver packed without a GUI description ends configuration mode at once.
  new_source; add_picture a.jpg navy
  local saver; saver=$(make_saver NoGui)
  timeout 60 "$WINE" "$saver" /c; local rc=$?
  [ $rc = 0 ] || fail "/c ended with $rc"
  [ -z "$(work_folders NoGui)" ] || fail "working folder left"
}

# config_gallery_description FILE GLYPH PICTURE: one window holding every class of control.
config_gallery_description() {
  python3 - "$@" <<'PY'
import struct, sys
out, glyph, picture = sys.argv[1], open(sys.argv[2], 'rb').read(), open(sys.argv[3], 'rb').read()
def binary(prop, data, indent):
    h = data.hex().upper()
    lines = [indent + prop + ' = {'] + [indent + '  ' + h[i:i + 64] for i in range(0, len(h), 64)]
    lines[-1] += '}'
    return lines
def obj(name, cls, props, children=(), indent='  '):
    lines = [indent + 'object %s: %s' % (name, cls)]
    for p in props:
        lines += p if isinstance(p, list) else [indent + '  ' + p]
    for c in children:
        lines += c
    return lines + [indent + 'end']
def box(l, t, w, h):
    return ['Tag = 1', 'Left = %d' % l, 'Top = %d' % t, 'Width = %d' % w, 'Height = %d' % h]
form = ['object MainWindow: TfmKXCOnfigWindow', "  Caption = 'Gallery'", '  ClientWidth = 480',
        '  ClientHeight = 360', '  Color = clTeal', "  Font.Name = 'Arial'", '  Font.Height = -11',
        '  PixelsPerInch = 96']
form += obj('Panel1', 'TPanel', box(10, 10, 200, 80) + ["Caption = 'Panel'", 'Color = clMaroon',
            'BevelInner = bvLowered', 'BevelWidth = 2', 'Font.Color = clWhite', 'ParentFont = False'],
            [obj('lblInPanel', 'TLabel', box(10, 10, 60, 20) + ["Caption = 'in panel'", 'Color = clAqua',
                 'Transparent = False', 'AutoSize = False'], indent='    '),
             obj('PanelTop', 'TPanel', box(0, 0, 10, 12) + ['Align = alTop', 'Color = clNavy', 'BevelOuter = bvNone'],
                 indent='    ')])
sheet1 = obj('Sheet1', 'TTabSheet', ["Caption = 'First'"],
             [obj('OliveShape', 'TShape', box(10, 10, 50, 50) + ['Brush.Color = clOlive'], indent='      ')], '    ')
sheet2 = obj('Sheet2', 'TTabSheet', ["Caption = 'Second'"],
             [obj('PurpleShape', 'TShape', box(10, 10, 50, 50) + ['Brush.Color = clPurple'], indent='      ')], '    ')
form += obj('Pages', 'TPageControl', box(220, 10, 250, 150) + ['ActivePage = Sheet2'], [sheet1, sheet2])
form += obj('BitBtn1', 'TBitBtn', box(10, 100, 100, 30) + ["Caption = 'OK'"] + binary('Glyph.Data', struct.pack('<I', len(glyph)) + glyph, '    '))
form += obj('Button1', 'TButton', box(120, 100, 90, 30) + ["Caption = 'Button'"])
form += obj('CheckBox1', 'TCheckBox', box(10, 140, 120, 20) + ["Caption = 'Check me'", 'Checked = True'])
form += obj('Edit1', 'TEdit', box(10, 170, 150, 22) + ["Text = 'Edit text'", 'Color = clYellow'])
form += obj('Memo1', 'TMyMemo', box(10, 200, 200, 60) + ['Color = clAqua', 'Lines.Strings = (', "  'line one'", "  'line two')"])
form += obj('Bevel1', 'TMyBevel', box(220, 170, 120, 50) + ['Shape = bsFrame'])
form += obj('Shape2', 'TMyShape', box(350, 170, 60, 40) + ['Shape = stRoundRect', 'Brush.Color = clBlue', 'Pen.Color = clRed', 'Pen.Width = 3'])
form += obj('Image2', 'TImage', box(420, 170, 32, 24) + ['Transparent = True'] +
            binary('Picture.Data', bytes([7]) + b'TBitmap' + struct.pack('<I', len(picture)) + picture, '    '))
form += obj('Timer1', 'TTimer', ['Interval = 100'])
form += obj('Preview1', 'TKXPreview', box(220, 230, 100, 60))
form += obj('ImgButton', 'TMyButton', box(330, 230, 80, 30) + ["Caption = 'Skin'"])
form += obj('lblClose', 'TLabel', box(10, 300, 100, 30) + ["Caption = 'Close'", 'Color = clRed', 'AutoSize = False',
            "Hint = 'Ends configuration'", 'ShowHint = True'])
form += obj('PanelBottom', 'TPanel', box(0, 0, 100, 20) + ['Align = alBottom', 'Color = clGreen', 'BevelOuter = bvNone'])
form += ['end']
acts = ['1', 'lblClose', '6', ' ', ' ', ' ']
text = ['1', str(len(form))] + form + [str(len(acts))] + acts + ['0']
open(out, 'wb').write(('\r\n'.join(text) + '\r\n').encode('latin-1'))
PY
}

# config_count PNG X Y W H COLOUR: how many pixels of the area have the colour.
config_count() {
  convert "$1" -crop "$4x$5+$2+$3" +repage -fill black +opaque "$6" -fill white -opaque "$6" \
    -format '%[fx:int(mean*w*h+0.5)]' info: 2>/dev/null
}

test_config_every_class() {
  # The preview without a picture and the image button without faces (a push-button face).
  new_source; add_picture a.jpg navy
  convert -size 16x16 xc:fuchsia -fill lime -draw "rectangle 3,3 12,12" BMP3:"$state/glyph.bmp" || fail "convert"
  convert -size 32x24 xc:fuchsia -fill lime -draw "rectangle 8,6 23,17" BMP3:"$state/keyed.bmp" || fail "convert"
  config_gallery_description "$src/gui.kui" "$state/glyph.bmp" "$state/keyed.bmp"
  local saver; saver=$(make_saver Gallery)
  "$WINE" "$saver" /c & local pid=$!
  trap 'kill '"$pid"' 2>/dev/null; wineserver -k 2>/dev/null || "${WINE%64}server" -k 2>/dev/null' EXIT
  wait_for 30 window_named Gallery || { shot config_fail; fail "no window"; }
  sleep 1
  config_client_origin "$(window_named Gallery)" 480 360
  shot config_gallery
  local png="$state/config_gallery.png"
  local checks=("100 75 128,0,0 panel" "75 37 0,255,255 label-in-panel" "150 20 0,0,128 top-of-panel"
                "14 20 0,0,128 top-panel-inset" "150 28 128,0,0 below-top-panel" "250 60 128,0,128 active-page"
                "150 181 255,255,0 edit" "200 250 0,255,255 memo" "5 355 0,128,0 bottom-panel"
                "475 355 0,128,0 bottom-panel-right" "380 190 0,0,255 round-rect" "421 171 0,128,128 keyed-corner"
                "436 182 0,255,0 keyed-middle" "5 5 0,128,128 window")
  local c
  for c in "${checks[@]}"; do
    set -- $c
    local got; got=$(config_pixel "$png" $((CX + $1)) $((CY + $2)))
    [ "$got" = "$3" ] || fail "$4 at ($1,$2) is $got, not $3"
  done
  [ "$(config_count "$png" $CX $CY 480 360 olive)" = 0 ] || fail "the hidden page's shape is drawn"
  [ "$(config_count "$png" $((CX + 10)) $((CY + 100)) 100 30 fuchsia)" = 0 ] || fail "the glyph's see-through colour is drawn"
  [ "$(config_count "$png" $((CX + 10)) $((CY + 100)) 100 30 lime)" = 100 ] || fail "the glyph is not drawn whole"
  # The close label's hint shows as a tooltip (white under Wine) when the
  # mouse rests on it.
  xdotool mousemove $((CX + 50)) $((CY + 310)); sleep 0.3; xdotool mousemove $((CX + 52)) $((CY + 312))
  sleep 2
  shot config_hint
  [ "$(config_count "$state/config_hint.png" $CX $((CY + 300)) 480 60 white)" -gt 100 ] || fail "no tooltip for the hint"
  config_click $((CX + 50)) $((CY + 315))
  wait_for 20 sh -c "! kill -0 $pid 2>/dev/null" || fail "Close did not end configuration mode"
  wait $pid; local rc=$?
  trap - EXIT
  [ $rc = 0 ] || fail "/c ended with $rc"
}

test_config_broken_description() {
  # A description the saver cannot read is reported; configuration mode then ends.
  new_source; add_picture a.jpg navy
  printf '1\r\n5\r\nobject MainWindow: TForm\r\n  object L: TLabel\r\n    Colour = clRed\r\n  end\r\nend\r\n0\r\n0\r\n' > "$src/gui.kui"
  local saver; saver=$(make_saver Broken)
  "$WINE" "$saver" /c & local pid=$!
  trap 'kill '"$pid"' 2>/dev/null; wineserver -k 2>/dev/null || "${WINE%64}server" -k 2>/dev/null' EXIT
  # The message box carries the application title, the product name.
  wait_for 30 window_named Test || fail "no message box captioned with the product name"
  shot config_broken
  click_box_button "$(window_named Test)"
  wait_for 20 sh -c "! kill -0 $pid 2>/dev/null" || fail "configuration mode did not end"
  wait $pid; local rc=$?
  trap - EXIT
  [ $rc = 0 ] || fail "/c ended with $rc"
  [ -z "$(work_folders Broken)" ] || fail "working folder left"
}

test_config_wallpaper() {
  new_source; add_picture a.jpg navy; add_picture b.jpg maroon
  # Two labels across the window: "Set as a Wallpaper" on the left, "Close window" on the right.
  printf '%s\r\n' 1 18 'object MainWindow: TForm' "  Caption = 'Wallpaper'" '  ClientWidth = 300' \
    '  ClientHeight = 100' '  object lblWall: TLabel' '    Tag = 1' '    AutoSize = False' '    Width = 150' \
    '    Height = 100' '  end' '  object lblClose: TLabel' '    Tag = 1' '    AutoSize = False' \
    '    Left = 150' '    Width = 150' '    Height = 100' '  end' 'end' \
    11 2 lblWall 9 ' ' ' ' ' ' lblClose 6 ' ' ' ' ' ' 0 > "$src/gui.kui"
  local saver; saver=$(make_saver Wall)
  local bmp; bmp="$(c_drive)/savers/Wall.scr.bmp"
  rm -f "$bmp"
  "$WINE" "$saver" /c & local pid=$!
  trap 'kill '"$pid"' 2>/dev/null; wineserver -k 2>/dev/null || "${WINE%64}server" -k 2>/dev/null' EXIT
  wait_for 30 window_named Wallpaper || { shot config_fail; fail "no window"; }
  sleep 0.5
  config_client_origin "$(window_named Wallpaper)" 300 100
  local CX0=$CX CY0=$CY
  config_click $((CX0 + 75)) $((CY0 + 50))
  wait_for 15 window_named Test || { shot config_fail; fail "no question captioned with the product name"; }
  local box; box=$(window_named Test)
  shot config_wallpaper_question
  # Yes is the left one of the two buttons in the middle of the box's bottom.
  local X Y WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$box" | sed -n 's/^\(X\|Y\|WIDTH\|HEIGHT\)=/\1=/p')"
  xdotool mousemove $((X + WIDTH / 2 - 45)) $((Y + HEIGHT - 22)) click 1
  wait_for 15 test -s "$bmp" || { shot config_fail; fail "no wallpaper bitmap beside the saver"; }
  sleep 0.5
  identify -format '%m %wx%h' "$bmp" 2>/dev/null | grep -Eqx 'BMP3? 320x240' || fail "the wallpaper bitmap is $(identify "$bmp" 2>&1)"
  # The selected picture is the first one: navy.
  local corner; corner=$(config_pixel "$bmp" 5 5)
  [ "${corner%%,*}" -lt 30 ] && [ "${corner##*,}" -gt 100 ] || fail "the wallpaper's corner is $corner, not navy"
  config_click $((CX0 + 225)) $((CY0 + 50))
  wait_for 20 sh -c "! kill -0 $pid 2>/dev/null" || fail "Close window did not end configuration mode"
  wait $pid; local rc=$?
  trap - EXIT
  [ $rc = 0 ] || fail "/c ended with $rc"
  timeout 30 "$WINE" reg query 'HKCU\Control Panel\Desktop' /v TileWallpaper 2>/dev/null | tr -d '\r' | grep -q 'REG_SZ *0$' \
    || fail "TileWallpaper is not 0"
  timeout 30 "$WINE" reg query 'HKCU\Control Panel\Desktop' /v Wallpaper 2>/dev/null | tr -d '\r' | grep -qi 'Wall.scr.bmp' \
    || fail "the wallpaper is not the saver's bitmap"
}

# config_controls_description FILE FACE: MainWindow with a thumbnail grid (check boxes and
# titles), a preview, an image button with an up face (FACE) bound to "Open setting" and a
# faceless image button bound to "Close window".
config_controls_description() {
  python3 - "$@" <<'PY'
import struct, sys
out, face = sys.argv[1], open(sys.argv[2], 'rb').read()
data = bytes([7]) + b'TBitmap' + struct.pack('<I', len(face)) + face
h = data.hex().upper()
up = ['    ButtonUp.Data = {'] + ['      ' + h[i:i + 64] for i in range(0, len(h), 64)]
up[-1] += '}'
form = ['object MainWindow: TfmKXCOnfigWindow', "  Caption = 'Controls'", '  ClientWidth = 380',
        '  ClientHeight = 300', '  Color = clSilver', "  Font.Name = 'Arial'", '  Font.Height = -11',
        '  PixelsPerInch = 96',
        '  object Thumbs: TKXThumbnail2', '    Tag = 1', '    Left = 10', '    Top = 10', '    Width = 360',
        '    Height = 150', '    Color = clWhite', '    ShowCheckBox = True', '    ShowTitle = True', '  end',
        '  object Preview1: TKXPreview', '    Tag = 1', '    Left = 10', '    Top = 170', '    Width = 160',
        '    Height = 120', '  end',
        '  object btnSetting: TMyButton', '    Tag = 1', '    Left = 200', '    Top = 170', '    Width = 20',
        '    Height = 20', "    Caption = 'Settings'", '    ShowCaption = True', '    Transparent = False'] + up + ['  end',
        '  object btnClose: TMyButton', '    Tag = 1', '    Left = 200', '    Top = 220', '    Width = 80',
        '    Height = 30', "    Caption = 'Close'", '    ShowCaption = True', '  end', 'end']
acts = ['2', 'btnSetting', '5', ' ', ' ', ' ', 'btnClose', '6', ' ', ' ', ' ']
text = ['1', str(len(form))] + form + [str(len(acts))] + acts + ['0']
open(out, 'wb').write(('\r\n'.join(text) + '\r\n').encode('latin-1'))
PY
}

# config_near PNG X Y R G B: the pixel is within 40 of the colour on every channel.
config_near() {
  local got; got=$(config_pixel "$1" "$2" "$3")
  local r g b; IFS=, read -r r g b <<< "$got"
  [ -n "$b" ] && [ $(( (r-$4)*(r-$4) < 1600 && (g-$5)*(g-$5) < 1600 && (b-$6)*(b-$6) < 1600 )) = 1 ]
}

test_config_controls() {
  new_source; add_picture a.jpg navy; add_picture b.jpg maroon; add_picture c.jpg olive
  sed -i 's/^Duration=.*/Duration=20\r/' "$src/project.ini"
  convert -size 75x25 xc:teal BMP3:"$state/face.bmp" || fail "convert"
  config_controls_description "$src/gui.kui" "$state/face.bmp"
  local saver; saver=$(make_saver Controls)
  local ini; ini="$(c_drive)/savers/Controls.ini"
  rm -f "$ini"
  "$WINE" "$saver" /c & local pid=$!
  trap 'kill '"$pid"' 2>/dev/null; wineserver -k 2>/dev/null || "${WINE%64}server" -k 2>/dev/null' EXIT
  wait_for 30 window_named Controls || { shot config_fail; fail "no window"; }
  sleep 1
  config_client_origin "$(window_named Controls)" 380 300
  shot config_controls
  local png="$state/config_controls.png"
  # The grid's client area starts 2 pixels in (sunken border); cells are 100 x 110, the
  # thumbnails 80 x 60 at (15, 15) of their cell, the check box at (13, 66).
  local GX=$((CX + 12)) GY=$((CY + 12))
  config_near "$png" $((GX + 20)) $((GY + 20)) 0 0 128 || fail "thumbnail 1 is not navy: $(config_pixel "$png" $((GX + 20)) $((GY + 20)))"
  config_near "$png" $((GX + 120)) $((GY + 20)) 128 0 0 || fail "thumbnail 2 is not maroon"
  config_near "$png" $((GX + 220)) $((GY + 20)) 128 128 0 || fail "thumbnail 3 is not olive"
  config_near "$png" $((GX + 55)) $((GY + 45)) 255 255 255 || fail "thumbnail 1 has no white circle"
  [ "$(config_count "$png" $((GX + 10)) $((GY + 84)) 90 20 black)" -gt 10 ] || fail "no title under thumbnail 1"
  [ "$(config_count "$png" $((GX + 14)) $((GY + 67)) 9 9 white)" -lt 81 ] || fail "no check mark in check box 1"
  config_near "$png" $((CX + 15)) $((CY + 175)) 0 0 128 || fail "the preview does not show picture 1"
  config_near "$png" $((CX + 160)) $((CY + 280)) 0 0 128 || fail "the preview does not fill its box"
  config_near "$png" $((CX + 270)) $((CY + 172)) 0 128 128 || fail "the image button's face is not 75 pixels wide"
  [ "$(config_count "$png" $((CX + 200)) $((CY + 170)) 75 25 black)" -gt 10 ] || fail "no caption on the image button"

  config_click $((GX + 250)) $((GY + 30))   # picture 3
  sleep 0.5
  shot config_controls_selected
  config_near "$state/config_controls_selected.png" $((CX + 15)) $((CY + 175)) 128 128 0 \
    || fail "the preview did not change to picture 3: $(config_pixel "$state/config_controls_selected.png" $((CX + 15)) $((CY + 175)))"
  config_click $((GX + 118)) $((GY + 71))   # the check box of picture 2
  sleep 0.3
  shot config_controls_unchecked
  [ "$(config_count "$state/config_controls_unchecked.png" $((GX + 114)) $((GY + 67)) 9 9 white)" = 81 ] \
    || fail "the check box of picture 2 did not clear"

  config_click $((CX + 237)) $((CY + 182))  # Open setting
  wait_for 15 window_named Settings || { shot config_fail; fail "no settings dialog"; }
  sleep 0.5
  local dlg; dlg=$(window_named Settings)
  config_client_origin "$dlg" 364 325
  shot config_settings
  local DX=$CX DY=$CY
  # The up arrow of the duration (page origin found from the tab's display area).
  config_click $((DX + ${KX_PAGE_X:-12} + 175)) $((DY + ${KX_PAGE_Y:-32} + 162))
  shot config_settings_up
  # Show Image: open the list and pick its fourth entry, "Single - Selected Image". The
  # entries' height is measured on the highlighted first entry, right of its text.
  config_click $((DX + 12 + 218)) $((DY + 32 + 137))
  sleep 0.5
  shot config_settings_list
  local col; col=$(convert "$state/config_settings_list.png" -crop 1x140+$((DX + 12 + 281))+$((DY + 32 + 140)) +repage -depth 8 txt:- 2>/dev/null |
    sed -n 's/^0,\([0-9]*\): *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \4/p')
  local first; first=$(echo "$col" | awk '$3 > $2 + 40 {print $1; exit}')
  local rows; rows=$(echo "$col" | awk '$3 > $2 + 40 {n++} END {print n + 0}')
  [ -n "$first" ] && [ "$rows" -ge 10 ] || { shot config_fail; fail "no open list under Show Image"; }
  config_click $((DX + 12 + 200)) $((DY + 32 + 140 + first + rows * 3 + rows / 2))
  # The music page: "Add" runs the file-open dialog and its file becomes a row of the list.
  printf 'RIFF' > "$(c_drive)/savers/tune.wav"
  config_click $((DX + 8 + 140)) $((DY + 8 + 10))  # the "Background Music" tab
  config_click $((DX + 12 + 8 + 19)) $((DY + 32 + 195 + 10))  # Add
  wait_for 15 window_named Open || { shot config_fail; fail "Add opened no file dialog"; }
  sleep 0.5
  xdotool type --delay 20 'C:\savers\tune.wav'
  xdotool key Return
  wait_for 10 sh -c "! xdotool search --onlyvisible --name '^Open\$' | grep -q ." || { shot config_fail; fail "the file dialog stayed open"; }
  sleep 0.3
  shot config_settings_music
  [ "$(config_count "$state/config_settings_music.png" $((DX + 12 + 10)) $((DY + 32 + 52)) 120 14 black)" -gt 10 ] \
    || fail "no row in the music list"
  # KX_KEEP_SHOTS=FOLDER keeps the screenshots for a look.
  [ -n "${KX_KEEP_SHOTS:-}" ] && cp "$state"/config_controls*.png "$state"/config_settings*.png "$KX_KEEP_SHOTS"/
  config_click $((DX + 235)) $((DY + 304))  # OK
  wait_for 10 sh -c "! xdotool search --onlyvisible --name '^Settings\$' | grep -q ." || fail "the dialog stayed open"
  local text; text=$(tr -d '\r' < "$ini" 2>/dev/null)
  note "after OK: $(echo "$text" | tr '\n' ' ')"
  echo "$text" | grep -qx 'Duration=21' || fail "Duration is not 21"
  echo "$text" | grep -qx 'Speed=10' || fail "Speed is not written"
  echo "$text" | grep -qx 'ImageMode=3' || fail "ImageMode is not 3"
  echo "$text" | grep -qx 'Monitors=0' || fail "Monitors is not written"
  echo "$text" | sed -n '/^\[MusicList\]/,/^\[/p' | grep -qix 'C:\\savers\\tune.wav=' || fail "the music list does not hold the added file"

  # The keyboard: Escape cancels the dialog; the focus starts on OK, Tab moves it to
  # Cancel, and Space presses that.
  config_click $((CX + 237)) $((CY + 182))  # Open setting
  wait_for 15 window_named Settings || { shot config_fail; fail "no settings dialog the second time"; }
  sleep 0.5
  # Ctrl+Tab shows the next page: the music list's white box replaces the duration box.
  xdotool key ctrl+Tab
  sleep 0.5
  shot config_settings_keys
  [ "$(config_count "$state/config_settings_keys.png" $((DX + 12 + 100)) $((DY + 32 + 120)) 100 40 white)" -gt 3000 ] \
    || { shot config_fail; fail "Ctrl+Tab did not show the music page"; }
  xdotool key Tab Tab Escape
  wait_for 10 sh -c "! xdotool search --onlyvisible --name '^Settings\$' | grep -q ." || fail "Escape did not close the dialog"
  config_click $((CX + 237)) $((CY + 182))
  wait_for 15 window_named Settings || { shot config_fail; fail "no settings dialog the third time"; }
  sleep 0.5
  xdotool key Tab
  sleep 0.3
  xdotool key space
  wait_for 10 sh -c "! xdotool search --onlyvisible --name '^Settings\$' | grep -q ." || { shot config_fail; fail "Space on Cancel did not close the dialog"; }

  config_click $((CX + 240)) $((CY + 235))  # Close window
  wait_for 20 sh -c "! kill -0 $pid 2>/dev/null" || fail "Close did not end configuration mode"
  wait $pid; local rc=$?
  trap - EXIT
  [ $rc = 0 ] || fail "/c ended with $rc"
  text=$(tr -d '\r' < "$ini")
  note "settings file: $(echo "$text" | tr '\n' ' ')"
  # The check box click selected picture 2 as well.
  echo "$text" | grep -qx 'Index=1' || fail "Index is not 1"
  [ "$(echo "$text" | sed -n '/^\[Files\]/,/^\[/p' | grep -c '=')" = 1 ] || fail "[Files] does not hold one key"
  echo "$text" | sed -n '/^\[Files\]/,/^\[/p' | grep -qx '1=' || fail "[Files] does not hold picture 2 (1=)"

  # The next show honours the choices: only the selected picture 2 (maroon), stretched.
  "$WINE" "$saver" /s & pid=$!
  trap 'kill '"$pid"' 2>/dev/null; wineserver -k 2>/dev/null || "${WINE%64}server" -k 2>/dev/null' EXIT
  local seen=""
  for _ in $(seq 40); do
    sleep 0.5
    shot config_show
    config_near "$state/config_show.png" 5 5 128 0 0 && { seen=1; break; }
  done
  [ -n "$seen" ] || fail "the show does not show picture 2 full screen: $(config_pixel "$state/config_show.png" 5 5)"
  local i
  for i in $(seq 40); do
    xdotool mousemove $((300 + (i % 2) * 40)) $((300 + (i % 2) * 30)); sleep 0.1
    kill -0 $pid 2>/dev/null || break
  done
  wait_for 10 sh -c "! kill -0 $pid 2>/dev/null" || fail "the show did not end"
  trap - EXIT
}

# A window opened by a label takes the very first click on its own label: five rounds of
# "Show window" then one click on "Back", the pointer moved onto the label first as a user's
# hand does.
test_config_every_click_counts() {
  new_source; add_picture a.jpg navy
  convert -size 32x24 xc:red BMP3:"$state/pic.bmp" || fail "convert"
  config_description "$src/gui.kui" "$state/pic.bmp"
  local saver; saver=$(make_saver Clicks)
  "$WINE" "$saver" /c & local pid=$!
  trap 'kill '"$pid"' 2>/dev/null; wineserver -k 2>/dev/null || "${WINE%64}server" -k 2>/dev/null' EXIT
  wait_for 30 window_named "Configure Test" || { shot clicks_fail; fail "no configuration window"; }
  local w; w=$(window_named "Configure Test")
  sleep 0.5
  config_client_origin "$w" 400 300
  local MX=$CX MY=$CY round
  for round in 1 2 3 4 5; do
    xdotool mousemove $((MX + 95)) $((MY + 145)); sleep 0.2; xdotool click 1   # Show window
    wait_for 10 window_named "Second window" || { shot clicks_fail; fail "round $round: the second window did not open"; }
    local w2; w2=$(window_named "Second window")
    config_client_origin "$w2" 200 120
    xdotool mousemove $((CX + 100)) $((CY + 60)); sleep 0.2; xdotool click 1      # Back, once
    # Gone within a moment: a window left in sight for a second or two gets a second click.
    local until=$(( $(date +%s%N) / 1000000 + 800 ))
    while xdotool search --onlyvisible --name '^Second window$' 2>/dev/null | grep -q .; do
      [ $(( $(date +%s%N) / 1000000 )) -lt $until ] \
        || { shot clicks_fail; fail "round $round: one click on Back left the second window in sight"; }
      sleep 0.05
    done
    sleep 0.3
  done
  # The main window takes its first click too.
  xdotool mousemove $((MX + 295)) $((MY + 145)); sleep 0.2; xdotool click 1      # Close window
  wait_for 3 sh -c "! xdotool search --onlyvisible --name '^Configure Test\$' | grep -q ." \
    || fail "one click on Close window left the window in sight"
  wait_for 10 sh -c "! kill -0 $pid 2>/dev/null" || fail "one click on Close window did not end configuration mode"
  wait $pid
  trap - EXIT
}

# config_preview_description FILE OWN FACE: MainWindow with a 416-pixel thumbnail grid, a
# preview whose own picture is OWN, a red label and an image button (face FACE) placed over
# the preview, and labels bound to "Open setting" and "Close window".
config_preview_description() {
  python3 - "$@" <<'PY'
import struct, sys
out, own, face = sys.argv[1], open(sys.argv[2], 'rb').read(), open(sys.argv[3], 'rb').read()
def binary(prop, data):
    h = (bytes([7]) + b'TBitmap' + struct.pack('<I', len(data)) + data).hex().upper()
    lines = ['    %s = {' % prop] + ['      ' + h[i:i + 64] for i in range(0, len(h), 64)]
    lines[-1] += '}'
    return lines
def box(l, t, w, h):
    return ['    Tag = 1', '    Left = %d' % l, '    Top = %d' % t, '    Width = %d' % w, '    Height = %d' % h]
def label(name, l, t, caption, color):
    return ['  object %s: TLabel' % name] + box(l, t, 60, 20) + ['    AutoSize = False', "    Caption = '%s'" % caption,
            '    Color = %s' % color, '    Transparent = False', '  end']
form = ['object MainWindow: TfmKXCOnfigWindow', "  Caption = 'Preview'", '  ClientWidth = 700',
        '  ClientHeight = 260', '  Color = clSilver', "  Font.Name = 'Arial'", '  Font.Height = -11',
        '  PixelsPerInch = 96',
        '  object Thumbs: TKXThumbnail2'] + box(10, 10, 416, 200) + ['    Color = clWhite', '  end',
        '  object Preview1: TKXPreview'] + box(450, 10, 200, 150) + ['    Stretch = True'] + binary('Picture.Data', own) + ['  end']
form += label('lblOver', 460, 20, 'Over', 'clRed')
form += ['  object btnOver: TMyButton'] + box(560, 110, 40, 20) + ['    Transparent = False'] + binary('ButtonUp.Data', face) + ['  end']
form += label('lblSetting', 450, 220, 'Settings', 'clWhite') + label('lblClose', 550, 220, 'Close', 'clWhite') + ['end']
acts = ['2', 'lblSetting', '5', ' ', ' ', ' ', 'lblClose', '6', ' ', ' ', ' ']
text = ['1', str(len(form))] + form + [str(len(acts))] + acts + ['0']
open(out, 'wb').write(('\r\n'.join(text) + '\r\n').encode('latin-1'))
PY
}

# config_open_preview SAVER: starts /c and waits for the window; sets pid, CX, CY.
config_open_preview() {
  "$WINE" "$1" /c & pid=$!
  trap 'kill '"$pid"' 2>/dev/null; wineserver -k 2>/dev/null || "${WINE%64}server" -k 2>/dev/null' EXIT
  wait_for 30 window_named Preview || { shot config_fail; fail "no window"; }
  sleep 1
  config_client_origin "$(window_named Preview)" 700 260
}
config_close_preview() {
  config_click $((CX + 580)) $((CY + 230))  # Close
  wait_for 20 sh -c "! kill -0 $pid 2>/dev/null" || fail "Close did not end configuration mode"
  wait $pid
  trap - EXIT
}

test_config_preview_grid_and_defaults() {
  new_source
  add_picture a.jpg navy; add_picture b.jpg maroon; add_picture c.jpg olive; add_picture d.jpg purple; add_picture e.jpg teal
  sed -i 's/^Duration=.*/Duration=5\r/' "$src/project.ini"
  printf 'DirectX=0\r\nDirectXQuality=2\r\n' >> "$src/project.ini"
  convert -size 40x30 xc:lime BMP3:"$state/own.bmp" && convert -size 40x20 xc:yellow BMP3:"$state/face.bmp" || fail "convert"
  config_preview_description "$src/gui.kui" "$state/own.bmp" "$state/face.bmp"
  local saver; saver=$(make_saver PreviewGrid)
  local ini; ini="$(c_drive)/savers/PreviewGrid.ini"
  rm -f "$ini"
  local pid
  config_open_preview "$saver"
  shot config_preview
  local png="$state/config_preview.png"
  # Picture 1 in the preview; the label and the image button over it stay in front.
  config_near "$png" $((CX + 455)) $((CY + 150)) 0 0 128 || fail "the preview does not show picture 1: $(config_pixel "$png" $((CX + 455)) $((CY + 150)))"
  [ "$(config_pixel "$png" $((CX + 470)) $((CY + 30)))" = "255,0,0" ] || fail "the label over the preview is hidden"
  [ "$(config_pixel "$png" $((CX + 580)) $((CY + 120)))" = "255,255,0" ] || fail "the image button over the preview is hidden"
  # 416 pixels hold four 100-pixel columns: picture 4 ends row 1, picture 5 starts row 2.
  local GX=$((CX + 12)) GY=$((CY + 12))
  config_near "$png" $((GX + 320)) $((GY + 20)) 128 0 128 || fail "the grid has no fourth column: $(config_pixel "$png" $((GX + 320)) $((GY + 20)))"
  config_near "$png" $((GX + 20)) $((GY + 100)) 0 128 128 || fail "picture 5 does not start the second row"
  config_close_preview
  # Closing without changes stores the selection only; the next dialog shows the project's
  # drawing path and a duration of 5 as 10, and OK stores those.
  grep -q 'DirectX' "$ini" && fail "closing the window wrote DirectX"
  config_open_preview "$saver"
  config_click $((CX + 480)) $((CY + 230))  # Settings
  wait_for 15 window_named Settings || { shot config_fail; fail "no settings dialog"; }
  sleep 0.5
  config_client_origin "$(window_named Settings)" 364 297
  shot config_preview_settings
  config_click $((CX + 235)) $((CY + 276))  # OK
  wait_for 10 sh -c "! xdotool search --onlyvisible --name '^Settings\$' | grep -q ." || fail "the dialog stayed open"
  config_client_origin "$(window_named Preview)" 700 260
  config_close_preview
  local text; text=$(tr -d '\r' < "$ini")
  note "settings file: $(echo "$text" | tr '\n' ' ')"
  echo "$text" | grep -qx 'DirectX=0' || fail "DirectX is not the project's 0"
  echo "$text" | grep -qx 'DirectXQuality=2' || fail "DirectXQuality is not the project's 2"
  echo "$text" | grep -qx 'Duration=10' || fail "a duration of 5 was not shown as 10"

  # Without pictures the preview shows its own picture.
  new_source
  config_preview_description "$src/gui.kui" "$state/own.bmp" "$state/face.bmp"
  saver=$(PACK_OPTIONS=--allow-empty make_saver PreviewOwn)
  config_open_preview "$saver"
  shot config_preview_own
  png="$state/config_preview_own.png"
  [ "$(config_pixel "$png" $((CX + 455)) $((CY + 150)))" = "0,255,0" ] || fail "the preview does not show its own picture: $(config_pixel "$png" $((CX + 455)) $((CY + 150)))"
  [ "$(config_pixel "$png" $((CX + 470)) $((CY + 30)))" = "255,0,0" ] || fail "the label over the own picture is hidden"
  [ -n "${KX_KEEP_SHOTS:-}" ] && cp "$state"/config_preview*.png "$KX_KEEP_SHOTS"/
  config_close_preview
}
