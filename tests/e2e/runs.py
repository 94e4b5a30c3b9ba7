"""What a desktop run leaves on the machine: its processes, its mounts and its folder.

A process belongs to a run when its environment carries PLINKLY_E2E_RUN=<the run's folder>
(desktop-session.sh exports it before starting anything, and the session bus hands it on to
every service it starts) or when its command line names a run's folder.
"""

import os
import signal
import subprocess
import time

MARKER = "PLINKLY_E2E_RUN"
SUITE = "PLINKLY_E2E_SUITE"
PREFIX = "plinkly-desktop-"


def _read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError:
        return None


def start_time(pid):
    """The kernel's start time of pid, so a number taken over by a new process is told apart;
    None once it has ended (a zombie has ended too)."""
    stat = _read(f"/proc/{pid}/stat")
    if stat is None:
        return None
    fields = stat[stat.rfind(b")") + 2:].split()
    return None if fields[0] in (b"Z", b"X") else fields[19]


class Process:
    def __init__(self, pid, name, arguments, environment):
        self.pid = pid
        self.name = name
        self.arguments = arguments
        self.environment = environment

    def __str__(self):
        return f"{self.pid} {' '.join(self.arguments) or self.name}"


def processes():
    """Every process but this one, whose environment could be read (zombies have none)."""
    own = os.getpid()
    for entry in os.listdir("/proc"):
        if not entry.isdigit() or int(entry) == own:
            continue
        environ = _read(f"/proc/{entry}/environ")
        cmdline = _read(f"/proc/{entry}/cmdline")
        comm = _read(f"/proc/{entry}/comm")
        if not environ or cmdline is None or comm is None:
            continue
        environment = {}
        for pair in environ.split(b"\0"):
            key, _, value = pair.partition(b"=")
            environment[key.decode(errors="replace")] = value.decode(errors="replace")
        arguments = [a.decode(errors="replace") for a in cmdline.split(b"\0") if a]
        yield Process(int(entry), comm.decode(errors="replace").strip(), arguments, environment)


def belongs(process, folder):
    """Whether process was started by the run in folder, or works in it."""
    run = process.environment.get(MARKER, "")
    if run == folder or run.startswith(folder + "/"):
        return True
    return any(folder + "/" in argument or argument.endswith(folder) for argument in process.arguments)


def of_runs(process, prefix):
    """Whether process was started by, or works in, any run whose folder begins with prefix."""
    if process.environment.get(MARKER, "").startswith(prefix):
        return True
    return any(prefix in argument for argument in process.arguments)


def mounts_under(folder):
    """Mount points at or below folder, deepest first."""
    points = []
    for line in (_read("/proc/self/mountinfo") or b"").decode(errors="replace").splitlines():
        fields = line.split(" ")
        if len(fields) < 5:
            continue
        point = fields[4].encode().decode("unicode_escape")
        if point == folder or point.startswith(folder.rstrip("/") + "/"):
            points.append(point)
    return sorted(points, key=len, reverse=True)


def unmount(point):
    """Lazily unmounts point with whichever tool can; False when none could."""
    for command in (["fusermount3", "-u", "-z", point], ["fusermount", "-u", "-z", point], ["umount", "-l", point]):
        try:
            if subprocess.run(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=10).returncode == 0:
                return True
        except (OSError, subprocess.TimeoutExpired):
            continue
    return False


def end(pids, grace):
    """Wakes and terminates pids, and kills what still runs after grace seconds."""
    for sig in (signal.SIGCONT, signal.SIGTERM, signal.SIGCONT):
        for pid, _ in pids:
            try:
                os.kill(pid, sig)
            except OSError:
                pass
    deadline = time.monotonic() + grace
    alive = list(pids)
    while alive and time.monotonic() < deadline:
        time.sleep(0.05)
        alive = [(pid, started) for pid, started in alive if start_time(pid) == started]
    for pid, started in alive:
        if start_time(pid) == started:
            try:
                os.kill(pid, signal.SIGKILL)
            except OSError:
                pass
