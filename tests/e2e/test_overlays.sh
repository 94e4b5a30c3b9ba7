# Overlays are click-through and leave on time: a click on an overlay reaches the window
# beneath it, and each transient overlay is gone after its lifetime. Screenshots of a ripple,
# a system reaction and the lid band are left in the build folder; a second display without
# a compositor shows that shaped overlays leave no black box.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

probe_bin="$BUILD_DIR/tests/plinkly_overlay_probe"
target_bin="$BUILD_DIR/tests/plinkly_click_target"
clicks="$E2E_WORK/clicks.log"
: >"$clicks"

"$target_bin" "$clicks" 300 400 640 320 >"$E2E_WORK/target.log" 2>&1 &
target=$!
wait_for 10 has_window_named "Plinkly click target" || fail "click target did not appear"
sleep 0.5

coproc PROBE { "$probe_bin" 2>"$E2E_WORK/probe.log"; }
probe() {
  echo "$*" >&"${PROBE[1]}"
  local reply
  read -r -t 10 -u "${PROBE[0]}" reply || fail "probe gave no answer to: $*"
  [[ "$reply" == "ok" || "$*" == "count" ]] || fail "probe refused '$*': $reply"
  echo "$reply"
}

visible_overlays() {
  xdotool search --onlyvisible --name '^Plinkly overlay$' 2>/dev/null | wc -l
}

# Whether a visible overlay window covers the point X Y.
overlay_covers() {
  local x=$1 y=$2 id
  for id in $(xdotool search --onlyvisible --name '^Plinkly overlay$' 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$id")"
    if ((x >= X && x < X + WIDTH && y >= Y && y < Y + HEIGHT)); then
      return 0
    fi
  done
  return 1
}

click_at() {
  xdotool mousemove "$1" "$2" click 1
}

pressed_at() {
  grep -q "^press $1 $2\$" "$clicks"
}

# The lid band stays while visible: a click through it reaches the window beneath.
probe lid tide 0.6 80 visible >/dev/null
wait_for 5 overlay_covers 600 680 || fail "lid band did not cover the click target"
sleep 0.6
screenshot e2e-overlay-lid-tide
click_at 600 680
wait_for 5 pressed_at 600 680 || fail "a click on the lid band did not reach the window beneath"
probe lid tide 0.6 80 hidden >/dev/null
wait_for 5 bash -c "[[ \$(xdotool search --onlyvisible --name '^Plinkly overlay\$' 2>/dev/null | wc -l) -eq 0 ]]" \
  || fail "lid band stayed after it was hidden"

# A ripple right under the pointer does not swallow the click, and leaves in well under a second.
xdotool mousemove 500 520
probe ripple 500 520 bubbles >/dev/null
overlay_covers 500 520 || fail "ripple is not over the pointer"
click_at 500 520
wait_for 5 pressed_at 500 520 || fail "a click on a ripple did not reach the window beneath"
sleep 1.0
[[ $(visible_overlays) -eq 0 ]] || fail "ripple still on screen after its lifetime"

probe ripple 640 560 neon >/dev/null
sleep 0.18
screenshot e2e-overlay-ripple-neon
sleep 1.0

# A system reaction card sits at the top, passes clicks and leaves after its time.
probe system chargerConnected burst >/dev/null
one_overlay() { [[ $(visible_overlays) -eq 1 ]]; }
wait_for 3 one_overlay || fail "system reaction card not shown"
screenshot e2e-overlay-system-charging
sleep 3
[[ $(visible_overlays) -eq 0 ]] || fail "system reaction card still on screen after its time"

# The flash covers the whole screen and is gone quickly.
probe flash >/dev/null
overlay_covers 5 5 || fail "flash does not cover the screen"
sleep 1
[[ $(visible_overlays) -eq 0 ]] || fail "flash still on screen"

echo quit >&"${PROBE[1]}"
wait "$PROBE_PID" 2>/dev/null || true
kill "$target" 2>/dev/null || true
wait "$target" 2>/dev/null || true

# Without a compositor a translucent window shows black where it is transparent; shaped
# overlays must show the desktop there instead.
shot_without_compositor e2e-overlay-shaped "system chargerConnected quiet" "$probe_bin"
# The card is centred at the top: a point in its empty margin, beside the card, must show
# the backdrop colour, and the card's middle must be dark.
margin_pixel=$(convert "$BUILD_DIR/e2e-overlay-shaped.png" -format '%[pixel:p{220,10}]' info:)
card_pixel=$(convert "$BUILD_DIR/e2e-overlay-shaped.png" -format '%[pixel:p{450,66}]' info:)
[[ "$margin_pixel" == "srgb(77,93,120)" ]] || fail "uncomposited overlay margin shows $margin_pixel, not the desktop"
[[ "$card_pixel" != "srgb(77,93,120)" ]] || fail "uncomposited overlay card is missing"

echo "overlays: ok"
