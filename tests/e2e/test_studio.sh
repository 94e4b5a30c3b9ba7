# The sound studio's whole road through the running application: from the control window's
# Sounds page open the studio, load a generated clip, move the crop start on the waveform, fade
# it in, apply, add three clips and install the pack; closing the studio leaves no temporary
# files, the Sounds page lists the new pack, and once selected it plays its sample when a key is
# typed (SDL's "disk" driver records what Plinkly mixes). Widgets are found by their accessible
# names.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

library="$XDG_DATA_HOME/Knockwell"
clip="$E2E_WORK/pluck.wav"
output="$E2E_WORK/typing.raw"
studio=(--in "Sound Studio")
control=(--in "Plinkly")
/usr/bin/python3 -c "import pyatspi" 2>/dev/null || fail "the accessibility bindings are missing: run setup.sh"

# 1.5 s at 48 kHz: 0.2 s of silence, a decaying tone, silence again.
python3 - "$clip" <<'PY'
import math, struct, sys, wave
rate = 48000
with wave.open(sys.argv[1], "wb") as w:
    w.setnchannels(1)
    w.setsampwidth(2)
    w.setframerate(rate)
    values = []
    for i in range(int(rate * 1.5)):
        t = i / rate
        v = 0.4 * math.exp(-(t - 0.2) * 3) * math.sin(2 * math.pi * 330 * (t - 0.2)) if 0.2 <= t < 1.3 else 0.0
        values.append(struct.pack("<h", int(v * 32000)))
    w.writeframes(b"".join(values))
PY

# client_rect WINDOW / frame_rect WINDOW: "LEFT TOP WIDTH HEIGHT" of a window's client area on
# the screen, and of the frame the window manager puts around it.
client_rect() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
    /^ *Width:/ {w=$NF} /^ *Height:/ {h=$NF} END {print x, y, w, h}'
}
frame_rect() {
  local x y w h left right top bottom
  read -r x y w h < <(client_rect "$1")
  read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  echo "$((x - left)) $((y - top)) $((w + left + right)) $((h + top + bottom))"
}
# studio_inside_control WIDTH: the studio's frame lies inside the client area of the control
# window of that width, clear of its title bar and sides.
studio_inside_control() {
  local sx sy sw sh cx cy cw ch
  read -r sx sy sw sh < <(frame_rect "$(window_named "Sound Studio")")
  read -r cx cy cw ch < <(client_rect "$(window_of_width "$1")")
  ((sx >= cx && sy >= cy && sx + sw <= cx + cw && sy + sh <= cy + ch))
}

write_exact_sound_settings
xev -geometry 300x200+900+500 -name "Typing target" >/dev/null 2>&1 &
target_pid=$!
wait_for 10 has_window_named "Typing target" || fail "the target window did not appear"

QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$output" "$PLINKLY" \
  >"$E2E_WORK/plinkly.log" 2>&1 &
app=$!
wait_for 20 ui_showing "${control[@]}" --role "push button" Sounds || fail "the control window did not appear"
ui_click "${control[@]}" --role "push button" Sounds
wait_for 10 ui_showing "${control[@]}" "Sound Studio…" || fail "the Sounds page did not open"
ui_click "${control[@]}" "Sound Studio…"
wait_for 10 ui_showing "${studio[@]}" "Open Audio…" || fail "the studio did not open"
wait_for 5 studio_inside_control 760 || fail "the studio's frame reaches outside the control window: $(
  frame_rect "$(window_named "Sound Studio")") over $(client_rect "$(window_of_width 760)")"

ui_click "${studio[@]}" "Open Audio…"
wait_for 10 has_window_named "Open Audio" || fail "the open panel did not appear"
xdotool type --delay 20 "$clip"
xdotool key Return
wait_for 20 ui_showing "${studio[@]}" "1.50 seconds · 48000 Hz" || fail "the clip did not load"

ui_drag 14 120 "${studio[@]}" "Crop start handle"
ui_drag 8 60 "${studio[@]}" --role slider "Fade in (seconds)"
ui_click "${studio[@]}" "Apply Edit"
ui_showing "${studio[@]}" "Selection must contain audio, and fades must fit inside it." && fail "the edit was refused"
ui_click "${studio[@]}" "Preview"
wait_for 5 compgen -G "$TMPDIR/knockwell-studio-*/knockwell-preview-*.wav" || fail "no preview file was written"

ui_click "${studio[@]}" --role text "Creator name"
xdotool type --delay 20 "E2E Tester"
for count in 1 2 3; do
  ui_click "${studio[@]}" "Add to Pack"
  wait_for 5 ui_showing "${studio[@]}" "$count / 256 samples" || fail "the pack does not list $count clips"
done
ui_click "${studio[@]}" "Install Pack"
wait_for 30 ui_showing "${studio[@]}" "Installed. Select your pack from the sound library." ||
  fail "no installation notice"
screenshot studio-installed

manifest=$(grep -l '"My Sound Pack"' "$library/Keyboard Packs"/*/manifest.json | head -n1)
[[ -n $manifest ]] || fail "the installed pack has no manifest"
pack_id=$(python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))["id"])' "$manifest")
samples="$(dirname "$manifest")/samples"
[[ $(ls "$samples" | wc -l) -eq 3 ]] || fail "the pack does not hold three samples"

ui_click "${studio[@]}" --role "push button" Close
wait_for 10 bash -c '! xdotool search --name "^Sound Studio\$" >/dev/null' || fail "the studio did not close"

# At the window's smallest size the studio still fits inside it.
control_window=$(window_of_width 760)
xdotool windowsize --sync "$control_window" 620 500
ui_click "${control[@]}" "Sound Studio…"
wait_for 10 ui_showing "${studio[@]}" "Open Audio…" || fail "the studio did not open again"
wait_for 5 studio_inside_control 620 || fail "the studio's frame reaches outside the smallest control window: $(
  frame_rect "$(window_named "Sound Studio")") over $(client_rect "$control_window")"
ui_click "${studio[@]}" --role "push button" Close
wait_for 10 bash -c '! xdotool search --name "^Sound Studio\$" >/dev/null' || fail "the studio did not close again"
xdotool windowsize --sync "$control_window" 760 680
no_temporary_files() {
  [[ -z "$(find "$TMPDIR" -mindepth 1 -print -quit)" ]]
}
wait_for 5 no_temporary_files || fail "temporary files are left: $(find "$TMPDIR" -mindepth 1 | head -n5)"

# The library lists the new pack; selecting its card makes it the typing sound. The card's
# preview plays too, so the recording starts afresh once every engine has gone idle and let
# go of the file.
wait_for 10 ui_showing "${control[@]}" "My Sound Pack" || fail "the Sounds page does not list the new pack"
ui_click "${control[@]}" "My Sound Pack"
wait_for 10 grep -q "^selectedKeyboardPack=$pack_id\$" "$XDG_CONFIG_HOME/plinkly/plinkly.ini" ||
  fail "clicking the new card did not select it"
output_released() {
  ! ls -l "/proc/$app/fd" | grep -qF "$output"
}
wait_for 10 output_released || fail "the audio output stayed open"
rm -f "$output"

xdotool windowactivate --sync "$(window_named "Typing target")"
# Only the press: the pack has no release sample, so a release would play the press again.
type_in "$(window_named "Typing target")" keydown a
sample_played() {
  python3 - "$output" "$samples/0.wav" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
mixed = struct.unpack("<%df" % (len(data) // 4), data[: len(data) // 4 * 4])[0::2]
wav = open(sys.argv[2], "rb").read()
offset = 12
while wav[offset : offset + 4] != b"data":
    offset += 8 + struct.unpack("<I", wav[offset + 4 : offset + 8])[0]
size = struct.unpack("<I", wav[offset + 4 : offset + 8])[0]
sample = struct.unpack("<%df" % (size // 4), wav[offset + 8 : offset + 8 + size])
# The crop and the fade reached the pack: shorter than the clip, starting from silence.
if len(sample) >= 72000 or abs(sample[0]) > 1e-3:
    sys.exit("the sample is not the edited clip (%d frames, first %f)" % (len(sample), sample[0]))
# The clip fades in from silence: match from its first clearly audible frame.
first = next(i for i, v in enumerate(sample) if abs(v) > 0.01)
expected = sample[first : first + 2000]
# Sounds are held as 16-bit frames for playback: each value within half a 16-bit step.
step = 1 / 32768
close = lambda a, b: abs(a - b) <= step / 2 + 1e-7
start = next((i for i, v in enumerate(mixed) if close(v, expected[0]) and
              all(close(a, b) for a, b in zip(mixed[i : i + 50], expected[:50]))), None)
if start is None:
    sys.exit("no stretch of the sample found in %d frames" % len(mixed))
got = mixed[start : start + len(expected)]
if len(got) < len(expected) or not all(close(a, b) for a, b in zip(got, expected)):
    sys.exit("the sample is not intact at frame %d" % start)
PY
}
wait_for 5 sample_played || {
  sample_played || true
  fail "the new pack's sample is not in the output"
}

type_in "$(window_named "Typing target")" keyup a
kill "$app" "$target_pid"
wait "$app" || true
echo "studio: ok"
