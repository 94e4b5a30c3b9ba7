#!/usr/bin/env bash
# Builds the unit tests with Qt's assertions forced on under AddressSanitizer and
# UndefinedBehaviorSanitizer into build-sanitize, and runs them twice at full parallelism, so a
# fault that shows only in some interleavings has two chances to appear; then the desktop test
# that quits the sanitized program while sound plays through real servers, once.
# With --thread it builds them under ThreadSanitizer into build-tsan instead and runs them once;
# further arguments go to ctest (-R to pick tests).
set -euo pipefail
cd "$(dirname "$0")/.."
mode=address
if [[ ${1:-} == --thread ]]; then mode=thread; shift; fi
./setup.sh
jobs=$(nproc)
if [[ $mode == thread ]]; then
  if [[ ! -f build-tsan/build.ninja ]]; then
    cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPLINKLY_BUILD_BENCH=OFF \
      -DCMAKE_CXX_FLAGS="-O1 -g -fno-omit-frame-pointer -fsanitize=thread" \
      -DCMAKE_C_FLAGS="-O1 -g -fno-omit-frame-pointer -fsanitize=thread" \
      -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" >/dev/null
  fi
  # Qt, GLib and the sound libraries are not instrumented: their own memory accesses are not
  # watched, their pthread locks still are (tests/support/ThreadSanitizerFutures.cpp adds
  # Qt's future hand-overs). The build's resource generators run under it too.
  export TSAN_OPTIONS="ignore_noninstrumented_modules=1:halt_on_error=1:second_deadlock_stack=1"
  cmake --build build-tsan --parallel "$jobs" --target plinkly_tests
  cd build-tsan
  ctest --output-on-failure --parallel "$jobs" --timeout 300 --label-exclude desktop "$@"
  exit
fi
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
# The program itself, quitting while sound plays through each real server: the desktop tests of
# this build run its own sanitized program. Leaks at exit are the libraries' and not looked for.
echo "Sanitized program: quitting while sound plays"
ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0" ctest --output-on-failure --timeout 300 -R '^e2e\.test_quit_while_playing$'
