# A PipeWire server with a null sink (pipewire-null-sink.conf) on the run's $XDG_RUNTIME_DIR,
# and its session manager to link new streams (sourced).
# start_pipewire LOG_FOLDER: sets pipewire_pid and wireplumber_pid once the server's socket is
# up; fails, leaving nothing running, when it is not within 10 s.
start_pipewire() {
  local logs=$1 deadline=$((SECONDS + 10))
  pipewire -c "$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/pipewire-null-sink.conf" >"$logs/pipewire.log" 2>&1 &
  pipewire_pid=$!
  until [[ -S "$XDG_RUNTIME_DIR/pipewire-0" ]]; do
    if ((SECONDS >= deadline)); then
      kill "$pipewire_pid" 2>/dev/null || true
      echo "PipeWire did not start: $(tail -5 "$logs/pipewire.log")" >&2
      return 1
    fi
    sleep 0.1
  done
  wireplumber >"$logs/wireplumber.log" 2>&1 &
  wireplumber_pid=$!
}
