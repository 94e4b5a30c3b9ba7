"""runs.py: which processes a run's cleanup may end, and which ones the hygiene check lists."""

import os
import subprocess
import sys
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import runs  # noqa: E402

RUN = "/tmp/plinkly-desktop-s1-abc123"


def process(marker=None, *arguments):
    return runs.Process(1, "x", list(arguments), {runs.MARKER: marker} if marker else {})


class Belonging(unittest.TestCase):
    def test_a_run_ends_its_own_processes_only(self):
        cases = [
            ("marked with the run", process(RUN), True),
            ("marked with a folder inside it", process(RUN + "/runtime"), True),
            ("started by no run", process(None, "Xvfb", "-displayfd", "3"), False),
            ("marked with another run sharing the prefix", process(RUN + "x"), False),
            ("marked with the suite only", process("/tmp/plinkly-desktop-s1-"), False),
            ("naming a file of the run", process(None, "dbus-daemon", f"--config-file={RUN}/bus/session.conf"), True),
            ("naming the run's folder", process(None, "fusermount3", "--", RUN), True),
            ("naming another run's folder", process(None, "fusermount3", "--", RUN + "x/doc"), False),
        ]
        for name, candidate, expected in cases:
            with self.subTest(name):
                self.assertEqual(runs.belongs(candidate, RUN), expected)

    def test_the_hygiene_check_sees_every_run_of_its_suite(self):
        suite = "/tmp/plinkly-desktop-s1-"
        self.assertTrue(runs.of_runs(process(RUN), suite))
        self.assertTrue(runs.of_runs(process(None, "sleep", f"{RUN}/x"), suite))
        self.assertFalse(runs.of_runs(process("/tmp/plinkly-desktop-s2-abc123"), suite))
        self.assertFalse(runs.of_runs(process(None, "sleep", "1000"), suite))


class LiveProcesses(unittest.TestCase):
    def test_a_marked_child_is_found_and_ended_even_when_stopped_or_deaf_to_term(self):
        environment = dict(os.environ, **{runs.MARKER: RUN})
        child = subprocess.Popen(["bash", "-c", "trap '' TERM; kill -STOP $$; sleep 100"], env=environment)
        try:
            found = [p.pid for p in runs.processes() if runs.belongs(p, RUN)]
            self.assertIn(child.pid, found)
            self.assertNotIn(os.getpid(), found)
            runs.end([(child.pid, runs.start_time(child.pid))], grace=0.5)
            self.assertIsNotNone(child.wait(timeout=5))
            self.assertIsNone(runs.start_time(child.pid))
        finally:
            child.kill()
            child.wait()

    def test_a_number_taken_over_is_not_the_same_process(self):
        started = runs.start_time(os.getpid())
        self.assertIsNotNone(started)
        self.assertEqual(runs.start_time(os.getpid()), started)
        self.assertIsNone(runs.start_time(2 ** 22 + 1))
        # A process started later tells apart from this one.
        time.sleep(0.05)
        later = subprocess.Popen(["sleep", "10"])
        try:
            self.assertNotEqual(runs.start_time(later.pid), started)
        finally:
            later.kill()
            later.wait()


if __name__ == "__main__":
    unittest.main()
