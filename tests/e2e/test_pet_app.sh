# Plinkly shows its pet while "petEnabled" is on: at the stored placement, above other windows,
# but never over Plinkly's own windows: beside the control window while it is open, back at its
# placement when it is minimized. A drag of the figure stores the new placement in the settings
# file, where the pet reappears after being switched off and on. With the setting off no pet
# appears.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

settings="$XDG_CONFIG_HOME/plinkly/plinkly.ini"

pet_visible() {
  [[ -n "$(xdotool search --onlyvisible --name '^Plinkly pet$' 2>/dev/null)" ]]
}

run_plinkly() {
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$PLINKLY" >"$E2E_WORK/plinkly-$1.log" 2>&1 &
  app=$!
  wait_for 20 has_window_named "Plinkly" || fail "Plinkly did not open its control window"
}

stop_plinkly() {
  kill "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
}

write_exact_sound_settings petEnabled=false
run_plinkly off
sleep 2
pet_visible && fail "the pet showed with petEnabled off"
stop_plinkly

write_exact_sound_settings petEnabled=true petPositionX=0.5 petPositionY=0
run_plinkly on
wait_for 10 pet_visible || fail "the pet did not show with petEnabled on"
pet=$(xdotool search --onlyvisible --name '^Plinkly pet$' | head -n1)
control=$(xdotool search --onlyvisible --name "^Plinkly$" | head -n1)
# The pet's frame and the control window's (its client area; the frame around it is larger)
# share no point.
apart() {
  eval "$(xdotool getwindowgeometry --shell "$control")"
  local cx=$X cy=$Y cw=$WIDTH ch=$HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$pet")"
  ((X + WIDTH <= cx || cx + cw <= X || Y + HEIGHT <= cy || cy + ch <= Y))
}
# Halfway along the 1280-point screen widened by 44 on each side; 8 above the bottom.
placed() {
  eval "$(xdotool getwindowgeometry --shell "$pet")"
  ((X == ${1:-555} && Y == ${2:-670} && WIDTH == 170 && HEIGHT == 122))
}
for round in 1 2; do
  # Over the pet's placement: the pet steps beside it, and back when it is minimized.
  xdotool windowactivate --sync "$control" windowmove --sync "$control" 400 420
  wait_for 5 apart || { screenshot e2e-pet-app-over; fail "the pet stands on the control window (round $round)"; }
  screenshot e2e-pet-app-beside-$round
  xdotool windowminimize --sync "$control"
  wait_for 5 placed || fail "pet at $X $Y ${WIDTH}x$HEIGHT, not at its placement (round $round)"
done
screenshot e2e-pet-app

# The figure sits 4 above the panel's bottom edge, centred.
fx=$((X + 85)) fy=$((Y + HEIGHT - 4 - 38))
xdotool mousemove "$fx" "$fy" mousedown 1
for step in $(seq 1 10); do
  xdotool mousemove $((fx - step * 30)) $((fy - step * 20))
  sleep 0.02
done
xdotool mouseup 1
# 300 left of the middle of the 1198 points of free room, 200 up from the bottom.
placement_saved() {
  awk -F= '/^petPositionX=/ { x = $2 } /^petPositionY=/ { y = $2 }
           END { exit !(x > 0.249 && x < 0.25 && y > 0.25 && y < 0.35) }' "$settings"
}
wait_for 10 placement_saved || fail "the dragged placement is not in the settings file: $(grep petPosition "$settings")"
eval "$(xdotool getwindowgeometry --shell "$pet")"
((X == 255 && Y == 470)) || fail "dragged pet at $X $Y"

# Switched off and on again, the pet comes back where it was left once the window is down.
xdotool windowactivate --sync "$control"
for _ in 1 2; do
  ui_click --in Plinkly --role "check box" "Desktop Pet"
  sleep 0.5
done
wait_for 10 pet_visible || fail "the pet did not come back"
apart || { screenshot e2e-pet-app-again; fail "the pet came back onto the control window"; }
xdotool windowminimize --sync "$control"
wait_for 5 placed 255 470 || { screenshot e2e-pet-app-again; fail "the pet came back at $X $Y"; }

stop_plinkly
echo "pet app: ok"
