#!/usr/bin/env bash
# Installs the Debian 12 packages Plinkly needs to build, run and test; only the missing ones.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-qpa-plugins
  libsdl2-dev libpipewire-0.3-dev libspa-0.2-dev libpulse-dev libsndfile1-dev libsamplerate0-dev libzip-dev zip unzip
  libbox2d-dev libevdev-dev libudev-dev libxkbcommon-dev libxkbcommon-x11-dev
  libxcb1-dev libxcb-ewmh-dev libxcb-xinput-dev libxcb-shape0-dev libx11-dev libx11-xcb-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth openbox xcompmgr trayer dbus dbus-x11 xdotool x11-utils imagemagick python3 strace
  at-spi2-core python3-pyatspi
  xdg-desktop-portal xdg-desktop-portal-gtk fuse3 dconf-cli dconf-gsettings-backend gsettings-desktop-schemas
  libglib2.0-bin xdg-utils
  pipewire pipewire-bin wireplumber pulseaudio pulseaudio-utils
  adwaita-icon-theme fonts-dejavu fonts-noto-color-emoji
  librsvg2-bin desktop-file-utils appstream dpkg-dev
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
