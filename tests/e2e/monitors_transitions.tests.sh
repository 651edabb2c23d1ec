# Two monitors, each with its own show, change pictures at the same time under Wine
# (sourced by e2e.sh; the display and prefix helpers are those of monitors.tests.sh).

# With Monitors=1 both shows start together, so after Duration both fade to the next
# picture in the same seconds. A transition that held the thread until it ended would
# freeze the other monitor meanwhile: here, while both monitors are between the pictures,
# each of them is seen at several stages of its fade.
test_show_two_monitors_transitions_together() {
  new_source
  convert -size 640x480 'xc:rgb(200,30,30)' "$src/pictures/1.jpg"
  convert -size 640x480 'xc:rgb(30,200,30)' "$src/pictures/2.jpg"
  printf '[General]\r\nProductName=Together\r\n[Default]\r\nDuration=3\r\nTransition=1\r\nTransitionTime=5000\r\nTransitionEffects=1\r\nShowImageMode=1\r\nMusic=0\r\n' \
    > "$src/project.ini"
  mm_start
  local saver; saver=$(make_saver Together)
  printf '[Setting]\r\nMonitors=1\r\nDirectX=0\r\nImageSize=2\r\nImageMode=1\r\nMusic=0\r\n' > "$(c_drive)/savers/Together.ini"
  "$WINE" "$saver" /s & local pid=$!
  local png=$state/together.png samples=$state/together.txt
  : > "$samples"; : > "$samples.both"
  # Centre of the left monitor and of the primary one (its picture is pillar-boxed).
  local end=$(( $(date +%s) + 25 )) both=0
  while [ "$(date +%s)" -lt "$end" ]; do
    import -window root "$png" 2>/dev/null || continue
    local l p; l=$(pixel_at "$png" 512 384); p=$(pixel_at "$png" 1664 360)
    echo "$(date +%s%N) $l $p" >> "$samples"
    # Between the pictures: red and green both well away from either picture's own.
    set -- $l $p
    if [ $1 -gt 50 ] && [ $1 -lt 180 ] && [ $2 -gt 50 ] && [ $2 -lt 180 ] &&
       [ $4 -gt 50 ] && [ $4 -lt 180 ] && [ $5 -gt 50 ] && [ $5 -lt 180 ]; then
      both=$((both + 1))
      echo "$l|$p" >> "$samples.both"
    elif [ $both -gt 0 ]; then
      break  # one of them has finished its fade
    fi
  done
  kill $pid 2>/dev/null; wait $pid 2>/dev/null
  note "screenshots: $(wc -l < "$samples"); both between the pictures in $both of them"
  [ $both -ge 3 ] || fail "the two monitors were never seen fading at the same time: $(tr '\n' ';' < "$samples")"
  local left right
  left=$(cut -d'|' -f1 "$samples.both" | sort -u | wc -l); right=$(cut -d'|' -f2 "$samples.both" | sort -u | wc -l)
  note "while both fade: $left stages seen on the left monitor, $right on the primary"
  [ $left -ge 3 ] && [ $right -ge 3 ] ||
    fail "one monitor stood still while the other faded: $(tr '\n' ';' < "$samples.both")"
}
