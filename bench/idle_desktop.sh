#!/usr/bin/env bash
# The real program at rest on a virtual desktop (Xvfb, openbox, xcompmgr, a tray host), default
# settings with the pet shown and kept in one spot: per-thread wakeups and CPU over a window of
# idle, and where its memory sits.
#   bench/idle_desktop.sh [BUILD_DIR] [SECONDS] [RUNS]
# Extra settings lines ("key=value") may be given in IDLE_SETTINGS, separated by spaces; the
# measurement starts IDLE_SETTLE seconds (5) after the window is closed, e.g. 25 with
# IDLE_SETTINGS=petStayPut=false for a pet that has walked, grown bored and fallen asleep.
# With IDLE_PERF=1 the window is also timed by `perf stat -e task-clock`, finer than the
# kernel's 10 ms ticks. With IDLE_PIPEWIRE=1 each run has a PipeWire server and its session
# manager, as a desktop does (otherwise no sound server runs and every road to sound is tried).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
seconds=${2:-60}
runs=${3:-3}

if [[ "${IDLE_INSIDE:-}" != 1 ]]; then
  IDLE_INSIDE=1 exec "$root/tests/e2e/desktop-session.sh" --interactive "$0" "$build" "$seconds" "$runs"
fi

# A busy machine may start the compositor late; without it the pet would be a shaped window.
for _ in $(seq 100); do
  xwininfo -root -children | grep -q '"xcompmgr"' && break
  sleep 0.1
done
work=$(mktemp -d /tmp/plinkly-idle-XXXXXX)
pipewire_pid= wireplumber_pid=
stop_pipewire() {
  [[ -n "$pipewire_pid" ]] || return 0
  kill "$pipewire_pid" "$wireplumber_pid" 2>/dev/null || true
  wait "$pipewire_pid" "$wireplumber_pid" 2>/dev/null || true
  pipewire_pid= wireplumber_pid=
}
trap 'stop_pipewire; rm -rf "$work"' EXIT
source "$root/tests/e2e/pipewire-server.sh"
ticks=$(getconf CLK_TCK)

# Wakeups (voluntary context switches) per thread, as "tid count" lines.
switches() {
  local task
  for task in /proc/"$1"/task/*; do
    echo "${task##*/} $(awk '/^voluntary_ctxt_switches/ { print $2 }' "$task/status" 2>/dev/null || echo 0)"
  done
}
# The wakeups between two readings: every thread alive at the second one, and the main thread.
wakeups_between() {
  awk -v main="$3" 'NR == FNR { before[$1] = $2; next }
                    { n = $2 - before[$1]; all += n; if ($1 == main) m = n }
                    END { print all + 0, m + 0 }' "$1" "$2"
}
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
smaps_kib() { awk -v k="$2:" '$1 == k { print $2 }' "/proc/$1/smaps_rollup"; }

for run in $(seq "$runs"); do
  export HOME="$work/home-$run"
  export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_CACHE_HOME="$HOME/.cache"
  export XDG_RUNTIME_DIR="$work/runtime-$run" QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
  # A temporary folder of the run's own, so a build under /tmp is not taken for a download.
  export TMPDIR="$HOME/tmp"
  mkdir -p "$XDG_CONFIG_HOME/plinkly" "$XDG_RUNTIME_DIR" "$TMPDIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  printf '[General]\nhasCompletedOnboarding=true\ndidRequestInputMonitoringV2=true\npetStayPut=true\n' \
    >"$XDG_CONFIG_HOME/plinkly/plinkly.ini"
  for line in ${IDLE_SETTINGS:-}; do echo "$line" >>"$XDG_CONFIG_HOME/plinkly/plinkly.ini"; done
  if [[ -n "${IDLE_PIPEWIRE:-}" ]]; then
    mkdir -p "$work/logs-$run"
    start_pipewire "$work/logs-$run"
  fi

  "$build/plinkly" >"$work/plinkly-$run.log" 2>&1 &
  app=$!
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^Plinkly$' 2>/dev/null | head -n1 || true)
    [[ -n "$window" ]] && break
    sleep 0.2
  done
  # The control window opens at start; the resting program has it closed the way a user closes
  # it, through the window manager, so the program frees it (destroying the X window would not,
  # and a hidden window of the program bears the same name).
  for _ in $(seq 20); do
    [[ -n "${window:-}" ]] && xdotool search --onlyvisible --name '^Plinkly$' >/dev/null 2>&1 || break
    xdotool windowactivate "$window" 2>/dev/null && sleep 0.2 && xdotool key --clearmodifiers alt+F4 || true
    sleep 0.3
  done
  if [[ -n "${window:-}" ]] && xdotool search --onlyvisible --name '^Plinkly$' >/dev/null 2>&1; then
    echo "run $run: the control window did not close" >&2
  fi
  xdotool mousemove 5 400
  sleep "${IDLE_SETTLE:-5}"

  switches "$app" >"$work/before"
  cpu0=$(cpu_ticks "$app")
  task_clock=
  if [[ -n "${IDLE_PERF:-}" ]]; then
    perf stat -x, -e task-clock -p "$app" -o "$work/perf" -- sleep "$seconds"
    task_clock=$(awk -F, '$3 ~ /^task-clock/ { printf ", task-clock %.1f ms", $1 }' "$work/perf")
  else
    sleep "$seconds"
  fi
  switches "$app" >"$work/after"
  cpu1=$(cpu_ticks "$app")
  read -r all main < <(wakeups_between "$work/before" "$work/after" "$app")
  awk -v a="$all" -v m="$main" -v c=$((cpu1 - cpu0)) -v t="$ticks" -v s="$seconds" \
    -v rss="$(smaps_kib "$app" Rss)" -v pss="$(smaps_kib "$app" Pss)" -v run="$run" \
    -v tc="$task_clock" \
    'BEGIN { printf "run %d: wakeups %.1f/s (main thread %.1f/s), CPU %.3f %% of a core%s, RSS %.1f MiB, PSS %.1f MiB\n",
             run, a / s, m / s, 100 * c / t / s, tc, rss / 1024, pss / 1024 }'
  if [[ -n "${IDLE_SMAPS:-}" ]]; then
    # Resident memory by mapping (the heap, anonymous memory, each file), then by kind.
    awk '/^[0-9a-f]+-[0-9a-f]+ / { name = (NF >= 6 ? $6 : "[anon]") }
         $1 == "Rss:" { rss[name] += $2 } $1 == "Pss:" { pss[name] += $2 }
         END { for (n in rss) if (rss[n] > 0) printf "%8.2f %8.2f  %s\n", rss[n] / 1024, pss[n] / 1024, n }' \
      "/proc/$app/smaps" | sort -rn >"$IDLE_SMAPS.$run"
    awk -v exe="$build/plinkly" '
      function kind(n) {
        if (n == "[heap]") return "heap"
        if (n ~ /^\[/) return "anonymous (arenas, stacks)"
        if (n == exe) return "the executable"
        if (n ~ /\/plugins\//) return "Qt plugins"
        if (n ~ /libQt6/) return "Qt libraries"
        if (n ~ /SDL2|pipewire|spa-0|pulse|asound|sndfile|FLAC|vorbis|opus|ogg|mpg123|mp3lame|samplerate/) return "audio libraries"
        if (n ~ /memfd:xorg|SYSV/) return "X shared-memory images"
        if (n ~ /\/fonts\/|fontconfig/ && n !~ /\.so/) return "fonts and font caches"
        if (n ~ /\.so/) return "other shared libraries"
        return "other files (locale, icon cache)"
      }
      { n = $3; for (i = 4; i <= NF; i++) n = n " " $i; k = kind(n); r[k] += $1; p[k] += $2 }
      END { for (k in r) printf "%8.1f %8.1f  %s\n", r[k], p[k], k }' "$IDLE_SMAPS.$run" | sort -rn >"$IDLE_SMAPS.$run.kinds"
  fi
  if [[ -n "${IDLE_SMAPS:-}" ]]; then
    # The roads' client libraries mapped at rest.
    echo "audio client libraries mapped: $(grep -oE 'lib(pipewire-0\.3|pulse|SDL2-2\.0|asound)\.so[^ ]*' "/proc/$app/maps" |
      sed 's/\.so.*//' | sort -u | tr '\n' ' ')" >>"$IDLE_SMAPS.$run.kinds"
  fi
  kill "$app"
  wait "$app" 2>/dev/null || true
  stop_pipewire
done
