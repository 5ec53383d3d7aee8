#!/usr/bin/env python3
"""Whole-process timings of `davodu import` (see docs/benchmarks.md).

  import_bench.py DAVODU sample BIG.las     import one LAS file into a fresh
                                             database, 20 times: median wall
                                             time and peak memory
  import_bench.py DAVODU field N [DIR]      generate a field of N wells (header
                                             CSV, surveys, tops with 10 strata
                                             per well, one 8-curve LAS of 2,000
                                             rows per well), import it, time
                                             each step, report the database
                                             size and `show` of one well
"""
import os
import random
import resource
import statistics
import subprocess
import sys
import tempfile
import time


def run(cmd):
    start = time.perf_counter()
    subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL)
    return time.perf_counter() - start


def peak_kib_of_children():
    return resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss


def sample(davodu, las):
    times = []
    with tempfile.TemporaryDirectory() as tmp:
        for i in range(20):
            db = os.path.join(tmp, f"w{i}.db")
            times.append(run([davodu, "import", "--db", db, las]))
    print(f"import {os.path.basename(las)}: median {statistics.median(times) * 1e3:.1f} ms, "
          f"min {min(times) * 1e3:.1f} ms, peak memory {peak_kib_of_children() / 1024:.1f} MiB")


def field(davodu, n, out):
    os.makedirs(out, exist_ok=True)
    rnd = random.Random(7)
    names = [f"F{i:05d}" for i in range(n)]
    with open(os.path.join(out, "wells.csv"), "w") as f:
        f.write("井名,X坐标,Y坐标,补心海拔,油田,uwi\n")
        for i, w in enumerate(names):
            f.write(f"{w},{500000 + rnd.random() * 1e4:.2f},{4000000 + rnd.random() * 1e4:.2f},"
                    f"{20 + rnd.random() * 30:.2f},Field,UWI{i:08d}\n")
    with open(os.path.join(out, "deviation.csv"), "w") as f:
        f.write("well,md,inc,azi\n")
        for w in names:
            for k in range(20):
                f.write(f"{w},{k * 100},{min(k * 2.5, 45):.1f},{(k * 7) % 360}\n")
    with open(os.path.join(out, "stratum1.csv"), "w") as f:
        f.write("井名,层位,顶深,底深\n")
        for w in names:
            for k in range(10):
                f.write(f"{w},L{k + 1},{1000 + k * 100},{1100 + k * 100}\n")
    las_dir = os.path.join(out, "las")
    os.makedirs(las_dir, exist_ok=True)
    rows = "".join(f"{1000 + 0.5 * r:.1f} " + " ".join(f"{rnd.random() * 100:.4f}" for _ in range(8)) + "\n"
                   for r in range(2000))
    head = ("~V\n VERS. 2.0 :\n WRAP. NO :\n~W\n NULL. -999.25 :\n WELL. {w} :\n UWI. UWI{i:08d} :\n"
            "~C\n DEPT.M :\n" + "".join(f" C{c}.U :\n" for c in range(8)) + "~A\n")
    for i, w in enumerate(names):
        with open(os.path.join(las_dir, f"{w}.las"), "w") as f:
            f.write(head.format(w=w, i=i))
            f.write(rows)
    db = os.path.join(out, "wells.db")
    for suffix in ("", "-wal", "-shm"):
        if os.path.exists(db + suffix):
            os.remove(db + suffix)
    steps = [("wells", [os.path.join(out, "wells.csv")]),
             ("surveys", [os.path.join(out, "deviation.csv")]),
             ("tops", [os.path.join(out, "stratum1.csv")])]
    las_files = sorted(os.path.join(las_dir, f) for f in os.listdir(las_dir))
    total = 0.0
    for name, files in steps:
        t = run([davodu, "import", "--db", db] + files)
        total += t
        print(f"{name}: {t:.2f} s")
    t = 0.0
    for k in range(0, len(las_files), 500):  # 500 files per command
        t += run([davodu, "import", "--db", db] + las_files[k:k + 500])
    total += t
    print(f"LAS ({len(las_files)} files): {t:.2f} s")
    size = sum(os.path.getsize(db + s) for s in ("", "-wal") if os.path.exists(db + s))
    print(f"total {total:.2f} s, database {size / 2**20:.0f} MiB")
    shows = [run([davodu, "show", "--db", db, names[len(names) // 2]]) for _ in range(10)]
    print(f"show of one well: median {statistics.median(shows) * 1e3:.1f} ms")


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    davodu, what = sys.argv[1], sys.argv[2]
    if what == "sample":
        sample(davodu, sys.argv[3])
    else:
        n = int(sys.argv[3])
        out = sys.argv[4] if len(sys.argv) > 4 else os.path.join(tempfile.gettempdir(), f"davodu-field-{n}")
        field(davodu, n, out)


if __name__ == "__main__":
    main()
