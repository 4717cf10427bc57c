#!/usr/bin/env python3
"""Whole-process figures of the certificate maker beside their anchors.

Every measure runs real processes round-robin (one of each per round), takes CPU time and peak
memory from the kernel's accounting of the finished child (wait4 / getrusage), and prints the
median over the rounds of each per-round ratio.

Usage: scripts/bench_table.py BUILD_DIR [ROUNDS]
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

build = os.path.abspath(sys.argv[1])
rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 5
source = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
drive = os.path.join(build, "bin", "certmaker-drive")
anchors = os.path.join(build, "bin", "anchors")
work = tempfile.mkdtemp(prefix="certmaker-bench-")
env = dict(os.environ, QT_QPA_PLATFORM="offscreen")

KINDS = ["光棍证", "聊天许可证", "爱神证", "超级美眉证", "初吻证", "赌神证", "超级帅哥证", "处男证",
         "色狼证", "网恋许可证", "良家妇女证", "灌水证", "潜水证", "忽悠证", "良好市民证", "浆糊证"]
SWITCHES = 160
SAVES = 300  # enough that the photo row is not lost in the noise of decoding the photo
LOADS = 6


def remove_saved_files():
    for name in os.listdir(work):
        if (name.startswith("out") or name.startswith("anchor")) and name.endswith(".bmp"):
            os.remove(os.path.join(work, name))


def run(argv, fresh_files=True):
    """CPU seconds, peak resident MB and wall seconds of one child process.

    The saves write out0.bmp, out1.bmp ...; unless told otherwise each run starts without them, so
    that every round saves new files (replacing one is measured on its own: it flushes the new
    content to the disk before the old file goes, which a new file does not need)."""
    if fresh_files:
        remove_saved_files()
    start = time.perf_counter()
    child = subprocess.Popen(argv, cwd=work, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("failed: " + " ".join(argv))
    return usage.ru_utime + usage.ru_stime, usage.ru_maxrss / 1024.0, wall


def script(name, lines):
    path = os.path.join(work, name)
    with open(path, "w", encoding="utf-8") as out:
        out.write("\n".join(lines + ["close", ""]))
    return [drive, path]


def make_photo(name, width, height):
    path = os.path.join(work, name)
    subprocess.run(["convert", "-size", f"{width}x{height}", "gradient:navy-orange", "-attenuate", "0.4",
                    "+noise", "Gaussian", "-quality", "90", path], check=True)
    return path


def main():
    photo = make_photo("photo4000.jpg", 4000, 3000)
    photo8000 = make_photo("photo8000.jpg", 8000, 8000)
    shown = os.path.join(source, "tests/runtime/imaging/shown")
    hostile = sorted(f for f in os.listdir(shown) if not f.endswith(".py"))
    templates = os.path.join(source, "app/data/templates")
    template = os.path.join(templates, "kind01.jpg")
    # The templates the switches below show, in the order they show them.
    switched = [os.path.join(templates, f"kind{i % 16 + 1:02}.jpg") for i in range(1, 17)]
    save_bytes = 511734

    kinds = [f"kind {KINDS[i % 16]}" for i in range(1, SWITCHES + 1)]
    saves = [f"save out{i}.bmp" for i in range(SAVES)]
    programs = {
        "idle": script("idle.script", []),
        "switches": script("switches.script", kinds),
        "saves": script("saves.script", saves),
        "photo": script("photo.script", [f"photo {photo}"]),
        "photo_saves": script("photo_saves.script", [f"photo {photo}"] + saves),
        "replacing_saves": script("replacing_saves.script", saves),
        "photo_loads": script("photo_loads.script", [f"photo {photo}"] * LOADS),
        "photo8000": script("photo8000.script", [f"photo {photo8000}"]),
        "anchor_jpeg": [anchors, "jpeg", str(SWITCHES)] + switched,
        "anchor_jpeg_one": [anchors, "jpeg", str(SWITCHES), template],
        "anchor_write": [anchors, "write-new", str(save_bytes), str(SAVES), os.path.join(work, "anchor")],
        "anchor_write_one": [anchors, "write", str(save_bytes), str(SAVES), os.path.join(work, "anchor.bin")],
        "anchor_photo": [anchors, "jpeg", str(LOADS), photo],
        "anchor_window": [anchors, "window"],
        "anchor_none": [anchors, "jpeg", "0", template],
    }
    for name in hostile:
        programs["shown " + name] = script(name + ".script", [f"photo {os.path.join(shown, name)}"])
    results = {name: [] for name, argv in programs.items() if argv}
    for _ in range(rounds):
        for name in results:
            if name == "replacing_saves":
                # The same files, each replaced by the same save once more.
                run(programs["saves"])
                results[name].append(run(programs[name], fresh_files=False))
            else:
                results[name].append(run(programs[name]))

    def per_round(f):
        return statistics.median(f(i) for i in range(rounds))

    cpu = lambda name, i: results[name][i][0]
    rss = lambda name, i: results[name][i][1]
    wall = lambda name, i: results[name][i][2]
    base = lambda i: cpu("idle", i)
    anchor_base = lambda i: cpu("anchor_none", i)

    rows = []
    switch = lambda i: (cpu("switches", i) - base(i)) / SWITCHES
    jpeg = lambda i: (cpu("anchor_jpeg", i) - anchor_base(i)) / SWITCHES
    rows.append(("One kind switch, end to end (CPU)", per_round(switch) * 1e3, "ms", per_round(jpeg) * 1e3,
                 per_round(lambda i: switch(i) / jpeg(i)), "<= 2.5x"))
    # The anchor above decodes the templates the switches show; the first one alone is the cheapest
    # to decode of the sixteen, so against it the program would be charged for the others' detail.
    jpeg_one = lambda i: (cpu("anchor_jpeg_one", i) - anchor_base(i)) / SWITCHES
    rows.append(("  (anchor decoding the first template only)", per_round(switch) * 1e3, "ms",
                 per_round(jpeg_one) * 1e3, per_round(lambda i: switch(i) / jpeg_one(i)), "(reference)"))
    save = lambda i: (cpu("saves", i) - base(i)) / SAVES
    write = lambda i: (cpu("anchor_write", i) - anchor_base(i)) / SAVES
    rows.append(("One save (snapshot + write, CPU)", per_round(save) * 1e3, "ms", per_round(write) * 1e3,
                 per_round(lambda i: save(i) / write(i)), "<= 2x"))
    # The saves make new files, and so does the anchor above; rewriting one file over and over
    # spares the file system the making of a new file each time.
    write_one = lambda i: (cpu("anchor_write_one", i) - anchor_base(i)) / SAVES
    rows.append(("  (anchor rewriting one file)", per_round(save) * 1e3, "ms", per_round(write_one) * 1e3,
                 per_round(lambda i: save(i) / write_one(i)), "(reference)"))
    photo_save = lambda i: (cpu("photo_saves", i) - cpu("photo", i)) / SAVES
    rows.append(("One save with a 4000x3000 photo shown", per_round(photo_save) * 1e3, "ms",
                 per_round(write) * 1e3, per_round(lambda i: photo_save(i) / write(i)), "<= 2.5x"))
    replacing = lambda i: (cpu("replacing_saves", i) - base(i)) / SAVES
    rows.append(("One save replacing the file saved before", per_round(replacing) * 1e3, "ms",
                 per_round(write_one) * 1e3, per_round(lambda i: replacing(i) / write_one(i)),
                 "(flushes to disk first; no goal)"))
    load = lambda i: (cpu("photo_loads", i) - base(i)) / LOADS
    decode = lambda i: (cpu("anchor_photo", i) - anchor_base(i)) / LOADS
    rows.append(("Loading a 4000x3000 JPEG photo (CPU)", per_round(load) * 1e3, "ms", per_round(decode) * 1e3,
                 per_round(lambda i: load(i) / decode(i)), "<= 0.5x"))
    start = lambda i: wall("idle", i)
    window = lambda i: wall("anchor_window", i)
    rows.append(("Start to first painted window, then close (wall)", per_round(start) * 1e3, "ms",
                 per_round(window) * 1e3, per_round(lambda i: start(i) / window(i)), "<= 1.5x"))

    print(f"{'Measure':52} {'Now':>10} {'Anchor':>10} {'Ratio':>7}  Goal")
    for name, now, unit, anchor, ratio, goal in rows:
        print(f"{name:52} {now:8.2f}{unit} {anchor:8.2f}{unit} {ratio:6.2f}x  {goal}")
    idle = per_round(lambda i: rss("idle", i))
    print(f"{'Peak memory, no photo':52} {idle:8.1f}MB")
    memory_rows = [("photo", "Peak memory with the 4000x3000 photo", "< 80 MB"),
                   ("photo8000", "Peak memory with an 8000x8000 photo", "< 150 MB")]
    memory_rows += [("shown " + name, "Tiny file shown: " + name, "< idle + 150 MB") for name in hostile]
    for name, label, goal in memory_rows:
        if name in results:
            peak = per_round(lambda i: rss(name, i))
            print(f"{label:52} {peak:8.1f}MB (+{peak - idle:.1f})  {goal}")
    print(f"load average at the end: {os.getloadavg()}")
    shutil.rmtree(work, ignore_errors=True)


main()
