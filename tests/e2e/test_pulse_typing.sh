# A fast typist through a real PulseAudio server: the default pack's own keys, held 60 ms, a key
# every 80 ms, so each key starts while the one before still sounds. Every key is heard, and no
# sound has a stretch of exact silence inside it (the server ran dry while it played).
set -euo pipefail
source "$(dirname "$0")/lib.sh"

for tool in pulseaudio parec pactl; do
  command -v "$tool" >/dev/null || fail "$tool is missing (./setup.sh installs it)"
done
export PLINKLY_AUDIO=pulse
source "$(dirname "$0")/pulse-server.sh"
start_pulseaudio "$E2E_WORK" || fail "no PulseAudio server"
pids=("$pulse_pid")
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT
parec -d plinkly-null.monitor --raw --format=float32le --rate=48000 --channels=2 --latency-msec=20 \
  >"$E2E_WORK/pulse.raw" 2>"$E2E_WORK/parec.log" &
pids+=($!)
# An idle null sink renders a block of up to 2 s ahead and plays nothing else until its end;
# the recording's first frames say that block is over.
wait_for 10 test -s "$E2E_WORK/pulse.raw" || fail "nothing was recorded: $(cat "$E2E_WORK/parec.log")"

# The default pack, centred, at full volume, without loudness matching.
write_exact_sound_settings
open_typing_target
pids+=("$target_pid")
QT_LOGGING_RULES="plinkly.audio=true" "$PLINKLY" >"$E2E_WORK/plinkly.log" 2>&1 &
app=$!
pids+=("$app")
wait_for 20 has_window_named "Plinkly" || fail "the control window did not appear"
xdotool windowactivate --sync "$target"

# A first key opens the stream; the run is typed once the stream is up.
type_in "$target" key a
sleep 1
start=$(stat -c %s "$E2E_WORK/pulse.raw")
keys=60
strokes=()
for ((i = 0; i < keys; i++)); do
  strokes+=(keydown a sleep 0.06 keyup a sleep 0.02)
done
type_in "$target" "${strokes[@]}"
sleep 1
kill "$app"
wait "$app" || true

pack="$BUILD_DIR/KnockwellResources/KeyboardPacks/recorded-cherry/samples"
python3 - "$E2E_WORK/pulse.raw" "$start" "$keys" "$pack" <<'PY' || fail "$(grep -i underrun "$E2E_WORK/pulseaudio.log" | tail -n3)"
import array, glob, sys, wave

raw, start, keys, pack = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
data = open(raw, "rb").read()[start // 8 * 8:]
frames = array.array("f", data[: len(data) // 8 * 8])
level = [max(abs(frames[i]), abs(frames[i + 1])) for i in range(0, len(frames), 2)]
rate, shortest_gap = 48000, 12  # 0.25 ms

# What each press sample gives: its quietest peak, and how long the shortest sounds before a
# stretch of exact silence of its own.
peaks, audible = [], []
for path in glob.glob(pack + "/regular-down-*.wav"):
    with wave.open(path) as w:
        values = array.array("h", w.readframes(w.getnframes()))
    peaks.append(max(abs(v) for v in values) / 32768)
    run, length = 0, len(values)
    for i, v in enumerate(values):
        run = run + 1 if v == 0 else 0
        if run == shortest_gap:
            length = i + 1 - run
            break
    audible.append(length)
if not peaks:
    sys.exit("no press samples in " + pack)
# Releases peak near half a press: a press is the first frame past 0.7 of the quietest press
# peak after 3 ms with none. A press can dip that long below it within its first 40 ms; keys
# come 80 ms apart.
threshold, quiet, settle = 0.7 * min(peaks), 3 * rate // 1000, 40 * rate // 1000
onsets, below = [], quiet
for i, v in enumerate(level):
    if v <= threshold:
        below += 1
        continue
    if below >= quiet and (not onsets or i - onsets[-1] >= settle):
        onsets.append(i)
    below = 0
gaps = []
for onset in onsets:
    run = 0
    for i in range(onset, min(onset + min(audible), len(level))):
        run = run + 1 if level[i] == 0.0 else 0
        if run == shortest_gap:
            gaps.append((onset, i))
            break
print("keys heard: %d of %d; sounds with a gap: %d" % (len(onsets), keys, len(gaps)))
if len(onsets) != keys:
    sys.exit("%d keys were heard of %d typed (onsets at %s ms)" % (len(onsets), keys, [o * 1000 // rate for o in onsets]))
if gaps:
    sys.exit("exact silence inside %d sounds, at %s ms" % (len(gaps), [g[1] * 1000 // rate for g in gaps]))
PY
echo "pulse typing: ok"
