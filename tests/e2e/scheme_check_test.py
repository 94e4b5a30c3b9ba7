"""scheme_check.py: fills and text judged as a reader sees them, on synthetic screens."""

import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import scheme_check  # noqa: E402

WIDTH, HEIGHT = 40, 30


def screen(fill, boxes=()):
    """A WIDTH x HEIGHT RGB screen of fill with (left, top, width, height, colour) boxes."""
    pixels = bytearray(bytes(fill) * (WIDTH * HEIGHT))
    for left, top, width, height, colour in boxes:
        for y in range(top, top + height):
            for x in range(left, left + width):
                pixels[3 * (y * WIDTH + x):3 * (y * WIDTH + x) + 3] = bytes(colour)
    return bytes(pixels)


DARK, LIGHT, WHITE, BLACK = (28, 28, 30), (245, 245, 247), (255, 255, 255), (0, 0, 0)


class Contrast(unittest.TestCase):
    def test_ratios_as_the_accessibility_guidelines_give_them(self):
        for a, b, low, high in [
            (BLACK, WHITE, 20.99, 21.01),
            (WHITE, BLACK, 20.99, 21.01),
            ((0x76, 0x76, 0x76), WHITE, 4.54, 4.55),  # the lightest grey that passes on white
            ((0x77, 0x77, 0x77), WHITE, 4.47, 4.49),
            ((255, 0, 0), WHITE, 3.99, 4.0),
            ((0, 128, 0), WHITE, 5.13, 5.14),
            ((0, 0, 255), WHITE, 8.59, 8.60),
            (DARK, DARK, 1.0, 1.0),
        ]:
            with self.subTest(a=a, b=b):
                self.assertTrue(low <= scheme_check.contrast(a, b) <= high, scheme_check.contrast(a, b))


class Regions(unittest.TestCase):
    def check(self, shot, scheme, region):
        return scheme_check.check(shot, WIDTH, scheme, "r", region)

    def test_fill_and_text_in_each_scheme(self):
        text = (20, 4, 10, 3)
        cases = [
            ("light text on dark", DARK, WHITE, "dark", None),
            ("dark text on light", LIGHT, BLACK, "light", None),
            ("a light fill asked dark", LIGHT, BLACK, "dark", "fill (245, 245, 247) is light"),
            ("a dark fill asked light", DARK, WHITE, "light", "fill (28, 28, 30) is dark"),
            ("a mid grey asked dark", (150, 150, 150), BLACK, "dark", "is light (luminance 0.30)"),
            ("a mid grey asked light", (150, 150, 150), BLACK, "light", "is dark (luminance 0.30)"),
            ("text in the fill's own shade", LIGHT, (225, 225, 228), "light", "text stands at 1.20:1"),
            ("grey just short of 4.5:1", WHITE, (0x77, 0x77, 0x77), "light", "text stands at 4.48:1"),
            ("grey just reaching it", WHITE, (0x76, 0x76, 0x76), "light", None),
        ]
        for name, fill, ink, scheme, problem in cases:
            with self.subTest(name):
                shot = screen(fill, [(*text, ink)])
                result = self.check(shot, scheme, "18,2,16,8")
                if problem is None:
                    self.assertIsNone(result)
                else:
                    self.assertIn(problem, result)

    def test_a_few_stray_pixels_are_not_text(self):
        shot = screen(DARK, [(20, 4, 11, 1, WHITE)])
        self.assertIn("text stands at 1.00:1", self.check(shot, "dark", "18,2,16,8"))
        shot = screen(DARK, [(20, 4, 12, 1, WHITE)])
        self.assertIsNone(self.check(shot, "dark", "18,2,16,8"))

    def test_only_the_region_counts(self):
        # Text right of the region and below it, on rows the region's columns also cross.
        shot = screen(LIGHT, [(30, 0, 10, 30, BLACK), (0, 20, 40, 10, BLACK)])
        self.assertIn("text stands at 1.00:1", self.check(shot, "light", "2,2,20,10"))
        self.assertIsNone(self.check(shot, "light", "2,2,30,10"))
        # Most of the region dark: its fill is the dark, whatever surrounds it.
        shot = screen(LIGHT, [(0, 0, 20, 20, DARK), (5, 5, 4, 4, WHITE)])
        self.assertIsNone(self.check(shot, "dark", "0,0,20,20"))

    def test_fill_only_regions_and_regions_off_the_screen(self):
        self.assertIsNone(self.check(screen(DARK), "dark", "0,0,10,10,fill"))
        self.assertIn("is light", self.check(screen(LIGHT), "dark", "0,0,10,10,fill"))
        self.assertIn("off the screen", self.check(screen(DARK), "dark", f"{WIDTH},0,10,10"))
        self.assertIn("off the screen", self.check(screen(DARK), "dark", f"0,{HEIGHT},10,10"))
        # Partly off: judged on what is shown.
        shot = screen(DARK, [(30, 25, 10, 5, WHITE)])
        self.assertIsNone(self.check(shot, "dark", "25,20,30,30"))


if __name__ == "__main__":
    unittest.main()
