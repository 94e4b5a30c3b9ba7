# Desktop physics on a composited desktop: copies start where the desktop's file manager
# shows its icons (read over the accessibility bus), a panel per screen below ordinary
# windows, bodies that fall, an item dragged and thrown with the real pointer, and Esc
# typed anywhere ends it.
# Screenshots of each mode are left in the build folder.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

probe_bin="$BUILD_DIR/tests/plinkly_chaos_probe"
icons_bin="$BUILD_DIR/tests/plinkly_desktop_icons"
target_bin="$BUILD_DIR/tests/plinkly_click_target"

mkdir -p "$HOME/Desktop"
for name in "Budget 2026.xlsx" "notes.txt" "holiday photo.png" "b9.txt" "b10.txt" "A very long file name indeed.pdf"; do
  echo "content" >"$HOME/Desktop/$name"
done
mkdir -p "$HOME/Desktop/Projects"
touch "$HOME/Desktop/.hidden"

# The desktop's picture, where XFCE keeps it.
convert -size 640x400 gradient:'#1d3557-#e76f51' "$HOME/wallpaper.png"
mkdir -p "$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml"
cat >"$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml/xfce4-desktop.xml" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-desktop" version="1.0">
  <property name="backdrop" type="empty">
    <property name="screen0" type="empty">
      <property name="monitorscreen" type="empty">
        <property name="workspace0" type="empty">
          <property name="last-image" type="string" value="$HOME/wallpaper.png"/>
        </property>
      </property>
    </property>
  </property>
</channel>
XML

# An ordinary window the panels must stay below.
"$target_bin" "$E2E_WORK/clicks.log" 60 300 240 150 '#3a7bd5' >"$E2E_WORK/target.log" 2>&1 &
wait_for 10 has_window_named "Plinkly click target" || fail "the ordinary window did not appear"

coproc PROBE { "$probe_bin" 2>"$E2E_WORK/probe.log"; }
probe() {
  echo "$*" >&"${PROBE[1]}"
  local reply
  read -r -t 10 -u "${PROBE[0]}" reply || fail "probe gave no answer to: $*"
  echo "$reply"
}
panels() {
  xdotool search --onlyvisible --name '^Plinkly desktop physics$' 2>/dev/null || true
}
panel_count() {
  panels | wc -l
}
# Position of a window in the window manager's bottom-to-top stacking order.
stacking_index() {
  local wanted=$(( $1 )) index=0 id
  for id in $(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g'); do
    if (( id == wanted )); then echo "$index"; return; fi
    index=$((index + 1))
  done
  echo -1
}
is_idle() {
  [[ "$(probe state)" == idle* ]]
}
distance_moved() {
  local x1=$1 y1=$2 x2=$3 y2=$4
  echo $(( (x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1) ))
}

near() {
  local x=$1 y=$2 want_x=$3 want_y=$4
  (( (x - want_x) * (x - want_x) + (y - want_y) * (y - want_y) <= 12 * 12 ))
}

# A stand-in desktop file manager shows two of the files' icons, one titled without its
# extension; the copies of those two start on them, the others in the default grid.
"$icons_bin" pcmanfm "notes.txt" 100 150 "b9" 250 150 >"$E2E_WORK/icons.log" 2>&1 &
icons_pid=$!
icons_found() {
  [[ "$(probe icons)" == "2 b9=250,150 notes.txt=100,150" ]]
}
wait_for 15 icons_found || fail "the desktop icons were not found: $(probe icons)"

[[ "$(probe trigger gravity)" == ok ]] || fail "the gravity run was refused"
read -r bx by <<<"$(probe item 1)"
read -r nx ny <<<"$(probe item 5)"
near "$bx" "$by" 274 174 || fail "b9.txt did not start on its icon: $bx $by"
near "$nx" "$ny" 124 174 || fail "notes.txt did not start on its icon: $nx $ny"
kill "$icons_pid"
wait "$icons_pid" 2>/dev/null || true

[[ "$(probe state)" == "active gravity 1" ]] || fail "no gravity run: $(probe state)"
wait_for 5 bash -c "[[ \$(xdotool search --onlyvisible --name '^Plinkly desktop physics\$' | wc -l) -eq 1 ]]" \
  || fail "no panel on the screen"

panel=$(panels | head -n1)
target=$(window_named "Plinkly click target")
panel_at=$(stacking_index "$panel")
target_at=$(stacking_index "$target")
(( panel_at >= 0 && target_at > panel_at )) || fail "the panel is not below the ordinary window ($panel_at, $target_at)"
xprop -id "$panel" _NET_WM_DESKTOP | grep -q '= 4294967295$' || fail "the panel is not on every workspace"
xprop -id "$panel" _NET_WM_STATE | grep -q '_NET_WM_STATE_BELOW' || fail "the panel is not kept below"

sleep 0.3
screenshot e2e-chaos-gravity-start
sleep 1
screenshot e2e-chaos-gravity-falling
changed=$(compare -metric AE "$BUILD_DIR/e2e-chaos-gravity-start.png" "$BUILD_DIR/e2e-chaos-gravity-falling.png" null: 2>&1 || true)
(( ${changed%% *} > 2000 )) || fail "nothing moved in a second of gravity ($changed pixels changed)"

# Let the bodies settle, then drag item 0 up and to the right and let go while moving.
sleep 2
read -r x y <<<"$(probe item 0)"
xdotool mousemove "$x" "$y" mousedown 1
for step in 1 2 3 4 5 6 7 8; do
  xdotool mousemove "$((x + step * 25))" "$((y - step * 30))"
  sleep 0.02
done
xdotool mouseup 1
sleep 0.05
read -r tx ty <<<"$(probe item 0)"
(( $(distance_moved "$x" "$y" "$tx" "$ty") > 150 * 150 )) || fail "the drag did not carry the item ($x,$y → $tx,$ty)"
sleep 0.3
screenshot e2e-chaos-gravity-thrown

# Esc typed while the ordinary window has the keyboard ends the run everywhere.
xdotool windowactivate --sync "$target" 2>/dev/null || xdotool windowfocus "$target"
xdotool key Escape
wait_for 5 is_idle || fail "Esc did not end the run: $(probe state)"
wait_for 5 bash -c "[[ \$(xdotool search --onlyvisible --name '^Plinkly desktop physics\$' | wc -l) -eq 0 ]]" \
  || fail "the panel stayed after Esc"
[[ "$(probe state)" == "idle Desktop Gravity" ]] || fail "the last effect's name was lost: $(probe state)"

for mode in zeroGravity vortex earthquake; do
  [[ "$(probe trigger "$mode")" == ok ]] || fail "the $mode run was refused"
  sleep 1.2
  screenshot "e2e-chaos-$mode"
done
[[ "$(probe state)" == "active earthquake 1" ]] || fail "a new run did not replace the old one: $(probe state)"

# Without a global key source a click on the panel gives it the keyboard, so Esc still works.
probe keys off >/dev/null
[[ "$(probe trigger zeroGravity)" == ok ]] || fail "the run without global keys was refused"
sleep 0.5
xdotool mousemove 1100 500 click 1
sleep 0.3
xdotool key Escape
wait_for 5 is_idle || fail "Esc on the clicked panel did not end the run: $(probe state)"
probe quit >/dev/null || true
echo "chaos desktop test passed"
