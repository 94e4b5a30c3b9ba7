#!/usr/bin/env bash
# Plants faults, one at a time, in the C++ sources under src/ changed since BASE, and tells
# which of them the tests notice: the kill rate, and each survivor with its place and change.
#   tools/mutants.sh [--sample N] [--seed S] [--timeout SECONDS] [--target T]... BASE [CTEST_REGEX]
# Only the lines changed since BASE are mutated (universalmutator's `mutate`, when on PATH,
# mutates the whole files). Each mutant is built incrementally in build/ (the unit tests'
# target unless --target or a CTEST_REGEX says otherwise) and judged by `ctest -R CTEST_REGEX`,
# by default the unit tests. A mutant that does not build is not counted; one whose tests run
# past the timeout counts as killed. The source is put back after every mutant, whatever ends
# the run.
set -euo pipefail
cd "$(dirname "$0")/.."

sample=40 seed=1 timeout=600 targets=()
while [[ ${1:-} == --* ]]; do
  case $1 in
    --sample) sample=$2 ;;
    --seed) seed=$2 ;;
    --timeout) timeout=$2 ;;
    --target) targets+=("$2") ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
  esac
  shift 2
done
[[ $# -ge 1 && $# -le 2 ]] || { sed -n '2,11p' "$0" | sed 's/^# \?//' >&2; exit 2; }
base=$1
regex=${2:-}
git rev-parse --verify --quiet "$base^{commit}" >/dev/null || { echo "unknown revision $base" >&2; exit 2; }
if ((${#targets[@]} == 0)); then
  if [[ -z $regex ]]; then targets=(plinkly_tests); else targets=(all); fi
fi
ctest_args=(--label-exclude desktop)
[[ -z $regex ]] || ctest_args=(-R "$regex")

mapfile -t files < <(git diff --name-only --diff-filter=AM "$base" -- 'src/*.cpp' 'src/*.h')
((${#files[@]})) || { echo "no source under src/ changed since $base"; exit 0; }

work=$(mktemp -d /tmp/plinkly-mutants-XXXXXX)
current=
restore() {
  if [[ -n $current ]]; then
    cp -p "$work/original" "$current"
    current=
  fi
}
finish() {
  local status=$?
  restore
  rm -rf "$work"
  exit "$status"
}
trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

if command -v mutate >/dev/null && command -v analyze_mutants >/dev/null; then
  # universalmutator: every mutant of the whole files, sampled here like our own.
  for i in "${!files[@]}"; do
    mkdir -p "$work/um/$i"
    mutate "${files[$i]}" --mutantDir "$work/um/$i" --noCheck >/dev/null
  done
  /usr/bin/python3 tools/mutate.py --from-dir "$work/um" --sample "$sample" --seed "$seed" --out "$work/mutants" "${files[@]}"
else
  /usr/bin/python3 tools/mutate.py --base "$base" --sample "$sample" --seed "$seed" --out "$work/mutants" "${files[@]}"
fi

jobs=${PLINKLY_JOBS:-$(nproc)}
build() { cmake --build build --parallel "$jobs" --target "${targets[@]}" </dev/null >"$work/build.log" 2>&1; }
[[ -f build/build.ninja ]] || ./build.sh >/dev/null
build || { echo "the unmutated tree does not build:" >&2; tail -20 "$work/build.log" >&2; exit 1; }
(cd build && ctest "${ctest_args[@]}" --parallel "$jobs" >"$work/ctest.log" 2>&1) ||
  { echo "the tests fail on the unmutated tree:" >&2; tail -20 "$work/ctest.log" >&2; exit 1; }

killed=0 survived=0 unbuilt=0
survivors=()
while IFS=$'\t' read -r id file line operator before after; do
  cp -p "$file" "$work/original"
  current=$file
  cp "$work/mutants/$id.src" "$file"
  status=0
  if ! build; then
    verdict="did not build"
    unbuilt=$((unbuilt + 1))
  elif (cd build && timeout "$timeout" ctest "${ctest_args[@]}" --parallel "$jobs" </dev/null >"$work/ctest.log" 2>&1) || status=$?
    ((status == 0)); then
    verdict=SURVIVED
    survived=$((survived + 1))
    survivors+=("$file:$line ($operator)"$'\n'"  - $before"$'\n'"  + $after")
  elif ((status == 124)); then
    verdict="killed (tests ran past ${timeout} s)"
    killed=$((killed + 1))
  else
    # The tests that caught it, so a kill by a flaky test can be told apart.
    verdict="killed by $(sed -n 's/^[[:space:]]*[0-9]\+ - \([^ ]*\).*/\1/p' "$work/ctest.log" | head -3 | paste -sd, -)"
    killed=$((killed + 1))
  fi
  restore
  printf '%s %s: %s:%s %s: %s  =>  %s\n' "$id" "$verdict" "$file" "$line" "$operator" "$before" "$after"
done <"$work/mutants/mutants.tsv"
# Leave build/ matching the restored sources.
build || echo "rebuilding the restored sources failed: see $work/build.log" >&2

counted=$((killed + survived))
echo
echo "mutants: $((counted + unbuilt)) planted, $unbuilt did not build, $killed of $counted killed" \
  "($((counted ? 100 * killed / counted : 0)) %)"
if ((survived)); then
  echo "survivors:"
  printf '%s\n' "${survivors[@]}"
fi
