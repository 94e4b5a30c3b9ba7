# The X11 workspace on a real window manager: each switch from one application to another is
# reported once, with the desktop-file id and name, however many windows the application
# has; the running list holds the other applications and none of our own windows. Without a
# window manager nothing is watched.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

probe_bin="$BUILD_DIR/tests/plinkly_workspace_probe"
window_bin="$BUILD_DIR/tests/plinkly_wm_class_window"
activations="$E2E_WORK/activations.log"
: >"$activations"

install_example_desktop_entries

clients=()
"$window_bin" editor EditorMain "Editor one" & clients+=($!)
"$window_bin" editor EditorMain "Editor two" & clients+=($!)
"$window_bin" chat Chat "Chat window" & clients+=($!)
"$window_bin" player Player "Player window" & clients+=($!)
for title in "Editor one" "Editor two" "Chat window" "Player window"; do
  wait_for 10 has_window_named "$title" || fail "window '$title' did not appear"
done

coproc PROBE { "$probe_bin" "$activations" 2>"$E2E_WORK/probe.log"; }
ask() {
  echo "$*" >&"${PROBE[1]}"
  local reply
  read -r -t 10 -u "${PROBE[0]}" reply || fail "probe gave no answer to: $*"
  echo "$reply"
}
wait_for 10 has_window_named "Plinkly workspace probe" || fail "probe window did not appear"
xdotool windowactivate --sync "$(window_named "Plinkly workspace probe")"
[[ "$(ask watch)" == ok ]] || fail "workspace cannot watch activations"

lines() { wc -l <"$activations"; }
# activate TITLE EXPECTED_LINES: brings the window forward and waits for the report count.
activate() {
  xdotool windowactivate --sync "$(window_named "$1")"
  wait_for 5 bash -c "[[ \$(wc -l <'$activations') -ge $2 ]]" || fail "no activation reported for '$1'"
  sleep 0.5
  [[ $(lines) -eq $2 ]] || fail "activating '$1' gave $(lines) reports, expected $2: $(tr '\n' ' ' <"$activations")"
}

activate "Editor one" 1
[[ "$(ask front)" == "org.example.Editor|Example Editor" ]] || fail "front is not the editor"
activate "Chat window" 2
activate "Editor two" 3
# Another window of the same application is no switch.
activate "Editor one" 3
activate "Player window" 4
activate "Plinkly workspace probe" 5

expected="org.example.Editor|Example Editor
chat|Example Chat
org.example.Editor|Example Editor
wmclass:Player|Player
plinkly|plinkly_workspace_probe"
[[ "$(cat "$activations")" == "$expected" ]] || fail "activations were: $(cat "$activations")"

running=$(ask running)
for app in "org.example.Editor|Example Editor" "chat|Example Chat" "wmclass:Player|Player"; do
  [[ ",$running," == *",$app,"* ]] || fail "running list lacks $app: $running"
done
[[ "$running" != *plinkly* ]] || fail "running list holds our own window: $running"

echo quit >&"${PROBE[1]}"
wait "$PROBE_PID" 2>/dev/null || true
kill "${clients[@]}" 2>/dev/null || true

# A display without a window manager publishes no active window: nothing can be watched.
exec 4>"$E2E_WORK/bare-display"
Xvfb -displayfd 4 -screen 0 800x600x24 -nolisten tcp >"$E2E_WORK/bare-xvfb.log" 2>&1 &
bare=$!
for _ in $(seq 100); do [[ -s "$E2E_WORK/bare-display" ]] && break; sleep 0.05; done
reply=$(echo watch | DISPLAY=":$(head -n1 "$E2E_WORK/bare-display")" "$probe_bin" /dev/null 2>>"$E2E_WORK/probe.log")
kill "$bare" 2>/dev/null || true
wait "$bare" 2>/dev/null || true
[[ "$reply" == unavailable ]] || fail "a display without a window manager answered '$reply' to watch"
echo "focus workspace: ok"
