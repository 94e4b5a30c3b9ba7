# A PulseAudio server with a null sink "plinkly-null" on a folder of its own under LOG_FOLDER,
# which clients reach through PULSE_SERVER (sourced).
# start_pulseaudio LOG_FOLDER: sets pulse_pid and exports PULSE_RUNTIME_PATH and PULSE_SERVER
# once the server answers; fails when it does not within 10 s.
start_pulseaudio() {
  local logs=$1
  export PULSE_RUNTIME_PATH="$logs/pulse"
  mkdir -p "$PULSE_RUNTIME_PATH"
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --log-target=stderr \
    -L "module-null-sink sink_name=plinkly-null" -L "module-native-protocol-unix auth-anonymous=1" \
    >"$logs/pulseaudio.log" 2>&1 &
  pulse_pid=$!
  export PULSE_SERVER="unix:$PULSE_RUNTIME_PATH/native"
  if ! wait_for 10 pactl info; then
    kill "$pulse_pid" 2>/dev/null || true
    echo "PulseAudio did not start: $(tail -5 "$logs/pulseaudio.log")" >&2
    return 1
  fi
}
