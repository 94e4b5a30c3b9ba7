"""Checks regions of a screenshot against a colour scheme, as a reader sees them.

    scheme_check.py SHOT WIDTH SCHEME NAME=LEFT,TOP,WIDTH,HEIGHT[,fill]...

SHOT holds the screen as 8-bit RGB triples, WIDTH pixels a row; SCHEME is dark or light.
A region's fill is its most common colour: dark in the dark scheme, light in the light one.
Unless it is marked "fill", its text (its pixels farthest from the fill) must stand at 4.5:1
against the fill. Prints one line per region that fails and exits with 1 if any does.
"""

import collections
import sys

# Pixels that must reach the contrast: the strokes of even a small label have this many
# fully covered ones, where a stray border or anti-aliased edge does not count.
TEXT_PIXELS = 12


def luminance(rgb):
    def channel(value):
        value /= 255
        return value / 12.92 if value <= 0.04045 else ((value + 0.055) / 1.055) ** 2.4
    r, g, b = (channel(v) for v in rgb)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    high, low = sorted((luminance(a), luminance(b)), reverse=True)
    return (high + 0.05) / (low + 0.05)


def pixels(shot, width, left, top, w, h):
    height = len(shot) // (3 * width)
    for y in range(max(top, 0), min(top + h, height)):
        row = shot[3 * (y * width + max(left, 0)):3 * (y * width + min(left + w, width))]
        for i in range(0, len(row), 3):
            yield tuple(row[i:i + 3])


def check(shot, width, scheme, name, region):
    parts = region.split(",")
    left, top, w, h = (int(v) for v in parts[:4])
    counts = collections.Counter(pixels(shot, width, left, top, w, h))
    if not counts:
        return f"{name}: the region {region} is off the screen"
    fill = counts.most_common(1)[0][0]
    problems = []
    fill_luminance = luminance(fill)
    if scheme == "dark" and fill_luminance > 0.2:
        problems.append(f"fill {fill} is light (luminance {fill_luminance:.2f})")
    if scheme == "light" and fill_luminance < 0.45:
        problems.append(f"fill {fill} is dark (luminance {fill_luminance:.2f})")
    if parts[4:] != ["fill"]:
        text, seen = 1.0, 0
        for ratio, count in sorted(((contrast(c, fill), n) for c, n in counts.items()), reverse=True):
            seen += count
            if seen >= TEXT_PIXELS:
                text = ratio
                break
        if text < 4.5:
            problems.append(f"text stands at {text:.2f}:1 against fill {fill}")
    return f"{name}: " + "; ".join(problems) if problems else None


def main(arguments):
    if len(arguments) < 4 or arguments[2] not in ("dark", "light"):
        print(__doc__, file=sys.stderr)
        return 2
    with open(arguments[0], "rb") as f:
        shot = f.read()
    failures = [check(shot, int(arguments[1]), arguments[2], *region.split("=", 1)) for region in arguments[3:]]
    failures = [failure for failure in failures if failure]
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
