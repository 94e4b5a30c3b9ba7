# Screen toys on a composited desktop: equipping shows a canvas; clicks in another
# application leave marks on screen and still reach that application; Esc puts the toy away
# and the canvas goes. Screenshots of every toy, hand tone, marks, wet patches and a grenade
# explosion are left in the build folder.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

probe_bin="$BUILD_DIR/tests/plinkly_toy_probe"
target_bin="$BUILD_DIR/tests/plinkly_click_target"
clicks="$E2E_WORK/clicks.log"
: >"$clicks"

"$target_bin" "$clicks" 100 100 1080 600 "#d8dce6" >"$E2E_WORK/target.log" 2>&1 &
wait_for 10 has_window_named "Plinkly click target" || fail "click target did not appear"
sleep 0.5

coproc PROBE { "$probe_bin" 2>"$E2E_WORK/probe.log"; }
ask() {
  echo "$*" >&"${PROBE[1]}"
  local reply
  read -r -t 10 -u "${PROBE[0]}" reply || fail "probe gave no answer to: $*"
  echo "$reply"
}
expect_ok() {
  local reply
  reply=$(ask "$@")
  [[ "$reply" == ok ]] || fail "'$*' answered: $reply"
}

visible_canvases() {
  xdotool search --onlyvisible --name '^Plinkly screen toy$' 2>/dev/null | wc -l
}
has_canvas() { [[ $(visible_canvases) -ge 1 ]]; }
has_no_canvas() { [[ $(visible_canvases) -eq 0 ]]; }

click_at() {
  xdotool mousemove "$1" "$2" click 1
  sleep 0.15
}
pressed_at() {
  grep -q "^press $1 $2\$" "$clicks"
}

# The grey level (0…255) of one screen pixel in a screenshot.
grey_at() {
  convert "$BUILD_DIR/$1.png" -crop "1x1+$2+$3" -colorspace gray -format '%[fx:int(255*p{0,0})]' info:
}

expect_ok equip blaster
wait_for 5 has_canvas || fail "equipping the blaster showed no canvas"
[[ "$(ask status)" == "Blaster active · Esc to stop" ]] || fail "status after equipping: $(ask status)"

click_at 400 300
click_at 700 420
click_at 900 250
wait_for 5 pressed_at 700 420 || fail "a click with the blaster out did not reach the window beneath"
pressed_at 400 300 && pressed_at 900 250 || fail "not every click reached the window beneath"
[[ "$(ask marks)" -eq 3 ]] || fail "three clicks left $(ask marks) marks"
xdotool mousemove 640 380
sleep 0.3
screenshot e2e-toys-blaster-marks
background=$(grey_at e2e-toys-blaster-marks 200 600)
for point in "400 300" "700 420"; do
  set -- $point
  level=$(grey_at e2e-toys-blaster-marks "$1" "$2")
  ((level < background - 40)) || fail "no mark on screen at $1,$2 (grey $level, background $background)"
done

xdotool key Escape
toy_is_away() { [[ "$(ask toy)" == none ]]; }
wait_for 5 toy_is_away || fail "Esc did not put the blaster away"
wait_for 5 has_no_canvas || fail "the canvas stayed after Esc"

# The other toys and the hand tones, for the eye.
expect_ok equip waterGun
click_at 500 350
click_at 505 352
click_at 800 300
sleep 0.8
screenshot e2e-toys-watergun-patches

expect_ok equip ak47
xdotool mousemove 600 300 mousedown 1
sleep 0.35
xdotool mousemove 650 280
sleep 0.2
xdotool mouseup 1
(("$(ask marks)" >= 4)) || fail "holding the AK-47 for half a second fired $(ask marks) rounds"
screenshot e2e-toys-ak47

expect_ok equip grenade
click_at 640 330
sleep 1.5
screenshot e2e-toys-grenade-explosion

expect_ok equip whip
sleep 1.0
screenshot e2e-toys-whip

for tone in light tan brown deep; do
  expect_ok equip blaster "$tone"
  xdotool mousemove 760 300
  sleep 0.4
  screenshot "e2e-toys-tone-$tone"
done

expect_ok stop
wait_for 5 has_no_canvas || fail "the canvas stayed after stop"
ask quit >/dev/null || true
