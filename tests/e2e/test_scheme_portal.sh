# The colour scheme as a GNOME desktop sets it: the installed settings portal, with its GTK
# backend reading org.gnome.desktop.interface color-scheme from dconf. Plinkly starts in
# prefer-dark; the setting goes to default and back to prefer-dark while it runs. At the start
# and after each switch, the real pixels of the control window's header and title, a page's
# button and text field, every page, the tray panel and the pet's menu card are in that
# scheme, with their text at 4.5:1 against its fill. Screenshots of failed checks are left in the build folder.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
here=$(cd "$(dirname "$0")" && pwd)

use_real_portal
portal_says() {
  gdbus call --session --dest org.freedesktop.portal.Desktop --object-path /org/freedesktop/portal/desktop \
    --method org.freedesktop.portal.Settings.Read org.freedesktop.appearance color-scheme | grep -q "uint32 $1>"
}
# set_scheme VALUE NUMBER: sets the desktop's scheme and waits for the portal to report it.
set_scheme() {
  gsettings set org.gnome.desktop.interface color-scheme "$1"
  wait_for 10 portal_says "$2" || fail "the portal does not report $1 as $2"
}
set_scheme prefer-dark 1
[[ -f "$XDG_CONFIG_HOME/dconf/user" ]] || fail "dconf did not write into the run's home"

write_exact_sound_settings petEnabled=true petPositionX=0.1 petPositionY=0
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$PLINKLY" >"$E2E_WORK/plinkly.log" 2>&1 &
wait_for 20 window_of_width 760 || fail "the control window did not open"
control=$(window_of_width 760)
# Clear of the pet's menu card at the bottom left and of the tray panel's place under the icon.
xdotool windowmove --sync "$control" 500 0 >/dev/null
wait_for 10 has_window_named "Plinkly pet" || fail "the pet did not show"
pet=$(window_named "Plinkly pet")
read -r icon_w icon_h icon_x icon_y <<<"$(tray_icon)"
[[ -n "$icon_y" ]] || fail "no tray icon was docked"
screen_width=$(xwininfo -root | awk '/Width:/ {print $NF}')

# geometry WINDOW: "LEFT TOP WIDTH HEIGHT" on the screen.
geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
    /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}'
}
region() {
  local left top width height
  read -r left top width height <<<"$2"
  [[ -n $height ]] || fail "$1 is not on screen"
  echo "$1=$left,$top,$width,$height${3:+,$3}"
}

# holds SCHEME REGION...: the screen shows the regions in SCHEME now.
holds() {
  import -window root -depth 8 "rgb:$E2E_WORK/shot.rgb"
  /usr/bin/python3 "$here/scheme_check.py" "$E2E_WORK/shot.rgb" "$screen_width" "$@" >"$E2E_WORK/check.txt"
}
failures="$E2E_WORK/failures.txt"
: >"$failures"
# expect STAGE SCHEME REGION...: waits up to 10 s for the restyle, then notes what still fails.
expect() {
  local stage=$1
  shift
  local deadline=$((SECONDS + 10))
  until holds "$@"; do
    if ((SECONDS >= deadline)); then
      sed "s/^/$stage: /" "$E2E_WORK/check.txt" >>"$failures"
      import -window root "$BUILD_DIR/e2e-scheme-portal-$stage.png"
      return 0
    fi
    sleep 0.3
  done
}

pet_menu_open() {
  local x y w h
  read -r x y w h <<<"$(geometry "$pet")"
  ((h > 122))
}
open_pet_menu() {
  local x y w h
  pet_menu_open && return 0
  read -r x y w h <<<"$(geometry "$pet")"
  # The figure sits 4 above the panel's bottom edge, centred.
  xdotool mousemove $((x + w / 2)) $((y + h - 42)) click 1
  wait_for 5 pet_menu_open || fail "a click on the pet's figure opened no menu"
  sleep 0.3
}

check_scheme() { # STAGE SCHEME
  local stage=$1 scheme=$2 cx cy cw ch bar_top x y w h
  open_pet_menu
  read -r cx cy cw ch <<<"$(geometry "$control")"
  read -r _ bar_top _ <<<"$(ui_find --in Plinkly --role "push button" Home)"
  read -r x y w h <<<"$(geometry "$pet")"
  # The card's title row, left of its close button.
  expect "$stage" "$scheme" \
    "$(region header "$cx $cy $cw $((bar_top - cy - 5))" fill)" \
    "$(region title "$(ui_find --in Plinkly --role label Plinkly)")" \
    "$(region button "$(ui_find --in Plinkly --role "push button" "Reset visuals")")" \
    "$(region field "$(ui_find --in Plinkly --role text "Dolphin name")")" \
    "$(region pet-card "$((x + 12)) $((y + 8)) 160 34")"

  # Every page, below the page bar, as the switch left it.
  local page bar_height
  read -r _ _ _ bar_height <<<"$(ui_find --in Plinkly --role "push button" Home)"
  for page in Home Sounds Reactions Toys System Focus Privacy; do
    ui_click --in Plinkly --role "push button" "$page"
    sleep 0.3
    expect "$stage-$page" "$scheme" \
      "$(region "page-$page" "$cx $((bar_top + bar_height + 4)) $cw $((cy + ch - bar_top - bar_height - 4))")"
  done
  ui_click --in Plinkly --role "push button" Home

  xdotool mousemove $((icon_x + icon_w / 2)) $((icon_y + icon_h / 2)) click 1
  wait_for 5 window_of_width 330 || fail "clicking the tray icon opened no panel"
  sleep 0.3
  expect "$stage" "$scheme" "$(region tray-panel "$(geometry "$(window_of_width 330)")")"
  xdotool key Escape
  panel_closed() { ! window_of_width 330 >/dev/null; }
  wait_for 5 panel_closed || fail "Esc did not close the tray panel"
}

check_scheme started-dark dark
set_scheme default 0
check_scheme switched-default light
set_scheme prefer-dark 1
check_scheme switched-dark dark

if [[ -s $failures ]]; then
  cat "$failures" >&2
  fail "$(wc -l <"$failures") regions are not in the scheme asked for"
fi
echo "scheme portal: ok"
