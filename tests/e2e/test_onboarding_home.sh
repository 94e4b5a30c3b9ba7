# A first start shows onboarding, which the pet never walks onto; Continue three times and Done
# bring up the control window on Home, and the next start goes straight there. Choosing "Ocean"
# on Home recolours the selected page button and the feature cards.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

mkdir -p "$XDG_CONFIG_HOME/plinkly"
printf '%s\n' "[General]" installedCC0AudioUpgrade1=true didRequestInputMonitoringV2=true \
  >"$XDG_CONFIG_HOME/plinkly/plinkly.ini"

shown_named() { xdotool search --onlyvisible --name "^$1\$" | head -n1; }
pixel() { # X Y -> "R G B"
  import -window root -crop "1x1+$1+$2" -depth 8 txt:- | tail -n1 | sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p'
}
near() { # X Y R G B: the pixel lies within 30 of that colour in every channel
  local r g b
  read -r r g b < <(pixel "$1" "$2")
  ((${r:-999} - $3 < 30 && $3 - ${r:-999} < 30 && g - $4 < 30 && $4 - g < 30 && b - $5 < 30 && $5 - b < 30))
}
# How many pixels of a window area have that colour (within 12 per channel).
count_colour() { # WINDOW X Y W H R G B
  import -window "$1" -crop "$4x$5+$2+$3" -depth 8 txt:- | sed -n 's/^[^(]*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p' |
    awk -v r="$6" -v g="$7" -v b="$8" '{
      if ($1 - r < 12 && r - $1 < 12 && $2 - g < 12 && g - $2 < 12 && $3 - b < 12 && b - $3 < 12) n++
    } END { print n + 0 }'
}

"$PLINKLY" >"$E2E_WORK/first.log" 2>&1 &
plinkly=$!
wait_for 20 bash -c "xdotool search --onlyvisible --name '^Welcome to Plinkly\$' | grep -q ." ||
  fail "first start showed no onboarding"
welcome=$(shown_named "Welcome to Plinkly")
sleep 0.5
screenshot e2e-onboarding-first-page

# With the pointer resting on the welcome window, the pet waits where it stands instead of
# chasing the pointer onto the window's text and buttons.
eval "$(xdotool getwindowgeometry --shell "$welcome")"
wx=$X wy=$Y ww=$WIDTH wh=$HEIGHT
xdotool mousemove $((wx + ww / 2)) $((wy + wh / 2))
sleep 16
pet=$(shown_named "Plinkly pet")
[[ -n $pet ]] || fail "no pet on the first start"
eval "$(xdotool getwindowgeometry --shell "$pet")"
((X + WIDTH <= wx || X >= wx + ww || Y + HEIGHT <= wy || Y >= wy + wh)) ||
  { screenshot e2e-onboarding-pet; fail "the pet stands on the welcome window at $X $Y"; }

# The primary button sits in the footer's right corner: 28 px inset inside 520×380.
for _ in 1 2 3 4; do
  xdotool mousemove --window "$welcome" 447 338 click 1
  sleep 0.4
done
wait_for 10 bash -c "! xdotool search --onlyvisible --name '^Welcome to Plinkly\$' | grep -q ." ||
  { screenshot e2e-onboarding-stuck; fail "Done did not close onboarding"; }
wait_for 10 bash -c "xdotool search --onlyvisible --name '^Plinkly\$' | grep -q ." || fail "no control window after Done"
grep -q '^hasCompletedOnboarding=true' "$XDG_CONFIG_HOME/plinkly/plinkly.ini" || fail "onboarding not stored as done"
kill "$plinkly"
wait "$plinkly" || true

"$PLINKLY" >"$E2E_WORK/second.log" 2>&1 &
plinkly=$!
wait_for 20 bash -c "xdotool search --onlyvisible --name '^Plinkly\$' | grep -q ." || fail "second start showed no control window"
window=$(shown_named "Plinkly")
sleep 1
[[ -z "$(shown_named "Welcome to Plinkly")" ]] || fail "onboarding came back on the second start"

origin_x=$(xwininfo -id "$window" | sed -n 's/.*Absolute upper-left X: *//p')
origin_y=$(xwininfo -id "$window" | sed -n 's/.*Absolute upper-left Y: *//p')
# Home's page-bar button: the first of seven in 760 px, its underline on its bottom 2 px.
home_x=$((origin_x + 18 + (760 - 36 - 42) / 14))
underline_y=$((origin_y + 64 + 5 + 44 - 2))
violet=(130 74 209)
ocean=(33 102 176)
# The feature cards: two rows of two below the overview panel.
cards=(21 267 704 168)
near "$home_x" "$underline_y" "${violet[@]}" || fail "Home is not underlined in violet: $(pixel "$home_x" "$underline_y")"
[[ $(count_colour "$window" "${cards[@]}" "${violet[@]}") -gt 100 ]] || fail "cards are not violet"

# The Ocean swatch: second of six in the "Interface color" row.
xdotool mousemove --window "$window" 203 514 click 1
sleep 0.5
screenshot e2e-home-ocean
wait_for 3 near "$home_x" "$underline_y" "${ocean[@]}" ||
  fail "Home's button did not turn ocean: $(pixel "$home_x" "$underline_y")"
[[ $(count_colour "$window" "${cards[@]}" "${ocean[@]}") -gt 100 ]] || fail "cards did not turn ocean"
[[ $(count_colour "$window" "${cards[@]}" "${violet[@]}") -lt 10 ]] || fail "cards kept violet"
grep -q '^interfaceThemeID=ocean' "$XDG_CONFIG_HOME/plinkly/plinkly.ini" || fail "theme not stored"

kill "$plinkly"
wait "$plinkly" || true
echo "onboarding and home: ok"
