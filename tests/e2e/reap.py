"""Ends every process of a desktop run, unmounts what is mounted under its folder, removes it.

  reap.py FOLDER              now
  reap.py --after PID FOLDER  prints the number of a process that reaps once PID, the run's
                              own script, has ended (killed or not)

Problems go to stderr; the status is 1 when something stayed behind.
"""

import os
import shutil
import signal
import sys
import time

import runs


def reap(folder):
    problems = []
    # Ending a bus can start nothing new, but a service ending late can still be found
    # on a second look.
    for _ in range(4):
        found = [(p.pid, runs.start_time(p.pid)) for p in runs.processes() if runs.belongs(p, folder)]
        found = [(pid, started) for pid, started in found if started]
        if not found:
            break
        runs.end(found, grace=3)
    left = [str(p) for p in runs.processes() if runs.belongs(p, folder)]
    if left:
        problems.append("still running: " + "; ".join(left))
    for point in runs.mounts_under(folder):
        if not runs.unmount(point):
            problems.append(f"cannot unmount {point}")
    if runs.mounts_under(folder):
        problems.append(f"{folder} kept: something is still mounted under it")
    elif os.path.lexists(folder):
        failures = []
        shutil.rmtree(folder, onerror=lambda _, path, error: failures.append(f"{path}: {error[1]}"))
        problems += failures[:5]
    for problem in problems:
        print(f"cleanup of {folder}: {problem}", file=sys.stderr)
    return 1 if problems else 0


def main(arguments):
    if arguments[:1] == ["--after"] and len(arguments) == 3:
        owner, folder = int(arguments[1]), arguments[2]
        # Neither a child of the test (its parent exits now) nor in its session: ctest's
        # timeout ends the test's whole tree of processes, and this must outlive it.
        child = os.fork()
        if child:
            print(child)
            return 0
        os.setsid()
        quiet = os.open(os.devnull, os.O_RDWR)
        for fd in (0, 1, 2):
            os.dup2(quiet, fd)
        signal.signal(signal.SIGHUP, signal.SIG_IGN)
        signal.signal(signal.SIGINT, signal.SIG_IGN)
        started = runs.start_time(owner)
        while started and runs.start_time(owner) == started:
            time.sleep(0.1)
        return reap(folder)
    if len(arguments) == 1:
        return reap(arguments[0])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
