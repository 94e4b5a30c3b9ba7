# A key typed in another application plays the selected pack's press sample: Plinkly runs
# with SDL's "disk" audio driver, which writes what the typing engine mixes into a file, and
# the file must then hold the sample frame for frame.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

output="$E2E_WORK/typing.raw"
install_ramp_pack
write_exact_sound_settings selectedKeyboardPack=e2e-ramp

xev -geometry 400x300+100+100 -name "Typing target" >/dev/null 2>&1 &
target_pid=$!
wait_for 10 has_window_named "Typing target" || fail "the target window did not appear"

PLINKLY_AUDIO=sdl SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$output" "$PLINKLY" >"$E2E_WORK/plinkly.log" 2>&1 &
app=$!
wait_for 20 has_window_named "Plinkly" || fail "the control window did not appear"
# No output opens before a sound plays: the first key's open of the file starts it.
sleep 1
[[ ! -e "$output" ]] || fail "an output was opened before any sound played"

xdotool windowactivate --sync "$(window_named "Typing target")"
type_in "$(window_named "Typing target")" key a
sleep 1

python3 - "$output" <<'PY' || fail "the press sample is not in the output"
import struct, sys
data = open(sys.argv[1], "rb").read()
frames = struct.unpack("<%df" % (len(data) // 4), data[: len(data) // 4 * 4])
left, right = frames[0::2], frames[1::2]
expected = [(8000 + 3 * i) / 32768 for i in range(2000)]
start = next((i for i, v in enumerate(left) if abs(v - expected[0]) < 1e-6), None)
if start is None:
    sys.exit("no frame of the sample found in %d frames" % len(left))
for channel in (left, right):
    got = channel[start : start + len(expected)]
    if len(got) < len(expected) or any(abs(a - b) > 1e-6 for a, b in zip(got, expected)):
        sys.exit("the sample is not intact at frame %d" % start)
print("press sample found at frame %d of %d" % (start, len(left)))
PY

kill "$app" "$target_pid"
wait "$app" || true
echo "typing sound: ok"
