# Plinkly starts with a tray icon and its onboarding window; a second copy shows the
# "already open" alert and ends instead of running twice.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

"$PLINKLY" >"$E2E_WORK/first.log" 2>&1 &
first=$!
wait_for 20 has_window_named "Welcome to Plinkly" || fail "onboarding window did not appear"

# trayer embeds each tray icon as a child window of its own.
tray=$(xdotool search --class trayer | head -n1)
[[ -n "$tray" ]] || fail "no tray host"
wait_for 10 bash -c "xwininfo -children -id $tray | grep -q 'child'" || fail "no tray icon was docked"
icons_before=$(xwininfo -children -id "$tray" | grep -Eo '^ +[0-9]+ child' | grep -Eo '[0-9]+')
[[ "$icons_before" -ge 1 ]] || fail "tray icon missing"

"$PLINKLY" >"$E2E_WORK/second.log" 2>&1 &
second=$!
wait_for 20 has_window_named "Plinkly is already open" || fail "second copy showed no alert"
screenshot e2e-already-open
icons_now=$(xwininfo -children -id "$tray" | grep -Eo '^ +[0-9]+ child' | grep -Eo '[0-9]+')
[[ "$icons_now" == "$icons_before" ]] || fail "the refused copy docked a tray icon"
xdotool windowactivate --sync "$(window_named "Plinkly is already open")" key Return
wait_for 10 bash -c "! kill -0 $second" || fail "second copy kept running"
kill -0 "$first" || fail "first copy ended"

kill "$first"
wait "$first" || true
echo "startup: ok"
