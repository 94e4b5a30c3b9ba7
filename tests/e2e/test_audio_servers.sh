# Keys typed in another application are heard through a real PipeWire server and a real
# PulseAudio server, each with a null sink whose monitor is recorded. An idle stream is parked
# and taken up again by the next key. Killing a server, with its stream parked or playing, sends the next key down the next road, without a hang or a spinning
# thread.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

for tool in pipewire wireplumber pw-record pw-cli pulseaudio parec pactl; do
  command -v "$tool" >/dev/null || fail "$tool is missing (./setup.sh installs it)"
done
unset PLINKLY_AUDIO
server_pids=()
trap 'kill "${server_pids[@]}" 2>/dev/null || true' EXIT

# PipeWire, with its session manager to link new streams, on the run's own runtime folder.
source "$(dirname "$0")/pipewire-server.sh"
start_pipewire "$E2E_WORK" || fail "no PipeWire server"
server_pids+=("$pipewire_pid" "$wireplumber_pid")

# PulseAudio beside it, on a folder of its own.
source "$(dirname "$0")/pulse-server.sh"
start_pulseaudio "$E2E_WORK" || fail "no PulseAudio server"
server_pids+=("$pulse_pid")

# The session manager has taken the null sink as the default output once it links a recorder
# to it.
pw-record --target plinkly-null "$E2E_WORK/pipewire.wav" >"$E2E_WORK/pw-record.log" 2>&1 &
pw_record_pid=$!
server_pids+=("$pw_record_pid")
wait_for 10 sh -c "pw-cli ls Link | grep -q link" || fail "the session manager links nothing: $(tail -5 "$E2E_WORK/wireplumber.log")"
parec -d plinkly-null.monitor --raw --format=s16le --rate=48000 --channels=2 --latency-msec=20 \
  >"$E2E_WORK/pulse.raw" 2>"$E2E_WORK/parec.log" &
parec_pid=$!
server_pids+=("$parec_pid")

install_ramp_pack
write_exact_sound_settings selectedKeyboardPack=e2e-ramp
open_typing_target
QT_LOGGING_RULES="plinkly.audio=true" "$PLINKLY" >"$E2E_WORK/plinkly.log" 2>&1 &
app=$!
wait_for 20 has_window_named "Plinkly" || fail "the control window did not appear"
xdotool windowactivate --sync "$target"

# peak FILE [FROM]: the loudest sample of a 16-bit stereo recording (raw, or a WAV whose header
# may not have been finished) after its first FROM bytes, as a fraction of full scale.
peak() {
  python3 - "$1" "${2:-0}" <<'PY'
import array, sys
data = open(sys.argv[1], "rb").read()
start = int(sys.argv[2]) // 2 * 2
if data[:4] == b"RIFF":
    start = max(start, data.index(b"data") + 8)
data = data[start:]
samples = array.array("h", data[: len(data) // 2 * 2])
print("%.3f" % (max((abs(v) for v in samples), default=0) / 32768))
PY
}
heard() {
  python3 -c "import sys; sys.exit(0 if float(sys.argv[1]) > 0.2 else 1)" "$(peak "$@")"
}
# plinkly_nodes: "ID STATE" of each of Plinkly's streams in the PipeWire graph.
plinkly_nodes() {
  pw-dump 2>/dev/null | python3 -c '
import json, sys
for o in json.load(sys.stdin):
    info = o.get("info") or {}
    if o.get("type") == "PipeWire:Interface:Node" and (info.get("props") or {}).get("node.name") == "plinkly":
        print(o["id"], info.get("state"))'
}
all_parked() {
  local nodes
  nodes=$(plinkly_nodes)
  [[ -n $nodes && $nodes != *running* ]]
}
# road_taken ROAD: the log says the sound went through ROAD last.
road_taken() {
  [[ $(grep "sound goes through" "$E2E_WORK/plinkly.log" | tail -n1) == *"through $1"* ]]
}
# type_until SECONDS CHECK...: types a key a second until the check holds.
type_until() {
  local seconds=$1 deadline
  shift
  deadline=$((SECONDS + seconds))
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    type_in "$target" key a
    sleep 1
  done
}

# same_stream_after_idle LIST RECORDING SERVER: the next key is heard in RECORDING, played by
# the very streams LIST shows parked now.
same_stream_after_idle() {
  local list=$1 recording=$2 server=$3 parked recorded
  parked=$("$list" | cut -d' ' -f1 | sort)
  recorded=$(stat -c %s "$recording")
  type_until 10 heard "$recording" "$recorded" || fail "the key after idle was not heard through $server"
  [[ $("$list" | cut -d' ' -f1 | sort) == "$parked" ]] ||
    fail "a new stream played the key after idle: $("$list"), parked $parked"
}

type_until 30 heard "$E2E_WORK/pipewire.wav" ||
  fail "no key heard through PipeWire (peak $(peak "$E2E_WORK/pipewire.wav"); $(grep "sound goes through" "$E2E_WORK/plinkly.log" | tail -n1); nodes: $(plinkly_nodes | tr '\n' ' '))"
road_taken pipewire || fail "the log does not say PipeWire played: $(grep audio "$E2E_WORK/plinkly.log")"
heard "$E2E_WORK/pulse.raw" && fail "a key was played through PulseAudio as well"

# Once idle the stream is parked, still linked but out of the graph's cycle; the next key runs
# that same stream again.
wait_for 10 all_parked || fail "the idle stream was not parked: $(plinkly_nodes)"
same_stream_after_idle plinkly_nodes "$E2E_WORK/pipewire.wav" PipeWire

# The PipeWire server goes away while the stream is parked: the next keys go through PulseAudio.
wait_for 10 all_parked || fail "the idle stream was not parked: $(plinkly_nodes)"
kill -9 "$pipewire_pid" "$wireplumber_pid"
type_until 10 heard "$E2E_WORK/pulse.raw" || fail "no key heard through PulseAudio once PipeWire was gone"
road_taken pulse || fail "the log does not say PulseAudio took over: $(grep audio "$E2E_WORK/plinkly.log")"

# pulse_streams: "INDEX CORKED" of each of Plinkly's PulseAudio streams.
pulse_streams() {
  pactl list sink-inputs 2>/dev/null | awk '
    /^Sink Input #/ { index_ = substr($3, 2); corked = "" }
    /^[ \t]*Corked:/ { corked = $2 }
    /application.name = "Plinkly"/ { print index_, corked }'
}
pulse_parked() {
  local streams
  streams=$(pulse_streams)
  [[ -n $streams && $streams != *no* ]]
}
# Idle, the PulseAudio stream is corked, and the next key uncorks that same stream.
wait_for 10 pulse_parked || fail "the idle PulseAudio stream was not corked: $(pulse_streams)"
same_stream_after_idle pulse_streams "$E2E_WORK/pulse.raw" PulseAudio
# Another program playing would run the device at the corked stream's short latency: the corked
# stream goes, and the next key is heard through a new one.
wait_for 10 pulse_parked || fail "the idle PulseAudio stream was not corked again: $(pulse_streams)"
pacat --latency-msec=200 /dev/zero &
other_pid=$!
server_pids+=("$other_pid")
no_pulse_stream() { [[ -z $(pulse_streams) ]]; }
wait_for 10 no_pulse_stream ||
  fail "the corked stream stayed while another program played: $(pulse_streams)"
recorded=$(stat -c %s "$E2E_WORK/pulse.raw")
type_until 10 heard "$E2E_WORK/pulse.raw" "$recorded" || fail "no key heard through PulseAudio beside another program"
kill "$other_pid"

# Then PulseAudio goes away too: the keys fall through to SDL and Plinkly stays responsive
# and idle.
type_in "$target" key a
kill -9 "$pulse_pid"
type_until 10 road_taken sdl || fail "the sound did not fall through to SDL: $(grep audio "$E2E_WORK/plinkly.log")"
kill -0 "$app" || fail "Plinkly is gone"
cpu_ticks() { awk '{print $14 + $15}' "/proc/$app/stat"; }
before=$(cpu_ticks)
sleep 3
used=$(($(cpu_ticks) - before))
((used < 100)) || fail "Plinkly used $used ticks of CPU in 3 idle seconds: a thread spins"

kill "$app" "$target_pid" 2>/dev/null || true
wait "$app" || true
echo "audio servers: ok"
