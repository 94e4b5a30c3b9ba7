# Keys typed and buttons clicked in another X client reach the typing and click roads. This
# machine has no readable input device, so the ladder must settle on the display server's
# raw events ("Global (X11)"). First the input probe shows what the monitors hear;
# then Plinkly itself, on SDL's "disk" audio driver, must put a press and a release sound
# into the output for every key, and a click sound for a click.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

probe="$BUILD_DIR/tests/plinkly_input_probe"
heard="$E2E_WORK/heard.txt"

# Another application's window to type into.
xev -geometry 400x300+100+100 -name "Typing target" >/dev/null 2>&1 &
target_pid=$!
wait_for 10 has_window_named "Typing target" || fail "the target window did not appear"
target=$(window_named "Typing target")

"$probe" 8 >"$heard" 2>"$E2E_WORK/probe.err" &
probe_pid=$!
wait_for 10 grep -q '^mode: ' "$heard" || fail "the probe reported no capture mode"
mode=$(sed -n 's/^mode: //p' "$heard")
[[ "$mode" == "Global (X11)" ]] || fail "capture mode was '$mode'"

xdotool windowactivate --sync "$target"
xdotool type --window "$target" --delay 60 "plink"
xdotool mousemove --window "$target" 50 50 click 1
xdotool click 3

# p l i n k: evdev codes 25 38 23 49 37, each pressed and released once, labelled after the
# layout.
for entry in "25 P" "38 L" "23 I" "49 N" "37 K"; do
  set -- $entry
  wait_for 10 grep -q "^key $1 down regular fresh $2\$" "$heard" || fail "no press of $2 was heard"
  wait_for 10 grep -q "^key $1 up regular fresh -\$" "$heard" || fail "no release of $2 was heard"
  [[ $(grep -c "^key $1 down" "$heard") -eq 1 ]] || fail "$2 was heard more than once"
done
wait_for 10 grep -q '^click mouseLeft down$' "$heard" || fail "left click not heard"
wait_for 10 grep -q '^click mouseLeft up$' "$heard" || fail "left release not heard"
wait_for 10 grep -q '^click mouseRight down$' "$heard" || fail "right click not heard"

wait "$probe_pid" || fail "the probe did not stop cleanly"
tail -n1 "$heard" | grep -q '^stopped$' || fail "the monitors did not stop"

# Packs whose samples are ramps no other sound shares: press, release and click.
library="$XDG_DATA_HOME/Knockwell/Keyboard Packs"
mkdir -p "$library/e2e-keys" "$library/e2e-click"
python3 - "$library" <<'PY'
import struct, sys, wave
def ramp(path, start, step):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(48000)
        w.writeframes(b"".join(struct.pack("<h", start + step * i) for i in range(1000)))
ramp(sys.argv[1] + "/e2e-keys/press.wav", 8000, 3)
ramp(sys.argv[1] + "/e2e-keys/release.wav", -8000, -3)
ramp(sys.argv[1] + "/e2e-click/click.wav", 3000, 7)
PY
cat >"$library/e2e-keys/manifest.json" <<'JSON'
{
  "id": "e2e-keys", "name": "E2E Keys", "author": "Tests", "switchType": "Linear",
  "version": "1", "license": "CC0-1.0", "kind": "keyboard",
  "groups": { "regular": { "down": ["press.wav"], "up": ["release.wav"] } }
}
JSON
cat >"$library/e2e-click/manifest.json" <<'JSON'
{
  "id": "e2e-click", "name": "E2E Click", "author": "Tests", "switchType": "Mouse",
  "version": "1", "license": "CC0-1.0", "kind": "keyboard",
  "groups": { "mouseLeft": { "down": ["click.wav"], "up": [] } }
}
JSON

write_exact_sound_settings selectedKeyboardPack=e2e-keys selectedMousePack=e2e-click mouseEnabled=true \
  mouseVolume=1

# Every engine writes to this one file, opening it afresh (emptied) each time it starts
# after a rest: the keys are checked before the typing engine rests and the click opens the
# mouse engine.
output="$E2E_WORK/sound.raw"
# PipeWire's client library is loaded when its road is first tried; one that cannot be loaded
# sends the sound down the next road, and the log says why.
standins="$E2E_WORK/standins"
mkdir -p "$standins"
echo "not a library" >"$standins/libpipewire-0.3.so.0"
env -u PLINKLY_AUDIO LD_LIBRARY_PATH="$standins" QT_LOGGING_RULES="plinkly.audio=true" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$output" \
  "$PLINKLY" >"$E2E_WORK/plinkly.log" 2>&1 &
app=$!
wait_for 20 has_window_named "Plinkly" || fail "the control window did not appear"
sleep 1
[[ ! -e "$output" ]] || fail "an output was opened before any sound played"

xdotool windowactivate --sync "$target"
# Held long enough that no press overlaps its release in the mix.
for key in p l i n k; do
  xdotool keydown --window "$target" "$key"
  sleep 0.15
  xdotool keyup --window "$target" "$key"
  sleep 0.15
done
sleep 0.5
cp "$output" "$E2E_WORK/keys.raw"
# The typing engine rests after two quiet seconds; then the click opens the mouse engine.
sleep 3
xdotool mousemove --window "$target" 60 60 click 1
sleep 1
cp "$output" "$E2E_WORK/click.raw"
kill "$app"
wait "$app" || true
# The road that first tells the rate is the one sound goes through; why PipeWire was passed over
# is said when it fails.
grep -q "sound goes through sdl" "$E2E_WORK/plinkly.log" &&
  grep "pipewire: " "$E2E_WORK/plinkly.log" | grep -q "standins/libpipewire-0.3.so.0" ||
  fail "the log does not say why PipeWire was passed over: $(grep "plinkly.audio" "$E2E_WORK/plinkly.log")"

# find RAW START STEP: how many intact copies of that ramp, centred, the output holds.
count_ramps() {
  python3 - "$@" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
frames = struct.unpack("<%df" % (len(data) // 4), data[: len(data) // 4 * 4])
left, right = frames[0::2], frames[1::2]
start, step = int(sys.argv[2]), int(sys.argv[3])
expected = [(start + step * i) / 32768 for i in range(1000)]
found, i = 0, 0
while i + len(expected) <= len(left):
    if abs(left[i] - expected[0]) < 1e-6 and all(
        abs(left[i + k] - v) < 1e-6 and abs(right[i + k] - v) < 1e-6 for k, v in enumerate(expected)):
        found += 1
        i += len(expected)
    else:
        i += 1
print(found)
PY
}
presses=$(count_ramps "$E2E_WORK/keys.raw" 8000 3)
releases=$(count_ramps "$E2E_WORK/keys.raw" -8000 -3)
[[ "$presses" -eq 5 ]] || fail "$presses press sounds for five keys"
[[ "$releases" -eq 5 ]] || fail "$releases release sounds for five keys"
# The click road varies each click's loudness and pitch a little, so a click is a single
# rising burst of about the ramp's length and level rather than the exact samples.
clicks=$(python3 - "$E2E_WORK/click.raw" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
frames = struct.unpack("<%df" % (len(data) // 4), data[: len(data) // 4 * 4])
left, right = frames[0::2], frames[1::2]
bursts, i = 0, 0
while i < len(left):
    if abs(left[i]) < 1e-6:
        i += 1
        continue
    end = i
    while end < len(left) and abs(left[end]) >= 1e-6:
        end += 1
    burst = left[i:end]
    rising = burst[: int(len(burst) * 0.9)]
    if (900 <= len(burst) <= 1100 and abs(burst[0] / (3000 / 32768) - 1) < 0.12
            and all(b > a for a, b in zip(rising, rising[1:]))
            and all(abs(l - r) < 1e-6 for l, r in zip(burst, right[i:end]))):
        bursts += 1
    i = end
print(bursts)
PY
)
[[ "$clicks" -eq 1 ]] || fail "$clicks click sounds for one click"

kill "$target_pid" 2>/dev/null || true
echo "keystroke road: ok"
