#!/usr/bin/env bash
# Builds the unit tests with Qt's assertions forced on under AddressSanitizer and
# UndefinedBehaviorSanitizer into build-sanitize, and runs them twice at full parallelism, so a
# fault that shows only in some interleavings has two chances to appear.
set -euo pipefail
cd "$(dirname "$0")/.."
./setup.sh
jobs=$(nproc)
if [[ ! -f build-sanitize/build.ninja ]]; then
  cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPLINKLY_BUILD_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="-O1 -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=undefined -DQT_FORCE_ASSERTS" \
    -DCMAKE_C_FLAGS="-O1 -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=undefined" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
fi
cmake --build build-sanitize --parallel "$jobs"
export ASAN_OPTIONS=abort_on_error=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp"
cd build-sanitize
for run in 1 2; do
  echo "Sanitizer run $run of 2"
  ctest --output-on-failure --parallel "$jobs" --timeout 300 --label-exclude desktop
done
