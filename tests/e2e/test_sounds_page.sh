# A pack ZIP imported through the Sounds page's "Import Pack…" and its file dialog shows up as
# a card; clicking the card makes it the typing sound, which the next key plays (SDL's "disk"
# driver writes the mix into a file). A ZIP with an unsafe path raises the import alert and
# leaves the library as it was.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

output="$E2E_WORK/typing.raw"
library="$XDG_DATA_HOME/Knockwell/Keyboard Packs"
archive="$E2E_WORK/ramp-pack.zip"
hostile="$E2E_WORK/hostile-pack.zip"

# The pack: a 16-bit ramp whose every frame differs, a silent release, named to sort first.
python3 - "$archive" "$hostile" <<'PY'
import io, json, struct, sys, wave, zipfile
def wav(values):
    data = io.BytesIO()
    with wave.open(data, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(48000)
        w.writeframes(b"".join(struct.pack("<h", v) for v in values))
    return data.getvalue()
manifest = {"id": "e2e-zip-ramp", "name": "AAA Zip Ramp", "author": "Tests", "switchType": "Linear",
            "version": "1", "license": "CC0-1.0", "kind": "keyboard",
            "groups": {"regular": {"down": ["press.wav"], "up": ["release.wav"]}}}
with zipfile.ZipFile(sys.argv[1], "w") as z:
    z.writestr("Zip Ramp/manifest.json", json.dumps(manifest))
    z.writestr("Zip Ramp/press.wav", wav([8000 + 3 * i for i in range(2000)]))
    z.writestr("Zip Ramp/release.wav", wav([0] * 200))
hostile = dict(manifest, id="e2e-hostile", name="AAA Hostile")
with zipfile.ZipFile(sys.argv[2], "w") as z:
    z.writestr("manifest.json", json.dumps(hostile))
    z.writestr("press.wav", wav([1] * 100))
    z.writestr("../../escaped.wav", wav([1] * 100))
PY

write_exact_sound_settings interactionStatsEnabled=false

xev -geometry 300x200+900+100 -name "Typing target" >/dev/null 2>&1 &
target_pid=$!
wait_for 10 has_window_named "Typing target" || fail "the target window did not appear"

SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$output" "$PLINKLY" >"$E2E_WORK/plinkly.log" 2>&1 &
app=$!
wait_for 20 bash -c "xdotool search --onlyvisible --name '^Plinkly\$' | grep -q ." || fail "control window did not appear"
window=$(xdotool search --onlyvisible --name '^Plinkly$' | head -n1)
xdotool windowmove --sync "$window" 0 0
sleep 0.5
origin_x=$(xwininfo -id "$window" | sed -n 's/.*Absolute upper-left X: *//p')
origin_y=$(xwininfo -id "$window" | sed -n 's/.*Absolute upper-left Y: *//p')
click() { # X Y in the window's client area
  xdotool mousemove $((origin_x + $1)) $((origin_y + $2)) click 1
}

# The page bar's second button, then the page at 760×680: the page starts 119 px down; with
# statistics off and two rows of cards the import button sits at 288,516 in it and the first
# card at 116,342.
click $((18 + (760 - 78) / 7 + 7 + (760 - 78) / 14)) 91
sleep 0.5

import_through_dialog() { # ZIP
  click 288 $((119 + 516))
  wait_for 10 has_window_named "Choose a sound-pack folder, ZIP, or audio files" || {
    screenshot e2e-sounds-page-no-dialog
    fail "the import dialog did not open"
  }
  sleep 0.5
  xdotool type --delay 20 "$1"
  xdotool key Return
}

import_through_dialog "$archive"
wait_for 20 test -f "$library/e2e-zip-ramp/manifest.json" || fail "the pack was not installed"
sleep 1
screenshot e2e-sounds-page-imported

# Selecting the new card loads it; its preview plays too, so the output is started afresh
# once every engine has gone idle and closed it.
click 116 $((119 + 342))
wait_for 10 grep -q '^selectedKeyboardPack=e2e-zip-ramp$' "$XDG_CONFIG_HOME/plinkly/plinkly.ini" ||
  fail "clicking the new card did not select it"
sleep 3
rm -f "$output"

xdotool windowactivate --sync "$(window_named "Typing target")"
type_in "$(window_named "Typing target")" key a
sleep 1
python3 - "$output" <<'PY' || fail "the new pack's press sample is not in the output"
import struct, sys
data = open(sys.argv[1], "rb").read()
left = struct.unpack("<%df" % (len(data) // 4), data[: len(data) // 4 * 4])[0::2]
expected = [(8000 + 3 * i) / 32768 for i in range(2000)]
start = next((i for i, v in enumerate(left) if abs(v - expected[0]) < 1e-6), None)
if start is None or any(abs(a - b) > 1e-6 for a, b in zip(left[start : start + 2000], expected)):
    sys.exit("sample not found intact in %d frames" % len(left))
PY

# The hostile archive: the alert, and nothing new in the library or beside it.
xdotool windowactivate --sync "$window"
before=$(ls -a "$library")
import_through_dialog "$hostile"
wait_for 20 has_window_named "Couldn’t import that sound pack" || {
  screenshot e2e-sounds-page-no-alert
  fail "the hostile archive raised no alert"
}
screenshot e2e-sounds-page-hostile
[[ "$(ls -a "$library")" == "$before" ]] || fail "the hostile import changed the library"
[[ -z "$(find "$XDG_DATA_HOME" "$E2E_WORK" -name escaped.wav)" ]] || fail "an entry escaped the library"

kill "$app" "$target_pid"
wait "$app" || true
echo "sounds page: ok"
