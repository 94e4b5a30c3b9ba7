#!/usr/bin/env bash
# Writes a PNG of every window, page and notable state of Plinkly into a new folder and prints it.
# Contract: a feature adds its states by adding tools/screenshots/scenes/<Feature>Scenes.cpp with
# static SceneRegistrar objects (see tools/screenshots/SceneRig.h); no shared list is edited.
# Each scene gets a fresh AppController over a throw-away settings file and folder, may swap
# platform pieces for fakes, sets up its state and calls rig.capture(name, window).
# Usage: tools/screenshots.sh [NAME_FRAGMENT]  (runs only scenes whose name contains it)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="${PLINKLY_BUILD_DIR:-$root/build}"
PLINKLY_JOBS="${PLINKLY_JOBS:-3}" "$root/build.sh" plinkly_screenshots >/dev/null
out=$(mktemp -d /tmp/plinkly-screenshots-XXXXXX)

# A throw-away home, fixed DPI, the bundled fonts and icons, the kit's style over Fusion.
run_scenes() {
  export HOME="$out/.home" XDG_CONFIG_HOME="$out/.home/.config" XDG_DATA_HOME="$out/.home/.local/share"
  export XDG_CACHE_HOME="$out/.home/.cache" XDG_RUNTIME_DIR="$out/.home/runtime"
  mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  export QT_QPA_PLATFORM=xcb QT_FONT_DPI=96 QT_SCALE_FACTOR=1 QT_ENABLE_HIGHDPI_SCALING=0 QT_STYLE_OVERRIDE=Fusion
  export SDL_AUDIODRIVER=dummy
  "$build/tools/screenshots/plinkly_screenshots" "$out" "$@" >"$out/.files"
  rm -rf "$out/.home"
}
export -f run_scenes
export out build
if ! "$root/tests/e2e/desktop-session.sh" --interactive bash -c 'run_scenes "$@"' run_scenes "$@" \
  >/dev/null 2>"$out/.session.log"; then
  cat "$out/.session.log" >&2
  exit 1
fi
echo "$(wc -l <"$out/.files") screenshots in $out"
rm -f "$out/.files" "$out/.session.log"
