# The sound studio's whole road on a real display: open a generated clip, move the crop
# start on the waveform, fade it in, apply, add three clips, install the pack; the library
# lists it, closing leaves no temporary files, and Plinkly then plays the new pack's sample
# when a key is typed (SDL's "disk" driver records what it mixes).
set -euo pipefail
source "$(dirname "$0")/lib.sh"

studio_helper="$BUILD_DIR/tests/plinkly_studio_window"
library="$XDG_DATA_HOME/Knockwell"
clip="$E2E_WORK/pluck.wav"
replies="$E2E_WORK/studio.out"

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

mkfifo "$E2E_WORK/studio.in"
"$studio_helper" "$library" <"$E2E_WORK/studio.in" >"$replies" 2>"$E2E_WORK/studio.err" &
studio=$!
exec 4>"$E2E_WORK/studio.in"
wait_for 20 has_window_named "Sound Studio" || fail "the studio did not appear"

# where NAME: "X Y WIDTH" of the named widget, or "none".
reply_pattern='^([0-9-]+ [0-9-]+ [0-9]+|none)$'
reply_count() {
  grep -cE "$reply_pattern" "$replies" || true
}
replied_after() {
  (($(reply_count) > $1))
}
where() {
  local before
  before=$(reply_count)
  echo "where $1" >&4
  wait_for 10 replied_after "$before" || fail "no answer for $1"
  grep -E "$reply_pattern" "$replies" | tail -n1
}
click() {
  local x y width
  read -r x y width <<<"$(where "$1")"
  [[ $x != none ]] || fail "\"$1\" is not on screen"
  xdotool mousemove "$x" "$y" click 1
  sleep 0.3
}
# drag NAME FROM TO: presses at FROM pixels right of the widget's left edge, releases at TO.
drag() {
  local x y width left
  read -r x y width <<<"$(where "$1")"
  [[ $x != none ]] || fail "\"$1\" is not on screen"
  left=$((x - width / 2))
  xdotool mousemove $((left + $2)) "$y" mousedown 1 mousemove $((left + ($2 + $3) / 2)) "$y" \
    mousemove $((left + $3)) "$y" mouseup 1
  sleep 0.3
}
visible() {
  [[ "$(where "$1")" != none ]]
}

click "Open Audio…"
wait_for 10 has_window_named "Open Audio" || fail "the open panel did not appear"
xdotool type --delay 20 "$clip"
xdotool key Return
wait_for 20 visible "1.50 seconds · 48000 Hz" || fail "the clip did not load"

drag "Crop start handle" 14 120
drag "Fade in (seconds)" 8 60
click "Apply Edit"
visible "Selection must contain audio, and fades must fit inside it." && fail "the edit was refused"
click "Preview"
ls "$TMPDIR"/knockwell-studio-*/knockwell-preview-*.wav >/dev/null || fail "no preview file was written"

click "Creator name"
xdotool type --delay 20 "E2E Tester"
for _ in 1 2 3; do click "Add to Pack"; done
visible "3 / 256 samples" || fail "the pack does not list three clips"
click "Install Pack"
wait_for 30 grep -q "^keyboard 1 reaction 0$" "$replies" || fail "the library did not list the new pack"
wait_for 10 visible "Installed. Select your pack from the sound library." || fail "no installation notice"
screenshot studio-installed

manifest=$(grep -l '"My Sound Pack"' "$library/Keyboard Packs"/*/manifest.json | head -n1)
[[ -n $manifest ]] || fail "the installed pack has no manifest"
pack_id=$(python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))["id"])' "$manifest")
[[ $(ls "$(dirname "$manifest")/samples" | wc -l) -eq 3 ]] || fail "the pack does not hold three samples"

click "Close"
wait_for 10 grep -q "^closed$" "$replies" || fail "the studio did not close"
exec 4>&-
wait "$studio" || fail "the studio helper failed"
leftovers=$(find "$TMPDIR" -mindepth 1 | head -n5)
[[ -z $leftovers ]] || fail "temporary files are left: $leftovers"

# The new pack plays: its first sample must come out of the typing engine intact.
output="$E2E_WORK/typing.raw"
write_exact_sound_settings selectedKeyboardPack="$pack_id"
xev -geometry 400x300+100+100 -name "Typing target" >/dev/null 2>&1 &
target_pid=$!
wait_for 10 has_window_named "Typing target" || fail "the target window did not appear"
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$output" "$PLINKLY" >"$E2E_WORK/plinkly.log" 2>&1 &
app=$!
wait_for 20 has_window_named "Plinkly" || fail "the control window did not appear"
sleep 3
xdotool windowactivate --sync "$(window_named "Typing target")"
# Only the press: the pack has no release sample, so a release would play the press again.
xdotool keydown --window "$(window_named "Typing target")" a
sleep 1

python3 - "$output" "$(dirname "$manifest")/samples/0.wav" <<'PY' || fail "the new pack's sample is not in the output"
import struct, sys
data = open(sys.argv[1], "rb").read()
mixed = struct.unpack("<%df" % (len(data) // 4), data[: len(data) // 4 * 4])[0::2]
wav = open(sys.argv[2], "rb").read()
offset = 12
while wav[offset : offset + 4] != b"data":
    offset += 8 + struct.unpack("<I", wav[offset + 4 : offset + 8])[0]
size = struct.unpack("<I", wav[offset + 4 : offset + 8])[0]
sample = struct.unpack("<%df" % (size // 4), wav[offset + 8 : offset + 8 + size])
# The clip fades in from silence: match from its first clearly audible frame.
first = next(i for i, v in enumerate(sample) if abs(v) > 0.01)
expected = sample[first : first + 2000]
start = next((i for i, v in enumerate(mixed) if abs(v - expected[0]) < 1e-6 and
              all(abs(a - b) < 1e-5 for a, b in zip(mixed[i : i + 50], expected[:50]))), None)
if start is None:
    sys.exit("no stretch of the sample found in %d frames" % len(mixed))
got = mixed[start : start + len(expected)]
if any(abs(a - b) > 1e-5 for a, b in zip(got, expected)):
    sys.exit("the sample is not intact at frame %d" % start)
print("new pack's sample found at frame %d" % start)
PY

xdotool keyup --window "$(window_named "Typing target")" a
kill "$app" "$target_pid"
wait "$app" || true
echo "studio: ok"
