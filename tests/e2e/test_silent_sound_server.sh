# Sound servers that take the connection and never answer (frozen, or socket-activated and
# never started): typing goes on, each road gives up in its time and says so, the sound falls
# through to the next road, and a quit after seconds of typing is not held up by the roads.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

unset PLINKLY_AUDIO PULSE_SERVER PULSE_RUNTIME_PATH
python3 "$(dirname "$0")/silent_server.py" "$XDG_RUNTIME_DIR/pipewire-0" "$XDG_RUNTIME_DIR/pulse/native" &
silent_pid=$!
trap 'kill "$silent_pid" 2>/dev/null || true' EXIT
wait_for 10 test -S "$XDG_RUNTIME_DIR/pulse/native" || fail "the silent sockets were not made"

settings="$XDG_CONFIG_HOME/plinkly/plinkly.ini"
write_exact_sound_settings interactionStatsEnabled=true
open_typing_target

# type_then_quit SDL_DRIVER: nine seconds of typing, a key every 125 ms, while the roads wait on
# servers that stay silent, then SIGTERM; Plinkly's log is left in $log.
total=0
type_then_quit() {
  SDL_AUDIODRIVER=$1 QT_LOGGING_RULES="plinkly.audio=true" "$PLINKLY" >"$E2E_WORK/plinkly-$1.log" 2>&1 &
  app=$!
  wait_for 20 bash -c "xdotool search --onlyvisible --name '^Plinkly\$' | grep -q ." ||
    fail "the control window did not appear ($1)"
  xdotool windowactivate --sync "$target"
  local keys=72
  xdotool type --window "$target" --delay 125 "$(printf 'a%.0s' $(seq "$keys"))"
  total=$((total + keys))
  kill -TERM "$app"
  wait_for 10 bash -c "! kill -0 $app" ||
    fail "Plinkly did not end within 10 s of SIGTERM after typing ($1): $(grep audio "$E2E_WORK/plinkly-$1.log" | tail -n3)"
  local status=0
  wait "$app" || status=$?
  [[ $status -eq 0 ]] || fail "Plinkly ended with status $status ($1)"
  grep -qx "interactionStatsKeys=$total" "$settings" ||
    fail "the file holds $(grep interactionStatsKeys "$settings" || echo no count), not $total keys ($1)"
  log=$(grep -i audio "$E2E_WORK/plinkly-$1.log")
  [[ $log == *"pipewire: the PipeWire server did not answer"* ]] || fail "the log does not say PipeWire did not answer ($1): $log"
  [[ $log == *"pulse: the PulseAudio server did not answer"* ]] || fail "the log does not say PulseAudio did not answer ($1): $log"
  # The keys typed while a road waited do not each make an attempt of their own.
  local attempts
  attempts=$(grep -c "PipeWire server did not answer" <<<"$log")
  ((attempts <= 4)) || fail "the silent PipeWire server was tried $attempts times in nine seconds of typing ($1)"
}

# No road opens at all (no sound card for SDL's ALSA): the quit is still prompt.
type_then_quit alsa
[[ $log == *"no road to sound opened"* ]] || fail "the log does not say no road opened: $log"
# With a road below them that opens, the sound falls through to it.
type_then_quit dummy
[[ $log == *"sound goes through sdl"* ]] || fail "the sound did not fall through to SDL: $log"

kill "$target_pid"
echo "silent sound server: ok"
