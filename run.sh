#!/usr/bin/env bash
# Installs what is missing, builds Plinkly and starts it. Without a display it starts on a
# virtual one (Xvfb with a window manager, compositor and tray) and says so.
set -euo pipefail
cd "$(dirname "$0")"
./setup.sh
./build.sh plinkly

if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
  exec ./build/plinkly
fi

echo "No display found: starting Plinkly on a virtual display (Xvfb). Stop it with Ctrl+C."
exec tests/e2e/desktop-session.sh --interactive ./build/plinkly
