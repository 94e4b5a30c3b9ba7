# One table of the ways a real sound server fails a desktop, with no road or driver forced:
# a socket that never answers at pipewire-0, at pulse/native or at both (one that takes the
# connection, one that only listens), a server stopped for 3 s while keys are typed, and one
# killed and started again while keys are typed. In every row the first window shows within
# 1 s, a quit takes under 1 s, every key typed is counted, and where a sink plays, no moment of
# the recording of its monitor after the fault is louder than one key's sound alone (keys that
# piled up while the server could not play them would sound together).
set -euo pipefail
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/pipewire-server.sh"

for tool in pipewire wireplumber pw-record pulseaudio parec pactl; do
  command -v "$tool" >/dev/null || fail "$tool is missing (./setup.sh installs it)"
done
unset PLINKLY_AUDIO SDL_AUDIODRIVER PULSE_SERVER PULSE_RUNTIME_PATH

# peak FILE...: the loudest sample of 16-bit recordings (raw, or WAV with a header that may be
# unfinished), as a fraction of full scale.
peak() {
  python3 - "$@" <<'PY'
import array, sys
loudest = 0
for path in sys.argv[1:]:
    data = open(path, "rb").read()
    if data[:4] == b"RIFF":
        data = data[data.index(b"data") + 8:]
    samples = array.array("h", data[: len(data) // 2 * 2])
    loudest = max([loudest] + [abs(v) for v in samples])
print("%.3f" % (loudest / 32768))
PY
}
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT

install_ramp_pack
# How loud one key's sound is: its press sample's peak.
one=$(peak "$XDG_DATA_HOME/Knockwell/Keyboard Packs/e2e-ramp/press.wav")
write_exact_sound_settings selectedKeyboardPack=e2e-ramp interactionStatsEnabled=true
settings="$XDG_CONFIG_HOME/plinkly/plinkly.ini"
open_typing_target
pids+=("$target_pid")
xdotool windowactivate --sync "$target"

over() { python3 -c "import sys; sys.exit(0 if float(sys.argv[1]) > float(sys.argv[2]) else 1)" "$@"; }
# Microseconds since START (from now_us), without a process of its own, so polling stays fine.
now_us() { echo "${EPOCHREALTIME/./}"; }
since() { echo $(($(now_us) - $1)); }
seconds() { printf '%d.%02d' $(($1 / 1000000)) $(($1 % 1000000 / 10000)); }

# Real servers, each on the run's runtime folder at its usual place, with a null sink whose
# monitor is recorded into a new file each time the server starts.
recordings=()
start_pulse() {
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --log-target=stderr \
    -L "module-null-sink sink_name=plinkly-null" -L "module-native-protocol-unix auth-anonymous=1" \
    >>"$E2E_WORK/pulseaudio.log" 2>&1 &
  server_pid=$!
  pids+=("$server_pid")
  wait_for 10 pactl info || fail "PulseAudio did not start: $(tail -5 "$E2E_WORK/pulseaudio.log")"
  recordings+=("$E2E_WORK/sink-${#recordings[@]}.raw")
  parec -d plinkly-null.monitor --raw --format=s16le --rate=48000 --channels=2 --latency-msec=20 \
    >"${recordings[-1]}" 2>>"$E2E_WORK/parec.log" &
  pids+=($!)
}
start_pw() {
  start_pipewire "$E2E_WORK" || fail "no PipeWire server"
  server_pid=$pipewire_pid
  pids+=("$pipewire_pid" "$wireplumber_pid")
  recordings+=("$E2E_WORK/sink-${#recordings[@]}.wav")
  # The session manager has taken the null sink in once it links the recorder to it.
  local deadline=$((SECONDS + 10))
  until pw-record --target plinkly-null "${recordings[-1]}" 2>>"$E2E_WORK/pw-record.log" & recorder=$!
    sleep 1; kill -0 "$recorder" 2>/dev/null; do
    ((SECONDS < deadline)) || fail "PipeWire's session manager took no sink in: $(tail -5 "$E2E_WORK/wireplumber.log")"
  done
  pids+=("$recorder")
}
stop_servers() {
  if ((${#pids[@]} > 1)); then
    kill "${pids[@]:1}" 2>/dev/null || true
    wait "${pids[@]:1}" 2>/dev/null || true
  fi
  pids=("$target_pid")
  rm -rf "$XDG_RUNTIME_DIR/pipewire-0" "$XDG_RUNTIME_DIR/pipewire-0.lock" "$XDG_RUNTIME_DIR/pulse"
}

# type_keys COUNT: keys 160 ms apart into the other application, counted into $typed, across
# the rows. Each key gets half of xdotool's delay. A key may be heard up to the late limit
# (100 ms) behind its time, a reopen's first key about 50 ms, and one sound lasts 42 ms: keys
# further apart than both together meet only when one was held past the limit, so a louder
# moment is a pile-up and not a key played late within it.
typed="$E2E_WORK/typed"
echo 0 >"$typed"
type_keys() {
  xdotool type --window "$target" --delay 320 "$(printf 'a%.0s' $(seq "$1"))"
  echo $(($(cat "$typed") + $1)) >"$typed"
}

# row NAME SERVERS SILENT FAULT: SERVERS are started (pw, pulse, or none), SILENT names the
# sockets that never answer (pw, pulse, both or none, each ":listen" for listening only), and
# FAULT (stall or restart, or none) befalls the running server while keys are typed.
row() {
  local name=$1 servers=$2 silent=$3 fault=$4
  trap stop_servers EXIT
  recordings=()
  local sockets=() options=()
  [[ $silent == pw* || $silent == both* ]] && sockets+=("$XDG_RUNTIME_DIR/pipewire-0")
  [[ $silent == pulse* || $silent == both* ]] && sockets+=("$XDG_RUNTIME_DIR/pulse/native")
  [[ $silent == *:listen ]] && options=(--listen-only)
  if ((${#sockets[@]})); then
    python3 "$(dirname "$0")/silent_server.py" "${options[@]}" "${sockets[@]}" &
    pids+=($!)
    for socket in "${sockets[@]}"; do wait_for 10 test -S "$socket" || fail "$name: no silent socket"; done
  fi
  [[ $servers == pw ]] && start_pw
  [[ $servers == pulse ]] && start_pulse

  local log="$E2E_WORK/plinkly-$name.log" started shown
  started=$(now_us)
  QT_LOGGING_RULES="plinkly.audio=true" "$PLINKLY" >"$log" 2>&1 &
  local app=$!
  pids+=("$app")
  until xdotool search --onlyvisible --name '^Plinkly$' >/dev/null 2>&1; do
    (($(since "$started") < 20000000)) || fail "$name: the control window did not appear"
    sleep 0.01
  done
  shown=$(since "$started")
  ((shown < 1000000)) || fail "$name: the first window took $(seconds "$shown") s"
  xdotool windowactivate --sync "$target"

  # Keys a second apart until one is heard where a sink plays.
  local heard tries=0
  type_keys 1
  sleep 1
  while ((${#recordings[@]})); do
    heard=$(peak "${recordings[@]}")
    over "$heard" "$(python3 -c "import sys; print(float(sys.argv[1]) / 2)" "$one")" && break
    ((++tries < 10)) || fail "$name: no key was heard: $(grep audio "$log" | tail -n3)"
    type_keys 1
    sleep 1
  done
  local marks=()
  for recording in "${recordings[@]}"; do marks+=("$(stat -c %s "$recording")"); done

  case $fault in
  stall)
    type_keys 8
    kill -STOP "$server_pid"
    type_keys 19
    kill -CONT "$server_pid"
    type_keys 16
    ;;
  restart)
    type_keys 8
    kill -9 "$server_pid"
    [[ $servers == pw ]] && kill -9 "$wireplumber_pid"
    type_keys 8
    [[ $servers == pw ]] && start_pw
    [[ $servers == pulse ]] && start_pulse
    type_keys 24
    ;;
  none) type_keys 32 ;;
  esac
  sleep 0.5

  # The log says which server did not answer and which road was tried next, as each gives up.
  if [[ $silent == pw* || $silent == both* ]]; then
    wait_for 5 grep -q "pipewire: the PipeWire server did not answer.*; trying pulse" "$log" ||
      fail "$name: the log does not say PipeWire did not answer: $(grep audio "$log")"
  fi
  if [[ $silent == pulse* || $silent == both* ]]; then
    wait_for 5 grep -q "pulse: the PulseAudio server did not answer.*; trying sdl" "$log" ||
      fail "$name: the log does not say PulseAudio did not answer: $(grep audio "$log")"
  fi

  local asked status=0 took
  asked=$(now_us)
  kill -TERM "$app"
  while kill -0 "$app" 2>/dev/null; do
    (($(since "$asked") < 10000000)) || fail "$name: Plinkly did not end within 10 s of SIGTERM"
    sleep 0.01
  done
  took=$(since "$asked")
  wait "$app" || status=$?
  [[ $status -eq 0 ]] || fail "$name: Plinkly ended with status $status"
  ((took < 1000000)) || fail "$name: quitting took $(seconds "$took") s: $(grep audio "$log" | tail -n3)"
  grep -qx "interactionStatsKeys=$(cat "$typed")" "$settings" ||
    fail "$name: the file holds $(grep interactionStatsKeys "$settings" || echo no count), not $(cat "$typed") keys"

  # The sink's monitor after the first key heard: in the old file from its mark on, and all of
  # any file a restarted server began.
  if ((${#recordings[@]})); then
    local after=()
    for i in "${!recordings[@]}"; do
      if ((i < ${#marks[@]})); then
        tail -c +"$((marks[i] + 1))" "${recordings[i]}" >"${recordings[i]}.after"
        after+=("${recordings[i]}.after")
      else
        after+=("${recordings[i]}")
      fi
    done
    local loudest
    loudest=$(peak "${after[@]}")
    # Resampling may round a sound's peak a little either way; two keys together are far louder.
    over "$loudest" "$(python3 -c "import sys; print(float(sys.argv[1]) * 1.1)" "$one")" &&
      fail "$name: sounds piled up after the fault: a peak of $loudest against $one for one key"
  fi
  echo "$name: window $(seconds "$shown") s, quit $(seconds "$took") s"
}

# Every row runs, each in a shell of its own, and the failures are told together. Behind a
# silent PipeWire socket, a real PulseAudio plays.
failed=()
while read -r name servers silent fault; do
  (row "$name" "$servers" "$silent" "$fault") || failed+=("$name")
  stop_servers
done <<'ROWS'
pw-silent pulse pw none
pw-listening pulse pw:listen none
pulse-silent none pulse none
pulse-listening none pulse:listen none
both-silent none both none
both-listening none both:listen none
pw-stopped pw none stall
pulse-stopped pulse none stall
pw-restarted pw none restart
pulse-restarted pulse none restart
ROWS
((${#failed[@]} == 0)) || fail "rows failed: ${failed[*]}"
echo "sound server faults: ok"
