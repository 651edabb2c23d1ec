# Music and sound effects under Wine (sourced by e2e.sh). The capture tests give Wine an
# ALSA default device that writes what it plays into a file; the silent test gives Wine no
# audio driver at all, so DirectSound cannot start and the show must run on without it.

# le16 N / le32 N: little-endian bytes.
le16() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $((($1 >> 8) & 255)))"; }
le32() { le16 $(($1 & 65535)); le16 $((($1 >> 16) & 65535)); }

# make_wave FILE SECONDS: an 8-bit mono 8000 Hz WAVE file holding a 1 kHz square tone.
make_wave() {
  local bytes=$(( $2 * 8000 ))
  {
    printf 'RIFF'; le32 $((36 + bytes)); printf 'WAVEfmt '; le32 16
    le16 1; le16 1; le32 8000; le32 8000; le16 1; le16 8
    printf 'data'; le32 $bytes
    yes $'\x20\x20\x20\x20\xe0\xe0\xe0\xe0' | tr -d '\n' | head -c $bytes
  } > "$1"
}

# audio_driver NAME: the Wine audio driver of the prefix ("" for none).
audio_driver() {
  timeout 60 "$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Audio /t REG_SZ /d "$1" /f >/dev/null 2>&1 ||
    fail "cannot choose the audio driver"
  timeout 60 wineserver -w 2>/dev/null
}
reset_audio_driver() {
  timeout 60 "$WINE" reg delete 'HKCU\Software\Wine\Drivers' /v Audio /f >/dev/null 2>&1
  timeout 60 wineserver -w 2>/dev/null
  true
}

# A source with one living picture; $1 the picture's sound slot option ("" for none), $2
# the MusicFile ("" for no music).
sound_source() {
  new_source
  local work="$state/kxp.$$"; mkdir -p "$work"
  convert -size 320x240 xc:'rgb(40,120,200)' "$work/picture.jpg" || fail "convert"
  local sound=()
  [ -n "$1" ] && sound=(--sound "$1")
  "$kxtool" kxp make --picture "$work/picture.jpg" "${sound[@]}" --out "$src/pictures/living.kxp" >/dev/null ||
    fail "kxp make"
  make_wave "$src/content/beep.wav" 1
  make_wave "$src/content/tune.wav" 3
  local music=0; [ -n "$2" ] && music=1
  printf '[General]\r\nProductName=Sound\r\n[Default]\r\nDuration=30\r\nSound=1\r\nSoundVolume=100\r\nMusic=%s\r\nMusicVolume=100\r\n[Advance]\r\nMusicFile=%s\r\nMusicMode=1\r\n' \
    "$music" "$2" > "$src/project.ini"
}

# run_show NAME SECONDS [ENV...]: runs the show for a while, ends it with mouse movement
# and checks that it ended normally and removed its working folder.
run_show() {
  local name=$1 seconds=$2; shift 2
  local saver; saver=$(make_saver "$name")
  local before; before=$(work_folders "$name")
  env "$@" "$WINE" "$saver" /s & local pid=$!
  sleep "$seconds"
  kill -0 $pid 2>/dev/null || fail "the show ended by itself"
  shot "$name"
  local ended=0
  for i in $(seq 80); do
    xdotool mousemove $((300 + (i % 2) * 40)) $((300 + (i % 2) * 30))
    sleep 0.1
    if ! kill -0 $pid 2>/dev/null; then ended=1; break; fi
  done
  [ $ended = 1 ] || { kill $pid; fail "the show did not end on mouse movement"; }
  wait $pid; local rc=$?
  [ $rc = 0 ] || fail "/s ended with $rc"
  [ "$(work_folders "$name")" = "$before" ] || fail "working folder left after the show"
}

# capture_show NAME: runs the show with an ALSA default device that records to a file and
# prints how many bytes were captured and how many of them are not silence.
capture_show() {
  local tag=${1// /_}
  local raw="$state/capture-$tag.raw" conf="$state/asound-$tag.conf"
  rm -f "$raw"
  # Every stream Wine opens (DirectSound's and the music device's) appends to one file.
  printf 'pcm.!default {\n  type file\n  slave.pcm "null"\n  file "|cat >> %s"\n  format "raw"\n}\n' "$raw" > "$conf"
  audio_driver alsa
  run_show "$1" 6 ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$conf"
  reset_audio_driver
  [ -s "$raw" ] || fail "nothing was captured (is winealsa in use?)"
  # Streams are captured in their own sample format: silence is zero bytes for 16-bit and
  # float samples, 128 for 8-bit ones. The test tones never hold either value.
  local total loud
  total=$(stat -c %s "$raw")
  loud=$(od -An -v -tu1 -w64 "$raw" | tr -s ' ' '\n' | grep -cvE '^(0*|128)$')
  note "captured $total bytes, $loud not silent"
  echo "$total $loud"
}

test_sound_looping_effect_captured() {
  sound_source '1,C:\author\sounds\beep.wav,0,0,0' "tune.wav"
  local r; r=$(capture_show "Sound Loop") || exit 1
  echo "$r" | head -n -1
  set -- $(echo "$r" | tail -n 1)
  # A one-second sound that loops keeps the output busy for the whole show.
  [ "$2" -gt $(( $1 / 8 )) ] || fail "the looping sound is not in the capture ($2 of $1 bytes)"
}

test_sound_music_track_captured() {
  sound_source "" "tune.wav"
  local r; r=$(capture_show "Sound Music") || exit 1
  echo "$r" | head -n -1
  set -- $(echo "$r" | tail -n 1)
  # DirectSound's own stream (silent here) runs all the time and fills most of the file;
  # the music stream must hold at least one whole track (3 s of 8000 one-byte samples).
  [ "$2" -ge 24000 ] || fail "the music is not in the capture ($2 of $1 bytes)"
}

test_sound_without_device() {
  sound_source '1,beep.wav,2,1,1' "tune.wav"
  audio_driver ""
  run_show "Sound None" 4
  reset_audio_driver
}

# MP3 music goes through the media player device (and Wine's GStreamer decoders): the
# track must reach the captured sound device as the WAVE track does.
test_sound_mp3_music_captured() {
  command -v ffmpeg >/dev/null || fail "ffmpeg is not installed (./kx setup installs it)"
  sound_source "" "tune.mp3"
  # 3 s of a 1 kHz tone at 44.1 kHz stereo; a decoded stream is 16-bit or float samples.
  ffmpeg -v error -f lavfi -i "sine=frequency=1000:sample_rate=44100:duration=3" -ac 2 -b:a 128k \
    -y "$src/content/tune.mp3" || fail "ffmpeg cannot make the MP3 track"
  local r; r=$(capture_show "Sound Mp3") || exit 1
  echo "$r" | head -n -1
  set -- $(echo "$r" | tail -n 1)
  # A second of the decoded track is 44100 frames of at least four bytes; half of its bytes
  # at least are not silence.
  [ "$2" -ge 88200 ] || fail "the MP3 music is not in the capture ($2 of $1 bytes)"
}
