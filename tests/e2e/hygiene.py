"""Fails when desktop runs left anything behind: a process, a mount or a folder.

  hygiene.py [--suite ID]   only the runs of that suite (PLINKLY_E2E_SUITE), else every run
"""

import glob
import sys

import runs


def main(arguments):
    if arguments[:1] == ["--suite"] and len(arguments) == 2:
        prefix = f"/tmp/{runs.PREFIX}{arguments[1]}-"
    elif not arguments:
        prefix = f"/tmp/{runs.PREFIX}"
    else:
        print(__doc__, file=sys.stderr)
        return 2
    found = [f"process {p}" for p in runs.processes() if runs.of_runs(p, prefix)]
    found += [f"mount {point}" for point in runs.mounts_under("/tmp") if point.startswith(prefix)]
    found += [f"folder {folder}" for folder in sorted(glob.glob(glob.escape(prefix) + "*"))]
    for line in found:
        print(f"left behind: {line}", file=sys.stderr)
    if found:
        return 1
    print(f"hygiene: nothing of {prefix}* left behind")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
