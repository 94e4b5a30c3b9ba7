# The tray icon opens the panel next to it; the panel pauses effects, switches the keyboard
# pack (the next key plays the new pack, captured with SDL's "disk" driver), opens the control
# window on Home with Ctrl+, (building it again after a close) and quits cleanly with Ctrl+Q. Without a tray host, the control
# window still opens at launch.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

output="$E2E_WORK/typing.raw"
settings="$XDG_CONFIG_HOME/plinkly/plinkly.ini"

# Two packs whose press samples are ramps running in opposite directions, at the output's rate.
make_pack() { # ID NAME START STEP
  local pack="$XDG_DATA_HOME/Knockwell/Keyboard Packs/$1"
  mkdir -p "$pack"
  python3 - "$pack" "$3" "$4" <<'PY'
import struct, sys, wave
start, step = int(sys.argv[2]), int(sys.argv[3])
for name, values in (("press.wav", [start + step * i for i in range(2000)]), ("release.wav", [0] * 200)):
    with wave.open(sys.argv[1] + "/" + name, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(48000)
        w.writeframes(b"".join(struct.pack("<h", v) for v in values))
PY
  cat >"$pack/manifest.json" <<JSON
{
  "id": "$1", "name": "$2", "author": "Tests", "switchType": "Linear",
  "version": "1", "license": "CC0-1.0", "kind": "keyboard",
  "groups": { "regular": { "down": ["press.wav"], "up": ["release.wav"] } }
}
JSON
}
make_pack e2e-ramp "E2E Ramp" 8000 3
make_pack e2e-zigzag "E2E Zigzag" 20000 -4
write_exact_sound_settings selectedKeyboardPack=e2e-ramp

xev -geometry 400x300+100+400 -name "Typing target" >/dev/null 2>&1 &
target_pid=$!
wait_for 10 has_window_named "Typing target" || fail "the target window did not appear"

QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$output" "$PLINKLY" >"$E2E_WORK/plinkly.log" 2>&1 &
plinkly=$!
wait_for 20 window_of_width 760 || fail "the control window did not open at launch"
control=$(window_of_width 760)

read -r icon_w icon_h icon_x icon_y <<<"$(tray_icon)"
[[ -n "$icon_y" ]] || fail "no tray icon was docked"
tray=$(xdotool search --class trayer | head -n1)

# The panel: the shown window 330 px wide.
panel_window() { window_of_width 330; }
open_panel() {
  xdotool mousemove $((icon_x + icon_w / 2)) $((icon_y + icon_h / 2)) click 1
  wait_for 5 panel_window || { screenshot e2e-tray-panel-failed; fail "clicking the tray icon opened no panel"; }
  panel=$(panel_window)
  read -r panel_x panel_y < <(xwininfo -id "$panel" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}')
  sleep 0.3
}
open_panel
screenshot e2e-tray-panel
# Under the icon, and reaching across it.
((panel_y == icon_y + icon_h)) || fail "panel top at $panel_y, icon bottom at $((icon_y + icon_h))"
((panel_x <= icon_x && panel_x + 330 >= icon_x + icon_w)) || fail "panel at x $panel_x is not under the icon at $icon_x"

# Row 3's first button pauses every effect; pressed again (now "Resume") it resumes.
xdotool mousemove $((panel_x + 60)) $((panel_y + 80)) click 1
wait_for 5 grep -q '^effectsPaused=true' "$settings" || fail "Pause All Effects did not pause"
sleep 0.3
xdotool mousemove $((panel_x + 60)) $((panel_y + 80)) click 1
wait_for 5 grep -q '^effectsPaused=false' "$settings" || fail "Resume All Effects did not resume"

# The sound pack pop-up (its row sits where the resumed panel puts it): the next pack in
# name order is the zigzag one.
xdotool mousemove $((panel_x + 200)) $((panel_y + 334)) click 1
sleep 0.5
xdotool key Down Return
wait_for 10 grep -q '^selectedKeyboardPack=e2e-zigzag' "$settings" || { screenshot e2e-tray-panel-failed; fail "choosing a pack stored nothing"; }
xdotool key Escape
panel_closed() { ! panel_window; }
wait_for 5 panel_closed || fail "Esc did not close the panel"

# Every engine opened so far has gone idle and closed its output; the next open starts the file afresh.
sleep 3
xdotool windowactivate --sync "$(window_named "Typing target")"
type_in "$(window_named "Typing target")" key a
sleep 1
python3 - "$output" <<'PY' || fail "the new pack's press sample is not in the output"
import struct, sys
data = open(sys.argv[1], "rb").read()
frames = struct.unpack("<%df" % (len(data) // 4), data[: len(data) // 4 * 4])
left = frames[0::2]
expected = [(20000 - 4 * i) / 32768 for i in range(2000)]
start = next((i for i, v in enumerate(left) if abs(v - expected[0]) < 1e-6), None)
if start is None:
    sys.exit("no frame of the new sample found in %d frames" % len(left))
got = left[start : start + len(expected)]
if len(got) < len(expected) or any(abs(a - b) > 1e-6 for a, b in zip(got, expected)):
    sys.exit("the new sample is not intact at frame %d" % start)
PY

# A closed control window is freed; Ctrl+, in the panel builds it again, shown and reachable
# by a screen reader like the first.
xdotool windowactivate --sync "$control" key alt+F4
no_control_window() { ! window_of_width 760 >/dev/null; }
wait_for 5 no_control_window || fail "the control window did not close"
open_panel
xdotool key ctrl+comma
wait_for 10 window_of_width 760 || { screenshot e2e-tray-panel-failed; fail "Ctrl+, did not open the control window again"; }
control=$(window_of_width 760)
wait_for 10 ui_showing --in Plinkly --role "push button" Sounds || fail "the reopened control window is not on the accessibility bus"

# Move the control window off Home, then Ctrl+, in the panel brings it back there.
origin_x=$(xwininfo -id "$control" | sed -n 's/.*Absolute upper-left X: *//p')
origin_y=$(xwininfo -id "$control" | sed -n 's/.*Absolute upper-left Y: *//p')
width=$(xwininfo -id "$control" | sed -n 's/.*Width: *//p')
button_x() { echo $((origin_x + 18 + $1 * (width - 36 - 42) / 7 + $1 * 7 + (width - 36 - 42) / 14)); }
pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- | tail -n1 | sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p'; }
is_accent() { local r g b; read -r r g b < <(pixel "$1" "$2"); ((r > 105 && r < 155 && g > 50 && g < 100 && b > 180 && b < 235)); }
underline_y=$((origin_y + 64 + 5 + 44 - 2))
xdotool windowactivate --sync "$control"
xdotool mousemove "$(button_x 6)" $((origin_y + 91)) click 1
wait_for 3 is_accent "$(button_x 6)" "$underline_y" || fail "the control window did not move to Privacy"
open_panel
xdotool key ctrl+comma
wait_for 3 is_accent "$(button_x 0)" "$underline_y" || { screenshot e2e-tray-panel-failed; fail "Ctrl+, did not show Home"; }
panel_window >/dev/null && fail "the panel stayed open over the control window"

# Ctrl+Q ends the process, with its usual clean exit.
open_panel
xdotool key ctrl+q
wait_for 10 bash -c "! kill -0 $plinkly" || fail "Ctrl+Q did not quit"
wait "$plinkly" || fail "Plinkly ended with status $?"

# Without a tray host the control window still comes up at launch.
trayer_pid=$(xprop -id "$tray" _NET_WM_PID | grep -o '[0-9]\+$' || true)
[[ -n "$trayer_pid" ]] || fail "the tray host's process is unknown"
kill "$trayer_pid"
wait_for 5 bash -c "! xwininfo -id $tray >/dev/null 2>&1" || fail "the tray host stayed"
"$PLINKLY" >"$E2E_WORK/plinkly-no-tray.log" 2>&1 &
plinkly=$!
wait_for 20 window_of_width 760 || fail "no control window without a tray"
kill "$plinkly" "$target_pid"
wait "$plinkly" || true
echo "tray panel: ok"
