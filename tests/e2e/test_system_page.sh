# The System page on a real desktop: every preview button, pressed with a real click, puts its
# overlay on the screen (seen in a screenshot against the screen before), a ripple chip shows
# its ripple under the pointer, and a chip press stores its style in the settings file.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

driver_bin="$BUILD_DIR/tests/plinkly_system_page_driver"
settings_file="$XDG_CONFIG_HOME/plinkly/plinkly.ini"
write_exact_sound_settings systemReactionsEnabled=true batteryReactionsEnabled=true wakeReactionsEnabled=true \
  arrivalReactionsEnabled=true downloadReactionsEnabled=true deviceReactionsEnabled=true \
  cursorEffectsEnabled=false cursorEffectStyleID=bubbles lidDanceStyleID=tide

coproc DRIVER { exec "$driver_bin" 2>"$E2E_WORK/driver.log"; }
ask() {
  echo "$*" >&"${DRIVER[1]}"
  local reply
  read -r -t 10 -u "${DRIVER[0]}" reply || fail "driver gave no answer to: $*"
  echo "$reply"
}
wait_for 20 bash -c "xdotool search --onlyvisible --name '^Plinkly\$' | grep -q ." || fail "control window did not appear"
sleep 1

overlay_ids() { xdotool search --onlyvisible --name '^Plinkly overlay$' 2>/dev/null || true; }
no_overlays() { [[ -z "$(overlay_ids)" ]]; }
some_overlay() { [[ -n "$(overlay_ids)" ]]; }

shot() { import -window root -depth 8 "$1"; }

# Scrolls the control named NAME into view, saves the screen as it is then in before.png,
# and clicks the control.
press() { # NAME
  local at
  at=$(ask where "$1")
  [[ "$at" =~ ^[0-9]+\ [0-9]+$ ]] || fail "no control '$1' on the page: $at"
  sleep 0.3
  shot "$E2E_WORK/before.png"
  # shellcheck disable=SC2086
  xdotool mousemove $at click 1
}

# Pixels that differ between two screenshots inside the first overlay's area.
changed_in_overlay() { # BEFORE AFTER
  local id X Y WIDTH HEIGHT
  id=$(overlay_ids | head -n1)
  [[ -n "$id" ]] || { echo 0; return; }
  eval "$(xdotool getwindowgeometry --shell "$id")"
  compare -metric AE -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" "$1" "$2" null: 2>&1 || true
}

check_preview() { # NAME
  local name=$1 tag=${1// /-}
  wait_for 6 no_overlays || fail "overlays still up before '$name'"
  press "$name"
  wait_for 5 some_overlay || { screenshot "e2e-system-$tag-missing"; fail "'$name' showed no overlay"; }
  shot "$E2E_WORK/after.png"
  cp "$E2E_WORK/after.png" "$BUILD_DIR/e2e-system-$tag.png"
  local changed
  changed=$(changed_in_overlay "$E2E_WORK/before.png" "$E2E_WORK/after.png")
  changed=${changed%%.*}
  ((changed > 50)) || fail "'$name' overlay left the screen unchanged ($changed pixels)"
}

for name in "Preview charge" "Preview low battery" "Preview full" "Preview sleep" "Preview wake" \
  "Preview download" "Preview drive" "Preview display" "Aurora"; do
  check_preview "$name"
done
# The flash is gone 0.42 s after the click, and the compositor blending it over the whole
# screen slows every X request meanwhile: screenshots are taken one after another from the
# click on, and one of them must show its bright rim along the top of the screen.
wait_for 6 no_overlays || fail "overlays still up before 'Preview Flash'"
press "Preview Flash"
for frame in 1 2 3 4 5 6; do shot "$E2E_WORK/flash-$frame.png"; done
width=$(identify -format %w "$E2E_WORK/before.png")
brightest=0
for frame in 1 2 3 4 5 6; do
  changed=$(compare -metric AE -crop "${width}x4+0+0" "$E2E_WORK/before.png" "$E2E_WORK/flash-$frame.png" null: 2>&1 || true)
  changed=${changed%%.*}
  ((changed > brightest)) && brightest=$changed && cp "$E2E_WORK/flash-$frame.png" "$BUILD_DIR/e2e-system-Preview-Flash.png"
done
((brightest > width * 3)) || fail "'Preview Flash' left the top of the screen unchanged ($brightest of $((width * 4)) pixels)"

# A ripple chip: the ripple sits under the pointer, and the chosen style reaches the file.
press "Neon Pulse"
wait_for 2 some_overlay || fail "the ripple chip showed no ripple"
read -r px py < <(xdotool getmouselocation --shell | sed -n 's/^[XY]=//p' | paste -sd' ')
eval "$(xdotool getwindowgeometry --shell "$(overlay_ids | head -n1)")"
((px >= X && px < X + WIDTH && py >= Y && py < Y + HEIGHT)) || fail "ripple at $X,$Y not under the pointer $px,$py"
wait_for 5 grep -q '^cursorEffectStyleID=neon$' "$settings_file" || fail "chip style not stored: $(grep cursorEffect "$settings_file")"
grep -q '^lidDanceStyleID=aurora$' "$settings_file" || fail "lid chip style not stored"

echo quit >&"${DRIVER[1]}"
wait "$DRIVER_PID" 2>/dev/null || true
echo "system page: ok"
