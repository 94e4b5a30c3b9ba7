# A focus session on a real window manager: switching to an application outside the allowed
# set nudges the pet once (not again within the minute), switching back is on task, and the
# session's record lands in the journal when it ends. While it runs and nobody switches, the
# session only wakes for its one-second tick and sends nothing to the X server.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

driver_bin="$BUILD_DIR/tests/plinkly_focus_driver"
window_bin="$BUILD_DIR/tests/plinkly_wm_class_window"
pet="$E2E_WORK/pet.log"
: >"$pet"

install_example_desktop_entries

clients=()
"$window_bin" editor EditorMain "Editor" & clients+=($!)
"$window_bin" chat Chat "Chat" & clients+=($!)
for title in Editor Chat; do
  wait_for 10 has_window_named "$title" || fail "window '$title' did not appear"
done
xdotool windowactivate --sync "$(window_named Editor)"

# Without windows of its own the driver's only X connection is the workspace's.
coproc DRIVER { exec env QT_QPA_PLATFORM=offscreen "$driver_bin" "$pet" 2>"$E2E_WORK/driver.log"; }
ask() {
  echo "$*" >&"${DRIVER[1]}"
  local reply
  read -r -t 10 -u "${DRIVER[0]}" reply || fail "driver gave no answer to: $*"
  echo "$reply"
}
nudges() { grep -c '^suspicious|' "$pet" || true; }

[[ "$(ask start 25 org.example.Editor)" == ok ]] || fail "session did not start"
[[ "$(ask status)" == "Focused on Finish the next important thing" ]] || fail "unexpected status: $(ask status)"

xdotool windowactivate --sync "$(window_named Chat)"
wait_for 5 bash -c "grep -q '^suspicious|' '$pet'" || fail "no nudge for an off-task application"
[[ "$(ask status)" == "Potential distraction: Example Chat" ]] || fail "unexpected status: $(ask status)"

xdotool windowactivate --sync "$(window_named Editor)"
wait_for 5 bash -c "[[ \$(tail -n1 '$pet') == 'focused|Nice. Stay locked in.' ]]" || fail "editor not on task"
xdotool windowactivate --sync "$(window_named Chat)"
for _ in $(seq 25); do
  [[ "$(ask status)" == "Potential distraction: Example Chat" ]] && break
  sleep 0.2
done
[[ "$(ask status)" == "Potential distraction: Example Chat" ]] || fail "second switch not seen"
[[ $(nudges) -eq 1 ]] || fail "nudged $(nudges) times within a minute"

# Idle cost: trace the driver's system calls for a few quiet seconds.
quiet=6
timeout -s INT "$quiet" strace -f -tt -o "$E2E_WORK/idle.strace" -p "$DRIVER_PID" || true
# One wake-up a second, and not one byte to or from the X server.
wakeups=$(grep -c ' poll(' "$E2E_WORK/idle.strace" || true)
traffic=$(grep -cE ' (read|recvmsg|recvfrom|write|writev|sendmsg|sendto)\(' "$E2E_WORK/idle.strace" || true)
echo "idle for ${quiet}s: $wakeups wake-ups, $traffic reads or writes, $(grep -c . "$E2E_WORK/idle.strace") system calls"
((wakeups <= quiet + 1)) || fail "$wakeups wake-ups in ${quiet}s: $(cat "$E2E_WORK/idle.strace")"
((traffic == 0)) || fail "the idle session talked to someone: $(cat "$E2E_WORK/idle.strace")"

[[ "$(ask stop)" == ok ]] || fail "session did not stop"
records=$(ask records)
[[ "$records" =~ ^1\ stopped\ [0-9]+$ ]] || fail "journal holds: $records"
[[ "$(tail -n1 "$pet")" == "idle|Break time. I’ll be here." ]] || fail "pet not told the session ended"

echo quit >&"${DRIVER[1]}"
wait "$DRIVER_PID" 2>/dev/null || true
kill "${clients[@]}" 2>/dev/null || true
echo "focus session: ok"
