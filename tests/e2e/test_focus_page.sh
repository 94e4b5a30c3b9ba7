# The Focus page by mouse and keyboard: a goal typed into the form starts a session whose card
# replaces the form; a check-in is logged; ending the session offers "Wrap Up", and the saved
# reflection lands on the session's record. A restarted application still holds all of it.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

write_exact_sound_settings
settings="$XDG_CONFIG_HOME/plinkly/plinkly.ini"
shots="$E2E_WORK/shots"
mkdir -p "$shots"

start_plinkly() {
  "$PLINKLY" >>"$E2E_WORK/plinkly.log" 2>&1 &
  plinkly=$!
  wait_for 20 bash -c "xdotool search --onlyvisible --name '^Plinkly\$' | grep -q ." || fail "control window did not appear"
  window=$(xdotool search --onlyvisible --name '^Plinkly$' | head -n1)
  sleep 0.5
  origin_x=$(xwininfo -id "$window" | sed -n 's/.*Absolute upper-left X: *//p')
  origin_y=$(xwininfo -id "$window" | sed -n 's/.*Absolute upper-left Y: *//p')
  # The Focus button of the page bar (sixth of seven across 760 px).
  click_at $((18 + 5 * (760 - 36 - 42) / 7 + 5 * 7 + (760 - 36 - 42) / 14)) 91
}
# Client coordinates of the 760×680 window; the page's content starts 118 px down.
click_at() {
  xdotool mousemove $((origin_x + $1)) $((origin_y + $2)) click 1
  sleep 0.4
}
type_text() {
  xdotool key --clearmodifiers ctrl+a
  xdotool type --delay 15 "$1"
  sleep 0.3
}
stored() { # KEY: the stored JSON text of a journal list
  grep "^$1=" "$settings" 2>/dev/null || true
}
pixel() { # client X Y -> "R G B"
  import -window root -crop "1x1+$((origin_x + $1))+$((origin_y + $2))" -depth 8 txt:- | tail -n1 |
    sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p'
}
# The running card's gradient is bluish; the form's panel is white.
card_shown() {
  local r g b
  read -r r g b < <(pixel 40 140)
  ((b > r + 10))
}
card_hidden() { ! card_shown; }
finish() {
  screenshot "e2e-focus-page-failed"
  fail "$1"
}

start_plinkly
card_shown && finish "the card shows before any session"

# The goal field, "Save setup", then "Start 25-minute session".
click_at 372 195
type_text "Write the release notes"
click_at 93 344
wait_for 10 bash -c "grep -q 'Write the release notes' <(grep '^focusSetupsV1=' '$settings')" ||
  finish "the setup was not saved"
click_at 600 344
wait_for 5 card_shown || finish "the running card did not replace the form"
import -window "$window" "$shots/running.png"

# The check-in field and "Log".
click_at 334 330
type_text "changelog gathered"
click_at 668 331
wait_for 10 bash -c "grep -q 'changelog gathered' '$settings'" || finish "the check-in was not stored"

# "End Session": the form returns and the record is stored.
click_at 453 368
wait_for 5 card_hidden || finish "the form did not come back"
wait_for 10 bash -c "grep -q 'Write the release notes' <(grep '^focusRecordsV1=' '$settings')" ||
  finish "the session was not recorded"

# "Wrap Up" is the last section: scroll to the end, type the reflection, save it.
xdotool mousemove $((origin_x + 380)) $((origin_y + 400))
xdotool click --repeat 40 --delay 10 5
sleep 0.5
import -window "$window" "$shots/wrap-up.png"
click_at 372 574
xdotool type --delay 15 "Next: proofread the notes"
sleep 0.3
click_at 645 631
wait_for 10 bash -c "grep -q 'Next: proofread the notes' <(grep '^focusRecordsV1=' '$settings')" ||
  finish "the reflection was not saved to the record"
import -window "$window" "$shots/reflected.png"
# Without "Wrap Up" the page is shorter and its end, scrolled to, shows the log.
[[ "$(md5sum <"$shots/wrap-up.png")" != "$(md5sum <"$shots/reflected.png")" ]] || finish "the page did not change"

kill "$plinkly"
wait "$plinkly" 2>/dev/null || true

start_plinkly
card_shown && finish "a session runs after the restart"
for text in "Write the release notes" "changelog gathered" "Next: proofread the notes"; do
  grep -q "$text" "$settings" || finish "'$text' is gone after the restart"
done
import -window "$window" "$shots/restarted.png"
kill "$plinkly"
wait "$plinkly" 2>/dev/null || true
echo "focus page: ok"
