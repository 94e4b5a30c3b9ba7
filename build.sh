#!/usr/bin/env bash
# Configures and builds Plinkly into ./build. Arguments are passed on to ninja (targets).
set -euo pipefail
cd "$(dirname "$0")"
jobs=$(nproc)
# Each compile of Qt code takes several hundred MB; stay within memory on small machines.
[[ $jobs -gt 8 ]] && jobs=8
if [[ ! -f build/build.ninja ]]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build build --parallel "$jobs" ${1:+--target "$@"}
