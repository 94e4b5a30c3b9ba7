#!/usr/bin/env bash
# tools/mutants.sh on a tiny project of its own: it reports the faults its test catches and the
# one it misses, and leaves the sources and the build as they were (a build that kept a
# mutant's objects would fail the test afterwards).
set -euo pipefail
tools=$(cd "$(dirname "$0")/../../tools" && pwd)
project=$(mktemp -d /tmp/plinkly-mutants-test-XXXXXX)
trap 'rm -rf "$project"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cd "$project"
mkdir -p tools src
cp "$tools/mutants.sh" "$tools/mutate.py" tools/
cat >CMakeLists.txt <<'CMAKE'
cmake_minimum_required(VERSION 3.16)
project(tiny CXX)
enable_testing()
add_executable(tiny src/main.cpp src/Tiny.cpp)
add_test(NAME tiny.checks COMMAND tiny)
CMAKE
printf 'int clampAdd(int a, int b);\n' >src/Tiny.h
printf '#include "Tiny.h"\nint main() { return clampAdd(2, 3) == 5 && clampAdd(9, 9) == 10 ? 0 : 1; }\n' >src/main.cpp
printf '#include "Tiny.h"\nint clampAdd(int a, int b)\n{\n    return 0;\n}\n' >src/Tiny.cpp
git=(git -c user.name=t -c user.email=t@t)
"${git[@]}" init -q
"${git[@]}" add -A
"${git[@]}" commit -qm base
# The change under test; the test checks the sum and the clamp, not the clamp's exact edge.
printf '#include "Tiny.h"\nint clampAdd(int a, int b)\n{\n    const int sum = a + b;\n    return sum > 10 ? 10 : sum;\n}\n' >src/Tiny.cpp
cp src/Tiny.cpp "$project.expected"
cmake -S . -B build -G Ninja >/dev/null

PLINKLY_JOBS=2 tools/mutants.sh --sample 0 --target tiny HEAD >report.txt 2>&1 || fail "the run failed: $(cat report.txt)"
cmp -s src/Tiny.cpp "$project.expected" || fail "the source was not restored"
rm "$project.expected"
[[ -z "$("${git[@]}" status --porcelain -- src)" || "$("${git[@]}" status --porcelain -- src)" == " M src/Tiny.cpp" ]] ||
  fail "the tree changed: $("${git[@]}" status --porcelain)"
(cd build && ctest >/dev/null) || fail "the build kept a mutant: $(cat report.txt)"

# Lines 4 and 5 changed: a + b (1 fault), sum > 10 (2 and 3 for its constant), the clamped 10
# (3) and the returned value (1).
grep -q "^mutants: 10 planted, 0 did not build, 7 of 10 killed (70 %)$" report.txt ||
  fail "unexpected tally: $(cat report.txt)"
grep -q "killed by tiny.checks: src/Tiny.cpp:4 arithmetic" report.txt || fail "no kill named its test: $(cat report.txt)"
# The ones it cannot see: the clamp's edge moved by one either way.
[[ $(sed -n '/^survivors:/,$p' report.txt | grep -c '^src/Tiny.cpp:5 ') == 3 ]] ||
  fail "the survivors are not listed: $(cat report.txt)"
grep -q "^  + return sum >= 10 ? 10 : sum;$" report.txt || fail "a survivor's change is not shown: $(cat report.txt)"
echo "mutants tool: ok"
