# Keys typed and buttons clicked in another X client reach the typing and click roads. This
# machine has no readable input device, so the ladder must settle on the display server's
# raw events ("Global AppKit fallback").
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
[[ "$mode" == "Global AppKit fallback" ]] || fail "capture mode was '$mode'"

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
kill "$target_pid" 2>/dev/null || true
echo "keystroke road: ok"
