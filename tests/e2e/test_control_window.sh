# The control window opens at 760×680 on Home, keeps its 620×500 minimum, shows each page
# its page-bar button is clicked for (at both sizes), and Ctrl+, fronts it on Home.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

write_exact_sound_settings
"$PLINKLY" >"$E2E_WORK/plinkly.log" 2>&1 &
plinkly=$!
# The application's hidden helper windows carry its name too; the control window is the shown one.
shown_window() { xdotool search --onlyvisible --name '^Plinkly$' | head -n1; }
wait_for 20 bash -c "xdotool search --onlyvisible --name '^Plinkly\$' | grep -q ." || fail "control window did not appear"
window=$(shown_window)

geometry() { xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p'; }
geometry_is() { [[ "$(geometry)" == "$1" ]]; }
wait_for 5 geometry_is 760x680 || fail "window opened at $(geometry)"

# Client origin and the page bar's layout: header 64 px, bar buttons 5..49 px below it,
# 18 px side padding, 7 px between buttons, underline on the button's bottom 2 px.
origin_x=$(xwininfo -id "$window" | sed -n 's/.*Absolute upper-left X: *//p')
origin_y=$(xwininfo -id "$window" | sed -n 's/.*Absolute upper-left Y: *//p')
button_x() { # INDEX WIDTH
  echo $((origin_x + 18 + $1 * ($2 - 36 - 42) / 7 + $1 * 7 + ($2 - 36 - 42) / 14))
}
pixel() { # X Y -> "R G B"
  import -window root -crop "1x1+$1+$2" -depth 8 txt:- | tail -n1 | sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p'
}
is_accent() { # X Y: the violet accent of the default theme
  local r g b
  read -r r g b < <(pixel "$1" "$2")
  ((r > 105 && r < 155 && g > 50 && g < 100 && b > 180 && b < 235))
}
underline_y=$((origin_y + 64 + 5 + 44 - 2))

check_pages() { # WIDTH
  local index hashes=()
  for index in 0 1 2 3 4 5 6; do
    xdotool mousemove "$(button_x $index "$1")" $((origin_y + 91)) click 1
    wait_for 3 is_accent "$(button_x $index "$1")" "$underline_y" || { screenshot e2e-control-window-failed; fail "page $index not selected at width $1: $(pixel "$(button_x $index "$1")" "$underline_y") at $(button_x $index "$1"),$underline_y"; }
    hashes+=("$(import -window "$window" -crop "400x60+20+140" -depth 8 rgb:- | md5sum | cut -c1-32)")
  done
  [[ $(printf '%s\n' "${hashes[@]}" | sort -u | wc -l) -eq 7 ]] || fail "pages look alike at width $1"
}
check_pages 760
screenshot e2e-control-window-760

xdotool windowsize "$window" 500 400
wait_for 5 geometry_is 620x500 || fail "window shrank below its minimum to $(geometry)"
check_pages 620
screenshot e2e-control-window-620

# On Privacy now; Ctrl+, comes back to Home and leaves the window active.
xdotool windowactivate --sync "$window" key ctrl+comma
wait_for 3 is_accent "$(button_x 0 620)" "$underline_y" || fail "Ctrl+, did not show Home"
[[ "$(xdotool getactivewindow)" == "$window" ]] || fail "Ctrl+, did not front the window"

kill "$plinkly"
wait "$plinkly" || true
echo "control window: ok"
