# Shared steps of the desktop tests (sourced).

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# wait_for SECONDS COMMAND...: retries the command until it succeeds or time runs out.
wait_for() {
  local seconds=$1
  shift
  local deadline=$((SECONDS + seconds))
  until "$@" >/dev/null 2>&1; do
    ((SECONDS < deadline)) || return 1
    sleep 0.2
  done
}

window_named() {
  xdotool search --name "^$1\$" | head -n1
}

has_window_named() {
  [[ -n "$(window_named "$1")" ]]
}

# type_in WINDOW COMMAND ARGS...: fronts WINDOW, then presses through XTEST as a keyboard would
# ("key a", "keydown a"). A window Plinkly shows meanwhile may have taken the focus, and keys sent
# to a window without it are synthetic events that no global reader hears.
type_in() {
  local window=$1
  shift
  xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
  xdotool "$@"
}

# open_typing_target: a window of another application to type into; sets target (its id) and
# target_pid.
open_typing_target() {
  xev -geometry 400x300+100+100 -name "Typing target" >/dev/null 2>&1 &
  target_pid=$!
  wait_for 10 has_window_named "Typing target" || fail "the target window did not appear"
  target=$(window_named "Typing target")
}

screenshot() {
  import -window root "$BUILD_DIR/$1.png"
}

# Settings for a run whose sound must come out exactly as recorded: onboarding done, no
# one-time steps, centred, no variation, no loudness matching, full volume. Further
# "key=value" lines are given as arguments.
write_exact_sound_settings() {
  mkdir -p "$XDG_CONFIG_HOME/plinkly"
  {
    echo "[General]"
    printf '%s\n' installedCC0AudioUpgrade1=true didRequestInputMonitoringV2=true hasCompletedOnboarding=true \
      typingEnabled=true keyboardVolume=1 stereoEnabled=false normalizePackVolume=false \
      pitchVariation=0 volumeVariation=0 "$@"
  } >"$XDG_CONFIG_HOME/plinkly/plinkly.ini"
}

# A keyboard pack "e2e-ramp" whose press sample is a 16-bit ramp, every frame different, at
# 48 kHz; the release is silent, so it cannot overlap the press in the mix.
install_ramp_pack() {
  local pack="$XDG_DATA_HOME/Knockwell/Keyboard Packs/e2e-ramp"
  mkdir -p "$pack"
  python3 - "$pack" <<'PY'
import struct, sys, wave
for name, values in (("press.wav", [8000 + 3 * i for i in range(2000)]), ("release.wav", [0] * 200)):
    with wave.open(sys.argv[1] + "/" + name, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(48000)
        w.writeframes(b"".join(struct.pack("<h", v) for v in values))
PY
  cat >"$pack/manifest.json" <<'JSON'
{
  "id": "e2e-ramp", "name": "E2E Ramp", "author": "Tests", "switchType": "Linear",
  "version": "1", "license": "CC0-1.0", "kind": "keyboard",
  "groups": { "regular": { "down": ["press.wav"], "up": ["release.wav"] } }
}
JSON
}

# shot_without_compositor NAME COMMAND PROBE [ARGS...]: on a second, bare X server (no window
# manager, no compositor) over a plain #4d5d78 backdrop, starts the probe, sends it COMMAND,
# waits for its answer and saves the screen as $BUILD_DIR/NAME.png.
shot_without_compositor() {
  local name=$1 command=$2
  shift 2
  exec 4>"$E2E_WORK/bare-display"
  Xvfb -displayfd 4 -screen 0 800x600x24 -nolisten tcp >"$E2E_WORK/bare-xvfb.log" 2>&1 &
  local bare=$!
  for _ in $(seq 100); do [[ -s "$E2E_WORK/bare-display" ]] && break; sleep 0.05; done
  (
    export DISPLAY=":$(head -n1 "$E2E_WORK/bare-display")"
    "$BUILD_DIR/tests/plinkly_click_target" /dev/null 0 0 800 600 "#4d5d78" >/dev/null 2>&1 &
    backdrop=$!
    wait_for 10 bash -c "xdotool search --onlyvisible --name '^Plinkly click target\$' | grep -q ." || exit 3
    coproc BARE { "$@" 2>>"$E2E_WORK/probe.log"; }
    echo "$command" >&"${BARE[1]}"
    read -r -t 10 -u "${BARE[0]}" _ || exit 3
    sleep 1
    import -window root "$BUILD_DIR/$name.png"
    echo quit >&"${BARE[1]}"
    kill "$backdrop"
  )
  kill "$bare" 2>/dev/null || true
  wait "$bare" 2>/dev/null || true
}

# Desktop entries for the example applications the workspace tests open: an editor whose
# windows carry the class EditorMain, and a chat whose entry names no class; and hostile ones.
install_example_desktop_entries() {
  local apps="$E2E_WORK/share/applications"
  mkdir -p "$apps"
  printf '[Desktop Entry]\nType=Application\nName=Example Editor\nExec=true\nStartupWMClass=EditorMain\n' \
    >"$apps/org.example.Editor.desktop"
  printf '[Desktop Entry]\nType=Application\nName=Example Chat\nExec=true\n' >"$apps/chat.desktop"
  # Beside them, entries no reader may wait on or read to the end: a link to a FIFO nobody
  # writes, links to endless devices and a 1 GiB file.
  mkfifo "$E2E_WORK/no-writer"
  ln -s "$E2E_WORK/no-writer" "$apps/fifo.desktop"
  ln -s /dev/zero "$apps/zero.desktop"
  ln -s /dev/urandom "$apps/urandom.desktop"
  truncate -s 1G "$apps/huge.desktop"
  export XDG_DATA_DIRS="$E2E_WORK/share"
}

# Widgets found by their accessible names over the accessibility bus (accessible.py), so a
# test clicks what a user sees wherever the layout puts it. Plinkly must have been started
# with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1. Options as accessible.py takes them:
# [--in WINDOW] [--role ROLE] NAME.

# ui_find ...: "LEFT TOP WIDTH HEIGHT" of the widget, scrolled into view with the wheel over
# its scroll bar (a wheel over the page could move a slider instead).
ui_find() {
  local found left top width height bar_left bar_top bar_width bar_height
  for _ in $(seq 40); do
    # The system interpreter: the accessibility bindings are a Debian package.
    found=$(/usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/accessible.py" "$@") || return 1
    read -r left top width height bar_left bar_top bar_width bar_height <<<"$found"
    if [[ -z $bar_top ]] || ((top >= bar_top && top + height <= bar_top + bar_height)); then
      echo "$left $top $width $height"
      return 0
    fi
    xdotool mousemove $((bar_left + bar_width / 2)) $((bar_top + bar_height / 2)) \
      click $((top < bar_top ? 4 : 5))
    sleep 0.1
  done
  return 1
}

ui_showing() {
  ui_find "$@" >/dev/null
}

# ui_ready ...: the extents of the enabled widget once two readings 0.2 s apart agree (a window
# the window manager is still placing reports where it was), waiting up to 10 s for both.
ui_ready() {
  local deadline=$((SECONDS + 10)) first second
  while ((SECONDS < deadline)); do
    if first=$(ui_find --enabled "$@") && sleep 0.2 && second=$(ui_find --enabled "$@") &&
      [[ $first == "$second" ]]; then
      echo "$second"
      return 0
    fi
    sleep 0.2
  done
  return 1
}

ui_click() {
  local left top width height
  read -r left top width height <<<"$(ui_ready "$@")"
  [[ -n $height ]] || fail "\"${*: -1}\" is not on screen"
  xdotool mousemove $((left + width / 2)) $((top + height / 2)) click 1
}

# ui_drag FROM TO ...: presses FROM pixels right of the widget's left edge, halfway down,
# and releases TO pixels right of it.
ui_drag() {
  local from=$1 to=$2 left top width height
  shift 2
  read -r left top width height <<<"$(ui_ready "$@")"
  [[ -n $height ]] || fail "\"${*: -1}\" is not on screen"
  local y=$((top + height / 2))
  xdotool mousemove $((left + from)) "$y" mousedown 1 mousemove $((left + (from + to) / 2)) "$y" \
    mousemove $((left + to)) "$y" mouseup 1
}

# use_real_portal: lets the session bus start the installed settings portal with its GTK
# backend, the permission store, the document portal and dconf, as a GNOME desktop has them.
# Their settings and runtime files stay in the run's home and runtime folder.
use_real_portal() {
  local name dir found
  for name in org.freedesktop.portal.Desktop org.freedesktop.impl.portal.desktop.gtk \
    org.freedesktop.impl.portal.PermissionStore org.freedesktop.portal.Documents ca.desrt.dconf; do
    found=
    for dir in /usr/local/share /usr/share; do
      [[ -f "$dir/dbus-1/services/$name.service" ]] && found="$dir/dbus-1/services/$name.service" && break
    done
    [[ -n $found ]] || fail "$name is not installed: run setup.sh"
    cp "$found" "$E2E_SERVICES/"
  done
  # The portal picks its backend by desktop; only the services see this desktop name.
  dbus-update-activation-environment XDG_CURRENT_DESKTOP=GNOME
  gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.ReloadConfig >/dev/null
}

# window_of_width WIDTH: Plinkly's shown window of that width: the control window (760), the
# tray panel (330); the tray icon is one too.
window_of_width() {
  local w
  for w in $(xdotool search --onlyvisible --name '^Plinkly$' 2>/dev/null || true); do
    [[ "$(xwininfo -id "$w" | awk '/Width:/ {print $NF}')" == "$1" ]] && { echo "$w"; return 0; }
  done
  return 1
}

# tray_icon: "WIDTH HEIGHT LEFT TOP" of Plinkly's icon, once trayer has docked it (within 10 s)
# inside its panel window; the icon window carries the application's name.
tray_icon_line() {
  xdotool search --class trayer | while read -r w; do xwininfo -tree -id "$w"; done | grep '"Plinkly"' | head -n1
}
tray_icon() {
  wait_for 10 tray_icon_line || return 1
  tray_icon_line | sed -n 's/.*  \([0-9]\+\)x\([0-9]\+\)+-\?[0-9]\++-\?[0-9]\+  +\(-\?[0-9]\+\)+\(-\?[0-9]\+\).*/\1 \2 \3 \4/p'
}
