"""Makes mutants of C++ sources: one plausible fault each, on one line.

    mutate.py [--base REV | --from-dir DIR] [--sample N] [--seed S] --out DIR FILE...

With --base, only the lines changed since REV (as `git diff REV` shows them) are mutated.
With --from-dir, the mutants are those another mutator wrote, the ones of the i-th FILE (from 0)
in the folder DIR/i, and are only sampled and listed.
A random sample of N mutants (all when N is 0) is written to DIR: NNN.src holds the whole
mutated file, and DIR/mutants.tsv one row per mutant: number, file, line, operator, the line
before and after. The faults: comparisons flipped or loosened, && and || swapped, + and -
swapped, integer constants moved by one or set to 0, true and false swapped, a negation
dropped, a call statement deleted, a returned value replaced by a default one, and continue
and break swapped.
"""

import argparse
import random
import re
import subprocess
import sys
from pathlib import Path

# Binary operators stand between spaces in this code base; template brackets, arrows and
# stream operators do not, so they are never taken for comparisons.
SWAPS = [
    ("comparison", r" == ", " != "),
    ("comparison", r" != ", " == "),
    ("comparison", r" < ", " <= "),
    ("comparison", r" <= ", " < "),
    ("comparison", r" > ", " >= "),
    ("comparison", r" >= ", " > "),
    ("comparison", r" < ", " > "),
    ("comparison", r" > ", " < "),
    ("logic", r" && ", " || "),
    ("logic", r" \|\| ", " && "),
    ("arithmetic", r" \+ ", " - "),
    ("arithmetic", r" - ", " + "),
    ("arithmetic", r" \+= ", " -= "),
    ("arithmetic", r" -= ", " += "),
    ("arithmetic", r"\+\+", "--"),
    ("arithmetic", r"--", "++"),
    ("boolean", r"\btrue\b", "false"),
    ("boolean", r"\bfalse\b", "true"),
    ("negation", r"!(?=[\w(])", ""),
    ("loop", r"\bcontinue;", "break;"),
    ("loop", r"\bbreak;", "continue;"),
]
INTEGER = re.compile(r"(?<![\w.])(\d+)(?![\w.])")
CALL = re.compile(r"^\s*(?:emit\s+)?[\w:]+(?:(?:\.|->)[\w:]+)*\s*\(.*\)\s*;\s*$")
RETURN = re.compile(r"^(\s*return\s+)(?!\{\};)(.+);\s*$")


def code_spans(line):
    """The parts of line outside string and character literals and a trailing comment."""
    spans, start, i, quote = [], 0, 0, None
    while i < len(line):
        c = line[i]
        if quote:
            if c == "\\":
                i += 1
            elif c == quote:
                quote, start = None, i + 1
        elif c in "\"'":
            spans.append((start, i))
            quote = c
        elif line.startswith("//", i):
            break
        i += 1
    if not quote:
        spans.append((start, i))
    return spans


def in_code(spans, start, end):
    return any(a <= start and end <= b for a, b in spans)


def mutants_of_line(line):
    """(operator, mutated line) for each fault this line can take."""
    stripped = line.strip()
    if not stripped or stripped.startswith(("#", "//", "/*", "*")):
        return []
    spans = code_spans(line)
    found = []
    for name, pattern, replacement in SWAPS:
        for match in re.finditer(pattern, line):
            if in_code(spans, match.start(), match.end()):
                found.append((name, line[:match.start()] + replacement + line[match.end():]))
    for match in INTEGER.finditer(line):
        if not in_code(spans, match.start(), match.end()):
            continue
        value = int(match.group(1))
        for other in {value + 1, value - 1, 0} - {value, -1}:
            found.append(("constant", line[:match.start()] + str(other) + line[match.end():]))
    # A whole statement on its line: not the tail of a call begun on the line above.
    if CALL.match(line) and not stripped.startswith(("return", "delete")) and line.count("(") == line.count(")"):
        found.append(("call deleted", line[:len(line) - len(line.lstrip())] + ";"))
    match = RETURN.match(line)
    if match and in_code(spans, match.start(2), match.end(2)):
        found.append(("return value", f"{match.group(1)}{{}};"))
    return found


def changed_lines(base, path):
    """Line numbers of path added or changed since base."""
    diff = subprocess.run(["git", "diff", "-U0", base, "--", str(path)], capture_output=True,
                          text=True, check=True).stdout
    lines = set()
    for match in re.finditer(r"^@@ -\S+ \+(\d+)(?:,(\d+))? @@", diff, re.MULTILINE):
        start, count = int(match.group(1)), int(match.group(2) or 1)
        lines.update(range(start, start + count))
    return lines


def foreign_mutant(name, lines, text):
    """The table row of a whole mutated file: its first line that differs."""
    mutated = text.split("\n")
    number = next((i for i, (a, b) in enumerate(zip(lines, mutated), 1) if a != b), min(len(lines), len(mutated)))
    return (name, number, "universalmutator", lines[number - 1] if number <= len(lines) else "", text)


def main(arguments):
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--base")
    parser.add_argument("--from-dir")
    parser.add_argument("--sample", type=int, default=40)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--out", required=True)
    parser.add_argument("files", nargs="+")
    options = parser.parse_args(arguments)

    candidates = []
    for index, name in enumerate(options.files):
        lines = Path(name).read_text().split("\n")
        if options.from_dir:
            for mutant in sorted((Path(options.from_dir) / str(index)).glob("*")):
                candidates.append(foreign_mutant(name, lines, mutant.read_text()))
            continue
        wanted = changed_lines(options.base, name) if options.base else set(range(1, len(lines) + 1))
        for number in sorted(n for n in wanted if n <= len(lines)):
            for operator, mutated in mutants_of_line(lines[number - 1]):
                changed = list(lines)
                changed[number - 1] = mutated
                candidates.append((name, number, operator, lines[number - 1], "\n".join(changed)))
    random.Random(options.seed).shuffle(candidates)
    if options.sample:
        candidates = candidates[:options.sample]
    candidates.sort(key=lambda c: (c[0], c[1]))

    out = Path(options.out)
    out.mkdir(parents=True, exist_ok=True)
    with open(out / "mutants.tsv", "w") as table:
        for index, (name, number, operator, before, text) in enumerate(candidates, 1):
            (out / f"{index:03}.src").write_text(text)
            after = text.split("\n")[number - 1] if number <= text.count("\n") + 1 else ""
            table.write("\t".join([f"{index:03}", name, str(number), operator, before.strip(), after.strip()]) + "\n")
    print(f"{len(candidates)} mutants in {out}", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
