#!/usr/bin/env bash
# Configures and builds Plinkly into ./build. Arguments are passed on to ninja (targets).
set -euo pipefail
cd "$(dirname "$0")"
jobs=${PLINKLY_JOBS:-$(nproc)}
# Each compile of Qt code takes several hundred MB; stay within memory on small machines.
[[ $jobs -gt 8 ]] && jobs=8
if [[ ! -f build/build.ninja ]]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
# Ninja does not always re-run moc for headers added since the last build; a stale
# timestamp makes it look again.
for stamp in build/*_autogen/timestamp build/tests/*_autogen/timestamp; do
  if [[ -f $stamp && -n "$(find src tests -name '*.h' -newer "$stamp" -print -quit)" ]]; then
    rm -f "$stamp"
  fi
done
cmake --build build --parallel "$jobs" ${1:+--target "$@"}
