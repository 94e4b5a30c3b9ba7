# A logout or `kill` ends Plinkly through its normal quit: the keys typed since the last
# periodic save, up to the moment of the signal, reach the settings file, whichever of the
# ending signals arrives.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

settings="$XDG_CONFIG_HOME/plinkly/plinkly.ini"
write_exact_sound_settings interactionStatsEnabled=true

open_typing_target

expected=0
for signal in TERM HUP INT; do
  "$PLINKLY" >"$E2E_WORK/plinkly-$signal.log" 2>&1 &
  app=$!
  # Hidden helper windows carry the name too; the shown control window comes once input is heard.
  wait_for 20 bash -c "xdotool search --onlyvisible --name '^Plinkly\$' | grep -q ." ||
    fail "the control window did not appear ($signal)"
  xdotool windowactivate --sync "$target"
  # Held still while the keys are typed, Plinkly finds them and the signal waiting together
  # when it goes on, as on a loaded machine: the keys the display server has already passed
  # on must be read and counted on the way out, well before the 30 s periodic save.
  kill -STOP "$app"
  xdotool type --window "$target" --delay 60 "plink"
  expected=$((expected + 5))
  kill -s "$signal" "$app"
  kill -CONT "$app"
  wait_for 10 bash -c "! kill -0 $app" || fail "Plinkly did not end on SIG$signal"
  status=0
  wait "$app" || status=$?
  [[ $status -eq 0 ]] || fail "Plinkly ended with status $status on SIG$signal"
  grep -qx "interactionStatsKeys=$expected" "$settings" ||
    fail "after SIG$signal the file holds $(grep interactionStatsKeys "$settings" || echo no count), not $expected"
done

kill "$target_pid"
echo "termination: ok"
