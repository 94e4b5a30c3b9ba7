# The install command puts a working Plinkly under any prefix: the program finds its sounds
# under share/plinkly, its window carries the class the desktop entry names, and a program
# copied away from its sounds says so instead of running silently.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

prefix="$E2E_WORK/prefix"
cmake --install "$BUILD_DIR" --prefix "$prefix" >"$E2E_WORK/install.log" || fail "the install failed"
id=io.github.plinkly.Plinkly
for file in bin/plinkly share/applications/$id.desktop share/icons/hicolor/scalable/apps/$id.svg \
  share/icons/hicolor/256x256/apps/$id.png share/metainfo/$id.metainfo.xml \
  share/plinkly/KnockwellResources/KeyboardPacks/recorded-cherry/manifest.json \
  share/plinkly/KnockwellResources/SystemSounds/Glass.wav; do
  [[ -f "$prefix/$file" ]] || fail "$file was not installed"
done

missing_alert="Plinkly can’t find its sounds"
write_exact_sound_settings
"$prefix/bin/plinkly" >"$E2E_WORK/installed.log" 2>&1 &
app=$!
wm_class=$(sed -n 's/^StartupWMClass=//p' "$prefix/share/applications/$id.desktop")
control_window_has_class() {
  local window
  for window in $(xdotool search --onlyvisible --class "^$1\$"); do
    [[ "$(xdotool getwindowname "$window")" == Plinkly ]] && return 0
  done
  return 1
}
wait_for 20 control_window_has_class "$wm_class" ||
  fail "no control window of the desktop entry's class $wm_class appeared"
! has_window_named "$missing_alert" || fail "the installed copy did not find its sounds"
kill "$app"
wait "$app" || true

mkdir -p "$E2E_WORK/alone"
cp "$prefix/bin/plinkly" "$E2E_WORK/alone/"
"$E2E_WORK/alone/plinkly" >"$E2E_WORK/alone.log" 2>&1 &
app=$!
wait_for 20 has_window_named "$missing_alert" || fail "a copy without its sounds did not say so"
kill "$app"
wait "$app" || true
echo "install: ok"
