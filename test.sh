#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite, desktop tests
# (under Xvfb) included.
set -euo pipefail
cd "$(dirname "$0")"
./setup.sh
./build.sh
jobs=$(nproc)
cd build
ctest --output-on-failure --parallel "$jobs" --timeout 300
