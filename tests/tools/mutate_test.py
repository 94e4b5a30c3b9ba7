"""tools/mutate.py: the faults it plants are real code changes, one at a time, on code only."""

import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools"))
import mutate  # noqa: E402


def mutated(line):
    return sorted(after for _, after in mutate.mutants_of_line(line))


class LineMutants(unittest.TestCase):
    def test_each_operator_changes_one_place(self):
        cases = [
            ("    if (a == b)", ["    if (a != b)"]),
            ("    if (a <= b && c)", ["    if (a < b && c)", "    if (a <= b || c)"]),
            ("    x += 2;", sorted(["    x -= 2;", "    x += 3;", "    x += 1;", "    x += 0;"])),
            ("    done = true;", ["    done = false;"]),
            ("    if (!ready)", ["    if (ready)"]),
            ("        continue;", ["        break;"]),
            ("    m_timer.start();", ["    ;"]),
            ("    emit changed();", ["    ;"]),
            ("    return m_value;", ["    return {};"]),
        ]
        for line, expected in cases:
            with self.subTest(line=line):
                self.assertEqual(mutated(line), expected)

    def test_leaves_what_is_not_an_operator(self):
        # Template brackets, arrows, stream operators, literals, comments, includes and the
        # tail of a call begun on the line above take no fault.
        for line in [
            "    std::vector<int> values;",
            "    if (m_d->ready)",
            "    out << value;",
            '    label = "a == b && c < d";',
            "    x = 0.5f;",
            "    flags = 0x1F;",
            "    #include <vector>",
            "    // if (a == b) return true;",
            "             SLOT(changed(int)));",
            "    return {};",
            "    return;",
        ]:
            with self.subTest(line=line):
                self.assertEqual(mutated(line), [])

    def test_code_before_a_comment_or_string_is_mutated(self):
        self.assertEqual(mutated('    if (a < b) // a < b'), sorted(['    if (a <= b) // a < b', '    if (a > b) // a < b']))
        self.assertIn('    log(a != b, "x == y");', mutated('    log(a == b, "x == y");'))

    def test_constants_move_by_one_and_to_zero(self):
        self.assertEqual(mutated("    f(1);"), sorted(["    f(2);", "    f(0);", "    ;"]))
        self.assertEqual(mutated("    f(0);"), sorted(["    f(1);", "    ;"]))


class Sampling(unittest.TestCase):
    def run_mutate(self, *arguments, cwd):
        subprocess.run([sys.executable, str(Path(mutate.__file__)), *arguments], cwd=cwd, check=True,
                       capture_output=True)

    def test_only_changed_lines_and_the_sample_is_repeatable(self):
        with tempfile.TemporaryDirectory() as folder:
            root = Path(folder)
            git = ["git", "-c", "user.name=t", "-c", "user.email=t@t"]
            subprocess.run(git + ["init", "-q"], cwd=root, check=True)
            source = root / "a.cpp"
            source.write_text("int f(int a)\n{\n    if (a == 1)\n        return 2;\n    return a + 3;\n}\n")
            subprocess.run(git + ["add", "a.cpp"], cwd=root, check=True)
            subprocess.run(git + ["commit", "-qm", "a"], cwd=root, check=True)
            source.write_text("int f(int a)\n{\n    if (a == 1)\n        return 5;\n    return a + 3;\n}\n")

            self.run_mutate("--base", "HEAD", "--sample", "0", "--out", "all", "a.cpp", cwd=root)
            rows = [row.split("\t") for row in (root / "all/mutants.tsv").read_text().splitlines()]
            self.assertEqual({row[2] for row in rows}, {"4"})
            self.assertEqual(len(rows), 4)  # 6, 4, 0 and the default value
            first = (root / "all/001.src").read_text().split("\n")
            original = source.read_text().split("\n")
            self.assertEqual([i for i, (a, b) in enumerate(zip(first, original)) if a != b], [3])
            self.assertEqual(len(first), len(original))

            runs = []
            for out in ("one", "two"):
                self.run_mutate("--sample", "3", "--seed", "7", "--out", out, "a.cpp", cwd=root)
                runs.append((root / out / "mutants.tsv").read_text())
            self.assertEqual(runs[0], runs[1])
            self.assertEqual(len(runs[0].splitlines()), 3)
            self.assertEqual(source.read_text().count("return 5"), 1)


if __name__ == "__main__":
    unittest.main()
