#!/usr/bin/env bash
# A real X desktop for one run: Xvfb, a session bus of its own, openbox, xcompmgr and a tray host.
#   desktop-session.sh TEST_SCRIPT PLINKLY BUILD_DIR   run a desktop test in a throw-away home
#   desktop-session.sh --interactive COMMAND...         run a program on the virtual display
# The bus starts only the services put into $E2E_SERVICES (the accessibility bus to begin with;
# lib.sh's use_real_portal adds the settings portal), never what the host has installed.
# Everything the run starts ends with it, also when the script itself is killed: reap.py,
# waiting outside the run's process group, then ends the processes, unmounts and removes the folder.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "/tmp/plinkly-desktop-${PLINKLY_E2E_SUITE:+$PLINKLY_E2E_SUITE-}XXXXXX")
reaper=$(env -u PLINKLY_E2E_RUN /usr/bin/python3 "$here/reap.py" --after $$ "$work" </dev/null)
# Every process of the run carries this, so cleanup finds them wherever they were started from.
export PLINKLY_E2E_RUN="$work"

finish() {
  local status=$?
  set +e
  trap - EXIT TERM INT HUP
  kill "$reaper" 2>/dev/null
  # A cleanup problem is told, but the run's own status stands.
  env -u PLINKLY_E2E_RUN /usr/bin/python3 "$here/reap.py" "$work" ||
    echo "desktop-session: cleanup of $work was incomplete (see above)" >&2
  exit "$status"
}
trap finish EXIT
trap 'exit 143' TERM
trap 'exit 130' INT
trap 'exit 129' HUP

# Services run without the test's output: a service holding ctest's pipe would keep ctest waiting.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp </dev/null >"$work/xvfb.log" 2>&1 &
for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.05; done
exec 3>&-
export DISPLAY=":$(head -n1 "$work/display")"
unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS

interactive=false
[[ "${1:-}" == "--interactive" ]] && interactive=true
if ! $interactive; then
  export HOME="$work/home"
  export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_CACHE_HOME="$HOME/.cache"
  export XDG_RUNTIME_DIR="$work/runtime"
  # A temporary folder of the run's own, so a checkout under /tmp is not taken for a download.
  export TMPDIR="$work/tmp"
  mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR" "$TMPDIR"
  chmod 700 "$XDG_RUNTIME_DIR"
fi

# The session bus, with the environment above for every service it starts (concurrent runs
# must not share one accessibility bus socket).
export E2E_SERVICES="$work/bus/services"
mkdir -p "$E2E_SERVICES"
service_file() {
  local dir
  for dir in ${XDG_DATA_HOME:+"$XDG_DATA_HOME"} /usr/local/share /usr/share; do
    [[ -f "$dir/dbus-1/services/$1.service" ]] && echo "$dir/dbus-1/services/$1.service" && return 0
  done
  return 1
}
if a11y=$(service_file org.a11y.Bus); then cp "$a11y" "$E2E_SERVICES/"; fi
cat >"$work/bus/session.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <keep_umask/>
  <listen>unix:path=$work/bus/socket</listen>
  <auth>EXTERNAL</auth>
  <servicedir>$E2E_SERVICES</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
  <limit name="service_start_timeout">30000</limit>
</busconfig>
CONF
dbus-daemon --config-file="$work/bus/session.conf" --nofork --nopidfile </dev/null >"$work/bus/daemon.log" 2>&1 &
for _ in $(seq 100); do [[ -S "$work/bus/socket" ]] && break; sleep 0.05; done
[[ -S "$work/bus/socket" ]] || { echo "desktop-session: the session bus did not start: $(cat "$work/bus/daemon.log")" >&2; exit 1; }
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/bus/socket"

openbox </dev/null >"$work/openbox.log" 2>&1 &
wm=$!
xcompmgr </dev/null >"$work/xcompmgr.log" 2>&1 &
trayer --edge top --align right --widthtype pixel --width 120 --height 24 </dev/null >"$work/trayer.log" 2>&1 &

# Give the window manager and the tray a moment to own their selections.
for _ in $(seq 50); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break
  sleep 0.1
done
sleep 0.5

# Waiting on a background job lets a TERM from ctest run the cleanup at once.
if $interactive; then
  shift
  echo "Virtual display $DISPLAY is up."
  "$@" <&0 &
  wait $!
  exit
fi

test_script=$1
export PLINKLY=$2
export BUILD_DIR=$3
export E2E_WORK="$work"
export E2E_WM_PID="$wm"
export QT_QPA_PLATFORM=xcb
# No sound server runs here: sound goes through SDL's null driver unless a test says otherwise.
export PLINKLY_AUDIO="${PLINKLY_AUDIO:-sdl}"
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
bash "$test_script" <&0 &
wait $!
