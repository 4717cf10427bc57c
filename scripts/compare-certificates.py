#!/usr/bin/env python3
"""Checks the certificates one build's demo saved against those of another build's demo.

  compare-certificates.py places SCRIPT
      Prints SCRIPT with, before every save, the place and size of the preview, its overlay labels
      and the photo box as the program reads them back (get property). Run the demo with it and
      keep its output as drive.log beside the certificates.

  compare-certificates.py compare CANDIDATE REFERENCE
      Compares kind01.bmp ... kind16.bmp in folder CANDIDATE with those in REFERENCE and prints a
      verdict per certificate and a summary; exits 1 when one fails. Each certificate must be a
      520 x 328, 24-bit BMP of 511,734 bytes. The places come from CANDIDATE/drive.log; when
      REFERENCE/drive.log exists too, both builds must have read back the same places. Then:
        - template area (the preview's inside, less the overlay labels and the photo box): every
          channel of every pixel within 2 of the reference (the two builds decode the JPEG
          templates with different decoders). Not compared: the preview's one-pixel frame, which
          takes the window system's frame colour, and its columns left of the window's client
          area, which show the window's own frame; the frame's difference is printed;
        - overlay labels: in each label's rectangle, the bounding box of the text's pixels (those
          darker than what lies beneath the text: white under the labels with a background, the
          template itself, decoded from app/data/templates/kindNN.jpg for kindNN.bmp, under the
          transparent ones) within 4 pixels of the reference's on every side. The labels' own
          places are compared exactly (the places read back); their text is drawn by different
          font engines (the system's on Windows, FreeType through Qt on Linux), whose glyph
          edges and advances differ by a few pixels;
          within 1 pixel of the reference's on every side (the two builds draw text with
          different font engines);
        - photo box: the photo's pixels fit the reference's best where they are, not shifted by up
          to 2 pixels in any direction, and differ from them by at most 2 per channel on average.
"""

import os
import re
import subprocess
import sys

WIDTH, HEIGHT = 520, 328
FILE_SIZE = 511734
ROW_BYTES = (WIDTH * 3 + 3) // 4 * 4
CERTIFICATES = ["kind%02d.bmp" % number for number in range(1, 17)]

PREVIEW = "标签生成"
PHOTO = "图片框1"
# Overlay labels: four with a white background, two transparent ones over the template.
LABELS = ["标签10", "标签11", "标签12", "标签13", "透明标签1", "透明标签2"]
PLACED = [PREVIEW, PHOTO] + LABELS

FRAME = 1  # the preview's single-line frame
TEMPLATE_TOLERANCE = 2  # per channel
TEXT_TOLERANCE = 4  # pixels, each side of the text's bounding box
PHOTO_SHIFT = 2  # pixels searched in every direction
PHOTO_TOLERANCE = 2.0  # mean per channel
# Text pixels: darker than what lies beneath by at least this much in some channel, a quarter of
# the black text's full contrast, so that the two builds' different antialiasing counts the same
# strokes.
INK_DEPTH = 64
TEMPLATES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "app", "data", "templates")
OPAQUE_LABELS = LABELS[:4]


def write_places_script(path):
    with open(path, encoding="utf-8") as script:
        lines = script.read().splitlines()
    out = []
    for line in lines:
        if line.startswith("save ") and line != "save cancel":
            for control in PLACED:
                for index in range(4):
                    out.append("get %s %d" % (control, index))
        out.append(line)
    sys.stdout.write("\n".join(out) + "\n")


def read_places(log_path):
    """{certificate name: {control: [left, top, width, height]}} from a demo's output."""
    places = {}
    current = {}
    get_line = re.compile(r"^ok get (\S+) ([0-3]) = (-?\d+)$")
    save_line = re.compile(r"^ok save (\S+)$")
    with open(log_path, encoding="utf-8", errors="replace") as log:
        for line in log:
            line = line.rstrip("\n")
            match = get_line.match(line)
            if match:
                current.setdefault(match.group(1), [None] * 4)[int(match.group(2))] = int(match.group(3))
                continue
            match = save_line.match(line)
            if match:
                places[os.path.basename(match.group(1))] = current
                current = {}
    return places


class Certificate:
    """A 24-bit BMP, its header checked; pixel(x, y) is (red, green, blue), y = 0 at the top."""

    def __init__(self, path):
        self.problems = []
        with open(path, "rb") as bmp:
            self.data = bmp.read()
        data = self.data
        if len(data) != FILE_SIZE:
            self.problems.append("%d bytes, not %d" % (len(data), FILE_SIZE))
        if len(data) < 54 or data[:2] != b"BM":
            self.problems.append("not a BMP file")
            return
        le = lambda offset, size: int.from_bytes(data[offset:offset + size], "little", signed=True)
        offset, info, width, height = le(10, 4), le(14, 4), le(18, 4), le(22, 4)
        bits, compression = le(28, 2), le(30, 4)
        if (width, height) != (WIDTH, HEIGHT):
            self.problems.append("%d x %d, not %d x %d" % (width, height, WIDTH, HEIGHT))
        if bits != 24 or compression != 0:
            self.problems.append("%d bits per pixel, compression %d, not 24-bit uncompressed" % (bits, compression))
        if offset != 54 or info != 40:
            self.problems.append("pixels at %d after a %d-byte information header, not 54 and 40" % (offset, info))
        if le(2, 4) != len(data):
            self.problems.append("file header gives %d bytes, the file has %d" % (le(2, 4), len(data)))

    def row(self, y):
        """The bytes of row y (blue, green, red per pixel); rows are stored bottom first."""
        start = 54 + (HEIGHT - 1 - y) * ROW_BYTES
        return self.data[start:start + WIDTH * 3]

    def pixel(self, x, y):
        """(blue, green, red)"""
        start = 54 + (HEIGHT - 1 - y) * ROW_BYTES + 3 * x
        return self.data[start:start + 3]


class Template:
    """The certificate's template as the preview shows it: decoded (ImageMagick), centred inside the
    preview's frame, white around it."""

    def __init__(self, path):
        ppm = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True, capture_output=True).stdout
        fields = ppm.split(maxsplit=4)
        if fields[0] != b"P6" or fields[3] != b"255":
            raise ValueError("%s: unexpected decoder output" % path)
        self.width, self.height = int(fields[1]), int(fields[2])
        self.rgb = fields[4]
        self.left = FRAME + (WIDTH - 2 * FRAME - self.width) // 2
        self.top = FRAME + (HEIGHT - 2 * FRAME - self.height) // 2

    def pixel(self, x, y):
        """(blue, green, red)"""
        x, y = x - self.left, y - self.top
        if not (0 <= x < self.width and 0 <= y < self.height):
            return b"\xff\xff\xff"
        start = 3 * (y * self.width + x)
        return self.rgb[start:start + 3][::-1]


WHITE = b"\xff\xff\xff"


def clip(rect):
    left, top, width, height = rect
    return (max(0, left), max(0, top), min(WIDTH, left + width), min(HEIGHT, top + height))


def rectangles(places):
    """Each placed control's rectangle in the certificate: left, top, right, bottom (exclusive)."""
    preview = places[PREVIEW]
    result = {}
    for control in [PHOTO] + LABELS:
        left, top, width, height = places[control]
        result[control] = clip((left - preview[0], top - preview[1], width, height))
    return result


def preview_inside(places):
    """The part of the preview inside its frame and inside the window's client area."""
    left, top = places[PREVIEW][:2]
    return (max(FRAME, -left), max(FRAME, -top), WIDTH - FRAME, HEIGHT - FRAME)


def frame_difference(candidate, reference, inside):
    """Largest channel difference on the preview's frame where the window shows it."""
    left, top, right, bottom = inside
    largest = 0
    for y in range(top - FRAME, bottom + FRAME):
        row_a, row_b = candidate.row(y), reference.row(y)
        for x in range(left, right + FRAME):
            if top <= y < bottom and x < right:
                continue
            i = 3 * x
            largest = max(largest, abs(row_a[i] - row_b[i]), abs(row_a[i + 1] - row_b[i + 1]), abs(row_a[i + 2] - row_b[i + 2]))
    return largest


def template_difference(candidate, reference, inside, excluded):
    """Largest channel difference inside the preview outside the excluded rectangles, and how many
    pixels exceed the tolerance."""
    largest = 0
    over = 0
    where = None
    area_left, area_top, area_right, area_bottom = inside
    for y in range(area_top, area_bottom):
        row_a, row_b = candidate.row(y), reference.row(y)
        if row_a == row_b:
            continue
        skip = [(left, right) for (left, top, right, bottom) in excluded if top <= y < bottom]
        for x in range(area_left, area_right):
            if any(left <= x < right for (left, right) in skip):
                continue
            i = 3 * x
            difference = max(abs(row_a[i] - row_b[i]), abs(row_a[i + 1] - row_b[i + 1]), abs(row_a[i + 2] - row_b[i + 2]))
            if difference > TEMPLATE_TOLERANCE:
                over += 1
            if difference > largest:
                largest, where = difference, (x, y)
    return largest, over, where


def text_box(certificate, rect, beneath):
    """Bounding box (left, top, right, bottom, inclusive) of the text's pixels in rect, or None.
    beneath(x, y): what lies under the text there."""
    left, top, right, bottom = rect
    xs, ys = [], []
    for y in range(top, bottom):
        for x in range(left, right):
            under, seen = beneath(x, y), certificate.pixel(x, y)
            if max(under[0] - seen[0], under[1] - seen[1], under[2] - seen[2]) >= INK_DEPTH:
                xs.append(x)
                ys.append(y)
    if not xs:
        return None
    return (min(xs), min(ys), max(xs), max(ys))


def photo_fit(candidate, reference, rect):
    """The shift of the candidate's photo that matches the reference best, and the mean channel
    difference at no shift and at that shift."""
    left, top, right, bottom = rect
    best = None
    unshifted = None
    for dy in range(-PHOTO_SHIFT, PHOTO_SHIFT + 1):
        for dx in range(-PHOTO_SHIFT, PHOTO_SHIFT + 1):
            total = 0
            count = 0
            for y in range(max(top, top + dy), min(bottom, bottom + dy)):
                row_a, row_b = candidate.row(y), reference.row(y - dy)
                for x in range(max(left, left + dx), min(right, right + dx)):
                    i, j = 3 * x, 3 * (x - dx)
                    total += abs(row_a[i] - row_b[j]) + abs(row_a[i + 1] - row_b[j + 1]) + abs(row_a[i + 2] - row_b[j + 2])
                    count += 3
            mean = total / count if count else float("inf")
            if (dx, dy) == (0, 0):
                unshifted = mean
            if best is None or mean < best[0]:
                best = (mean, dx, dy)
    return best[1], best[2], unshifted


def subsampling_note(jpeg_path):
    """Says so when the JPEG keeps its colour at a lower resolution than its brightness: decoders
    may upsample it differently."""
    with open(jpeg_path, "rb") as jpeg:
        data = jpeg.read()
    at = 2
    while at + 4 <= len(data) and data[at] == 0xFF:
        marker, length = data[at + 1], int.from_bytes(data[at + 2:at + 4], "big")
        if marker in (0xC0, 0xC1, 0xC2) and at + 10 <= len(data):
            count = data[at + 9]
            factors = [data[at + 11 + 3 * i] for i in range(count) if at + 11 + 3 * i < len(data)]
            if len(set(factors)) > 1:
                return " (the template keeps its colour at a lower resolution, and the decoders upsample it differently)"
            return ""
        at += 2 + length
    return ""


def compare(candidate_folder, reference_folder):
    candidate_log = os.path.join(candidate_folder, "drive.log")
    reference_log = os.path.join(reference_folder, "drive.log")
    if not os.path.isfile(candidate_log):
        print("error: %s is missing: run the demo with the script `%s places` makes" % (candidate_log, sys.argv[0]))
        return 2
    candidate_places = read_places(candidate_log)
    reference_places = read_places(reference_log) if os.path.isfile(reference_log) else None
    if reference_places is None:
        print("note: %s is missing: the places the reference read back are not compared" % reference_log)

    failures = 0
    worst_template = 0
    worst_text = 0
    worst_photo = 0.0
    worst_frame = 0
    for name in CERTIFICATES:
        problems = []
        figures = []
        paths = [os.path.join(folder, name) for folder in (candidate_folder, reference_folder)]
        missing = [path for path in paths if not os.path.isfile(path)]
        if missing:
            print("%s: FAIL: missing %s" % (name, ", ".join(missing)))
            failures += 1
            continue
        candidate, reference = Certificate(paths[0]), Certificate(paths[1])
        problems += ["this build's: " + problem for problem in candidate.problems]
        problems += ["reference: " + problem for problem in reference.problems]
        places = candidate_places.get(name)
        if not places or any(control not in places or None in places[control] for control in PLACED):
            problems.append("the places of its controls are not in %s" % candidate_log)
        if problems:
            print("%s: FAIL: %s" % (name, "; ".join(problems)))
            failures += 1
            continue
        if reference_places is not None:
            theirs = reference_places.get(name, {})
            moved = [control for control in PLACED if theirs.get(control) != places[control]]
            for control in moved:
                problems.append("%s reads %s here, %s in the reference" % (control, places[control], theirs.get(control)))

        rects = rectangles(places)
        template_path = os.path.join(TEMPLATES, name.replace(".bmp", ".jpg"))
        inside = preview_inside(places)
        largest, over, where = template_difference(candidate, reference, inside, list(rects.values()))
        worst_template = max(worst_template, largest)
        figures.append("template max %d" % largest)
        frame = frame_difference(candidate, reference, inside)
        worst_frame = max(worst_frame, frame)
        if over:
            problems.append("template area: %d pixels differ by more than %d (largest %d at %s)%s"
                            % (over, TEMPLATE_TOLERANCE, largest, where, subsampling_note(template_path)))

        template = Template(template_path)
        label_shifts = []
        for control in LABELS:
            beneath = (lambda x, y: WHITE) if control in OPAQUE_LABELS else template.pixel
            ours = text_box(candidate, rects[control], beneath)
            theirs = text_box(reference, rects[control], beneath)
            if ours is None or theirs is None:
                if ours != theirs:
                    problems.append("%s: text in one certificate only" % control)
                continue
            shift = max(abs(a - b) for a, b in zip(ours, theirs))
            label_shifts.append(shift)
            worst_text = max(worst_text, shift)
            if shift > TEXT_TOLERANCE:
                problems.append("%s: text box %s here, %s in the reference" % (control, ours, theirs))
        figures.append("text boxes within %d px" % max(label_shifts, default=0))

        dx, dy, mean = photo_fit(candidate, reference, rects[PHOTO])
        worst_photo = max(worst_photo, mean)
        figures.append("photo at %s mean %.2f" % (rects[PHOTO][:2], mean))
        if (dx, dy) != (0, 0):
            problems.append("photo fits the reference best shifted by (%d, %d)" % (dx, dy))
        if mean > PHOTO_TOLERANCE:
            problems.append("photo differs by %.2f per channel on average" % mean)

        if problems:
            failures += 1
            print("%s: FAIL: %s (%s)" % (name, "; ".join(problems), ", ".join(figures)))
        else:
            print("%s: ok: 520 x 328 24-bit, %d bytes; %s" % (name, FILE_SIZE, ", ".join(figures)))

    print("%d of %d certificates match the reference: template area max difference %d (tolerance %d), "
          "text boxes within %d px (tolerance %d), photo mean difference at most %.2f (tolerance %.1f)"
          % (len(CERTIFICATES) - failures, len(CERTIFICATES), worst_template, TEMPLATE_TOLERANCE, worst_text,
             TEXT_TOLERANCE, worst_photo, PHOTO_TOLERANCE))
    print("not compared: the preview's frame (the window system's colour) differs by up to %d" % worst_frame)
    return 1 if failures else 0


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "places":
        write_places_script(sys.argv[2])
        return 0
    if len(sys.argv) == 4 and sys.argv[1] == "compare":
        return compare(sys.argv[2], sys.argv[3])
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main())
