#!/usr/bin/env bash
# A real X desktop for one run: Xvfb, a session bus, openbox, xcompmgr and a tray host.
#   desktop-session.sh TEST_SCRIPT PLINKLY BUILD_DIR   run a desktop test in a throw-away home
#   desktop-session.sh --interactive COMMAND...         run a program on the virtual display
set -euo pipefail

if [[ "${1:-}" != "--inside" ]]; then
  exec dbus-run-session -- "$0" --inside "$@"
fi
shift

work=$(mktemp -d /tmp/plinkly-desktop-XXXXXX)
pids=()
cleanup() {
  # A test may have left the window manager stopped; it must wake to take the signal.
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null && kill -CONT "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 "$work/display")"
unset WAYLAND_DISPLAY

openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
wm=$!
xcompmgr >"$work/xcompmgr.log" 2>&1 &
pids+=($!)
trayer --edge top --align right --widthtype pixel --width 120 --height 24 >"$work/trayer.log" 2>&1 &
pids+=($!)
# Give the window manager and the tray a moment to own their selections.
for _ in $(seq 50); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break
  sleep 0.1
done
sleep 0.5

if [[ "${1:-}" == "--interactive" ]]; then
  shift
  echo "Virtual display $DISPLAY is up."
  "$@"
  exit $?
fi

test_script=$1
export PLINKLY=$2
export BUILD_DIR=$3
export E2E_WORK="$work"
export E2E_WM_PID="$wm"
export HOME="$work/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_CACHE_HOME="$HOME/.cache"
export XDG_RUNTIME_DIR="$work/runtime"
# A temporary folder of the run's own, so a checkout under /tmp is not taken for a download.
export TMPDIR="$work/tmp"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR" "$TMPDIR"
chmod 700 "$XDG_RUNTIME_DIR"
# Services the bus starts on demand (the accessibility bus among them) get the run's own home
# and runtime folder; otherwise concurrent runs would share one accessibility bus socket.
dbus-update-activation-environment HOME XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME XDG_RUNTIME_DIR \
  TMPDIR DISPLAY
export QT_QPA_PLATFORM=xcb
# No sound server runs here: sound goes through SDL's null driver unless a test says otherwise.
export PLINKLY_AUDIO="${PLINKLY_AUDIO:-sdl}"
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
bash "$test_script"
