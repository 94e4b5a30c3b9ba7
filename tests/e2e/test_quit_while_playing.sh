# Quitting while key sounds still play, through a real PulseAudio and a real PipeWire server,
# ends cleanly every time: the road's own threads are stopped before anything they render
# through goes away. Run against a sanitized build (tools/sanitize.sh), a touch of the mixer
# while it is destroyed ends the program with an error instead of passing unseen.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

for tool in pipewire wireplumber pw-cli pulseaudio pactl; do
  command -v "$tool" >/dev/null || fail "$tool is missing (./setup.sh installs it)"
done
server_pids=()
trap 'kill "${server_pids[@]}" 2>/dev/null || true' EXIT

source "$(dirname "$0")/pipewire-server.sh"
source "$(dirname "$0")/pulse-server.sh"
start_pipewire "$E2E_WORK" || fail "no PipeWire server"
server_pids+=("$pipewire_pid" "$wireplumber_pid")
start_pulseaudio "$E2E_WORK" || fail "no PulseAudio server"
server_pids+=("$pulse_pid")

install_ramp_pack
write_exact_sound_settings selectedKeyboardPack=e2e-ramp
open_typing_target
server_pids+=("$target_pid")

# A dozen quits a road: the window in which a road's thread can still reach the mixer is short.
for road in pulse pipewire; do
  for run in $(seq 12); do
    log="$E2E_WORK/plinkly-$road-$run.log"
    PLINKLY_AUDIO=$road "$PLINKLY" >"$log" 2>&1 &
    app=$!
    wait_for 30 bash -c "xdotool search --onlyvisible --name '^Plinkly\$' | grep -q ." ||
      fail "the control window did not appear ($road, run $run)"
    type_in "$target" type --delay 40 "plinkplink"
    sleep 0.3
    kill -TERM "$app"
    wait_for 10 bash -c "! kill -0 $app" || fail "Plinkly did not quit ($road, run $run)"
    status=0
    wait "$app" || status=$?
    [[ $status -eq 0 ]] || fail "Plinkly ended with status $status ($road, run $run): $(grep -m3 -E 'runtime error|ERROR|SUMMARY' "$log")"
  done
done
echo "quit while playing: ok"
