# The desktop pet on a real desktop: it shows at its placement on every workspace, a click on
# the figure reaches the pet and opens its menu while a click in the panel's empty overhang
# reaches the window beneath, choosing "Sounds" and then a row sends that row's command and
# closes the menu, a drag moves it and reports the new placement, and hiding it takes it off
# the screen; a pet the window manager is slow to take in lets the same clicks through.
# Screenshots of the pet and its menu pages are left in the build folder.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

probe_bin="$BUILD_DIR/tests/plinkly_pet_probe"
target_bin="$BUILD_DIR/tests/plinkly_click_target"
clicks="$E2E_WORK/clicks.log"
events="$E2E_WORK/pet-events.log"
: >"$clicks"
: >"$events"

"$target_bin" "$clicks" 0 0 1280 800 "#4d5d78" >"$E2E_WORK/target.log" 2>&1 &
target=$!
wait_for 10 has_window_named "Plinkly click target" || fail "click target did not appear"
sleep 0.5

coproc PROBE { "$probe_bin" "$events" 2>"$E2E_WORK/probe.log"; }
probe() {
  echo "$*" >&"${PROBE[1]}"
  local reply
  read -r -t 10 -u "${PROBE[0]}" reply || fail "probe gave no answer to: $*"
  echo "$reply"
}

menu_is_open() {
  [[ "$(probe menu)" == open ]]
}

menu_is_closed() {
  [[ "$(probe menu)" == closed ]]
}

pet_visible() {
  [[ -n "$(xdotool search --onlyvisible --name '^Plinkly pet$' 2>/dev/null)" ]]
}

# The default placement is the bottom-right corner: 44 past the right edge, 8 above the bottom.
probe show >/dev/null
wait_for 5 pet_visible || fail "pet did not appear"
placed() {
  read -r x y w h <<<"$(probe frame)"
  [[ "$x $y $w $h" == "1154 670 170 122" ]]
}
wait_for 5 placed || fail "pet panel at $x $y $w $h, not at its placement"
pet_id=$(window_named "Plinkly pet")
xprop -id "$pet_id" _NET_WM_DESKTOP | grep -q 4294967295 || fail "pet is not on every workspace"
xprop -id "$pet_id" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR || fail "pet shows in the task bar"
screenshot e2e-pet-idle

# The overhang left of the figure lets the click through; the figure catches it.
xdotool mousemove $((x + 12)) $((y + 100)) click 1
wait_for 5 grep -q "^press $((x + 12)) $((y + 100))\$" "$clicks" || fail "a click beside the pet did not reach the window beneath"
read -r fx fy <<<"$(probe figure)"
xdotool mousemove "$fx" "$fy" click 1
wait_for 5 menu_is_open || fail "a click on the figure did not open the pet's menu"
grep -q "^press $fx $fy\$" "$clicks" && fail "a click on the figure also reached the window beneath"
sleep 0.5
screenshot e2e-pet-menu

# A tile changes the page; a row sends its one command and the menu closes.
read -r tx ty <<<"$(probe item Sounds)"
xdotool mousemove "$tx" "$ty" click 1
sleep 0.4
screenshot e2e-pet-menu-sounds
read -r rx ry <<<"$(probe item Toggle keyboard sounds)"
[[ -n "$ry" ]] || fail "the Sounds page has no keyboard row"
xdotool mousemove "$rx" "$ry" click 1
wait_for 5 grep -q "^action toggleTyping\$" "$events" || fail "the row sent no command"
[[ $(grep -c "^action" "$events") -eq 1 ]] || fail "the row sent more than one command"
wait_for 5 menu_is_closed || fail "the menu stayed open after a row"

# Reopened, the menu starts on its grid; the close button sends nothing.
read -r fx fy <<<"$(probe figure)"
xdotool mousemove "$fx" "$fy" click 1
wait_for 5 menu_is_open || fail "the menu did not open again"
[[ "$(probe item Sounds)" != "no item" ]] || fail "the reopened menu is not on its grid"
read -r cx cy <<<"$(probe item close)"
xdotool mousemove "$cx" "$cy" click 1
closed_again() {
  local cx cy cw ch
  read -r cx cy cw ch <<<"$(probe frame)"
  [[ "$cy $cw $ch" == "$y $w $h" ]]
}
wait_for 5 closed_again || fail "closing the menu did not shrink the panel back"
read -r x y w h <<<"$(probe frame)"
read -r fx fy <<<"$(probe figure)"

# A drag to the left and up moves the panel and reports a placement away from the corner.
xdotool mousemove "$fx" "$fy" mousedown 1
for step in $(seq 1 20); do
  xdotool mousemove $((fx - step * 20)) $((fy - step * 10))
  sleep 0.02
done
xdotool mouseup 1
wait_for 5 grep -q "^placement" "$events" || fail "the drag reported no placement"
read -r _ px py <<<"$(grep '^placement' "$events" | tail -n1)"
read -r nx ny _ _ <<<"$(probe frame)"
((nx == x - 400 && ny == y - 200)) || fail "dragged panel at $nx $ny, not 400 left and 200 up of $x $y"
awk -v px="$px" -v py="$py" 'BEGIN { exit !(px > 0.6 && px < 0.8 && py > 0.2 && py < 0.4) }' \
  || fail "reported placement $px $py does not match the drop"
grep -q "^press" <(tail -n +2 "$clicks") && fail "the drag reached the window beneath"
sleep 0.3
screenshot e2e-pet-dragged

probe hide >/dev/null
wait_for 5 bash -c "! xdotool search --onlyvisible --name '^Plinkly pet\$' >/dev/null 2>&1" || fail "pet stayed after hide"

echo quit >&"${PROBE[1]}"
wait "$PROBE_PID" 2>/dev/null || true

# A pet window the window manager takes in only after its input region was set still lets
# clicks beside the figure through: the manager is held off while a new pet first shows. The
# pet sleeps, so no idle motion changes its input region in the meantime.
: >"$clicks"
coproc PROBE { "$probe_bin" /dev/null 2>>"$E2E_WORK/probe.log"; }
probe mood sleeping >/dev/null
kill -STOP "$E2E_WM_PID"
probe show >/dev/null
sleep 0.3
kill -CONT "$E2E_WM_PID"
wait_for 5 pet_visible || fail "the late-managed pet did not appear"
read -r x y _ _ <<<"$(probe frame)"
target_frame=$(xwininfo -children -id "$(window_named "Plinkly click target")" | awk '/Parent window id/ { print $4 }')
pointer_reaches_target() {
  xdotool mousemove $((x + 12)) $((y + 100))
  [[ "$(xdotool getmouselocation --shell | sed -n 's/^WINDOW=//p')" == "$((target_frame))" ]]
}
wait_for 5 pointer_reaches_target || fail "beside the late-managed pet the pointer stays on the pet"
xdotool click 1
wait_for 5 grep -q "^press $((x + 12)) $((y + 100))\$" "$clicks" || fail "a click beside the late-managed pet did not reach the window beneath"
echo quit >&"${PROBE[1]}"
wait "$PROBE_PID" 2>/dev/null || true
kill "$target" 2>/dev/null || true
wait "$target" 2>/dev/null || true

# Without a compositor the pet is a shaped window: beside the figure the desktop shows, not black.
shot_without_compositor e2e-pet-shaped show "$probe_bin" /dev/null
# The panel sits at 674,470 on the 800 x 600 screen; its figure is centred 42 above its bottom.
beside=$(convert "$BUILD_DIR/e2e-pet-shaped.png" -format '%[pixel:p{684,560}]' info:)
figure=$(convert "$BUILD_DIR/e2e-pet-shaped.png" -format '%[pixel:p{759,560}]' info:)
[[ "$beside" == "srgb(77,93,120)" ]] || fail "beside the uncomposited pet the screen shows $beside, not the desktop"
[[ "$figure" != "srgb(77,93,120)" ]] || fail "the uncomposited pet is missing"
echo "pet: ok"
