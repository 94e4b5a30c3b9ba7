#!/usr/bin/env bash
# desktop-session.sh leaves nothing behind however a test ends: passing with a service that
# ignores TERM, failing, terminated, or killed by ctest's timeout. Each run starts the real
# settings portal, whose document portal mounts a FUSE file system in the run's runtime folder.
#   session-cleanup.sh
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
check=$(mktemp -d /tmp/plinkly-cleanup-check-XXXXXX)
trap 'rm -rf "$check"' EXIT
# Its own suite, within the caller's, so its check sees its own runs only.
export PLINKLY_E2E_SUITE="${PLINKLY_E2E_SUITE:+$PLINKLY_E2E_SUITE-}cleanup$$"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cat >"$check/busy.sh" <<SH
source "$here/lib.sh"
bus() { gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus --method "\$@"; }
# The bus offers nothing of the host's until the test asks for it.
names=\$(bus org.freedesktop.DBus.ListActivatableNames)
[[ \$names == "(['org.freedesktop.DBus', 'org.a11y.Bus'],)" ]] || fail "the bus offers more than asked: \$names"
use_real_portal
gdbus call --session --dest org.freedesktop.portal.Desktop --object-path /org/freedesktop/portal/desktop \\
  --method org.freedesktop.portal.Settings.Read org.freedesktop.appearance color-scheme >/dev/null
wait_for 10 grep -q " \$XDG_RUNTIME_DIR/doc " /proc/self/mountinfo || fail "the document portal mounted nothing"
gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus --method org.a11y.Bus.GetAddress >/dev/null
# A child that shrugs off TERM and still holds the test's output.
bash -c 'trap "" TERM; sleep 1000' &
# The processes to be gone afterwards, found without the run's marker: this script and its
# child, the session's own (display, bus, window manager, ...), the services the bus started,
# and the children of all of them (the document portal's mount helper among them).
{
  pids="\$\$ \$! \$(pgrep -P \$PPID | tr '\\n' ' ')"
  for name in org.freedesktop.portal.Desktop org.freedesktop.portal.Documents org.a11y.Bus; do
    pids+=" \$(bus org.freedesktop.DBus.GetConnectionUnixProcessID \$name | tr -dc '0-9')"
  done
  for pid in \$pids; do
    echo \$pid
    pgrep -P \$pid
  done
} | sort -u | tr '\\n' ' ' >"\$READY_FILE"
case \$ENDING in
  pass) exit 0 ;;
  fail) exit 3 ;;
  *) sleep 1000 ;;
esac
SH

# clean WHAT READY_FILE: the suite left no process, mount or folder, and none of the processes
# the run listed is still there.
clean() {
  local pid
  "$here/hygiene.sh" --suite "$PLINKLY_E2E_SUITE" >/dev/null || fail "$1 left something behind (listed above)"
  for pid in $(cat "$2"); do
    [[ $(ps -o stat= -p "$pid" 2>/dev/null) == [^Z]* ]] && fail "$1 left $(ps -o args= -p "$pid")"
  done
  return 0
}

# The check itself sees what a run leaves: a marked process and a folder, nothing of other suites.
mkdir "/tmp/plinkly-desktop-$PLINKLY_E2E_SUITE-left"
PLINKLY_E2E_RUN="/tmp/plinkly-desktop-$PLINKLY_E2E_SUITE-left" sleep 100 &
leftover=$!
PLINKLY_E2E_RUN="/tmp/plinkly-desktop-other$$-left" sleep 100 &
other=$!
status=0
"$here/hygiene.sh" --suite "$PLINKLY_E2E_SUITE" 2>"$check/hygiene.log" || status=$?
kill "$leftover" "$other"
rmdir "/tmp/plinkly-desktop-$PLINKLY_E2E_SUITE-left"
((status == 1)) || fail "the hygiene check passed with a process and a folder left"
grep -q "process $leftover " "$check/hygiene.log" || fail "the hygiene check missed the process: $(cat "$check/hygiene.log")"
grep -q "folder /tmp/plinkly-desktop-$PLINKLY_E2E_SUITE-left" "$check/hygiene.log" || fail "the hygiene check missed the folder"
grep -q "process $other " "$check/hygiene.log" && fail "the hygiene check listed another suite's process"
wait "$leftover" "$other" 2>/dev/null || true

# Ends normally: the status is the test's own.
for ending in pass fail; do
  status=0
  ENDING=$ending READY_FILE="$check/ready-$ending" \
    "$here/desktop-session.sh" "$check/busy.sh" /bin/true "$check" >"$check/$ending.log" 2>&1 || status=$?
  [[ -s "$check/ready-$ending" ]] || fail "the $ending run did not come up: $(cat "$check/$ending.log")"
  expected=0
  [[ $ending == pass ]] || expected=3
  ((status == expected)) || fail "a run that ends with $expected ended with $status: $(cat "$check/$ending.log")"
  grep -q "cleanup of" "$check/$ending.log" && fail "cleanup of the $ending run complained: $(cat "$check/$ending.log")"
  clean "the $ending run" "$check/ready-$ending"
done

# Terminated from outside while it runs; its output must close as the run ends.
ENDING=hang READY_FILE="$check/ready-term" \
  "$here/desktop-session.sh" "$check/busy.sh" /bin/true "$check" >"$check/term.log" 2>&1 &
session=$!
for _ in $(seq 300); do [[ -s "$check/ready-term" ]] && break; sleep 0.1; done
[[ -s "$check/ready-term" ]] || fail "the terminated run did not come up: $(cat "$check/term.log")"
kill -TERM "$session"
status=0
wait "$session" || status=$?
((status == 143)) || fail "a terminated run ended with $status"
clean "the terminated run" "$check/ready-term"

# Killed by ctest's timeout: ctest must not wait for the run's services, and the reaper,
# outliving the killed script, must end them.
mkdir -p "$check/project"
cat >"$check/project/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.16)
project(cleanup NONE)
enable_testing()
add_test(NAME hang COMMAND "$here/desktop-session.sh" "$check/busy.sh" /bin/true "$check")
set_tests_properties(hang PROPERTIES TIMEOUT 10 ENVIRONMENT "ENDING=hang;READY_FILE=$check/ready-timeout")
CMAKE
cmake -S "$check/project" -B "$check/project/build" >/dev/null
status=0
(cd "$check/project/build" && timeout 120 ctest --output-on-failure >"$check/timeout.log" 2>&1) || status=$?
((status != 124)) || fail "ctest still waited on the killed run after 120 s: $(cat "$check/timeout.log")"
[[ -s "$check/ready-timeout" ]] || fail "the timed-out run did not come up: $(cat "$check/timeout.log")"
grep -q "Timeout" "$check/timeout.log" || fail "the run was not ended by the timeout: $(cat "$check/timeout.log")"
for _ in $(seq 100); do "$here/hygiene.sh" --suite "$PLINKLY_E2E_SUITE" >/dev/null 2>&1 && break; sleep 0.1; done
clean "the timed-out run" "$check/ready-timeout"
echo "session cleanup: ok"
