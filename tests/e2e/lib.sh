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
    sleep 1
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
# windows carry the class EditorMain, and a chat whose entry names no class.
install_example_desktop_entries() {
  local apps="$E2E_WORK/share/applications"
  mkdir -p "$apps"
  printf '[Desktop Entry]\nType=Application\nName=Example Editor\nExec=true\nStartupWMClass=EditorMain\n' \
    >"$apps/org.example.Editor.desktop"
  printf '[Desktop Entry]\nType=Application\nName=Example Chat\nExec=true\n' >"$apps/chat.desktop"
  export XDG_DATA_DIRS="$E2E_WORK/share"
}
