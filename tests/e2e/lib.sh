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
