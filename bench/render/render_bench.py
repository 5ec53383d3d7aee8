"""Whole-process render benchmark: `davodu render` against matplotlib and a
bare Cairo program, on the same synthetic chart at the same pixel size.

The chart: 12 curves of 8,000 samples (1,000 m every 0.125 m) in 6 tracks,
1:500, drawn at 100 dpi. Each program runs as a whole process, several
times; the median wall time and the peak resident memory are reported, with
the ratios. Run it through scripts/bench-render.sh, which builds the
programs and installs matplotlib.

    python3 render_bench.py --davodu PATH --bare PATH [--runs N] [--work DIR]
"""
import argparse
import math
import os
import random
import resource
import statistics
import struct
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
CURVES, TRACKS, SAMPLES, TOP, STEP, SCALE, DPI = 12, 6, 8000, 1000.0, 0.125, 500, 100
NAMES = ["C%02d" % i for i in range(CURVES)]


def write_data(work):
    """The curve table (for the bare program and matplotlib), the LAS file
    and the chart template (for davodu); returns the value range of each curve."""
    rng = random.Random(12)
    columns = []
    for c in range(CURVES):
        walk, values = 0.0, []
        for i in range(SAMPLES):
            walk += rng.uniform(-1, 1)
            values.append(50 + 30 * math.sin(i / (300 + 40 * c)) + 0.4 * walk)
        columns.append(values)
    rows = []
    for i in range(SAMPLES):
        rows.append("%.3f " % (TOP + i * STEP) + " ".join("%.4f" % columns[c][i] for c in range(CURVES)))
    body = "\n".join(rows) + "\n"
    with open(os.path.join(work, "curves.txt"), "w") as f:
        f.write("DEPT " + " ".join(NAMES) + "\n" + body)
    with open(os.path.join(work, "bench.las"), "w") as f:
        f.write("~Version\nVERS. 2.0 :\nWRAP. NO :\n~Well\n")
        f.write("STRT.M %.3f :\nSTOP.M %.3f :\nSTEP.M %.3f :\n" % (TOP, TOP + (SAMPLES - 1) * STEP, STEP))
        f.write("NULL. -999.25 :\nWELL. BENCH : WELL\n~Curve\nDEPT.M : depth\n")
        for n in NAMES:
            f.write("%s.API : synthetic\n" % n)
        f.write("~A\n" + body)
    per = CURVES // TRACKS
    tracks = ['{"kind": "depth", "width": 1500}']
    for t in range(TRACKS):
        curves = []
        for c in range(t * per, (t + 1) * per):
            lo, hi = min(columns[c]), max(columns[c])
            curves.append('{"name": "%s", "left": %.4f, "right": %.4f}' % (NAMES[c], lo, hi))
        tracks.append('{"kind": "curve", "width": 3000, "curves": [%s]}' % ", ".join(curves))
    with open(os.path.join(work, "bench.json"), "w") as f:
        f.write('{"title": "{well}", "scale": %d, "top": %.3f, "bottom": %.3f, "tracks": [%s]}'
                % (SCALE, TOP, TOP + (SAMPLES - 1) * STEP, ", ".join(tracks)))


def run(cmd, env=None):
    """Runs a command as its own process; (seconds, peak resident MB)."""
    start = time.perf_counter()
    proc = subprocess.Popen(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, env=env)
    _, status, usage = os.wait4(proc.pid, 0)
    seconds = time.perf_counter() - start
    err = proc.stderr.read().decode(errors="replace")
    proc.stderr.close()
    proc.returncode = os.waitstatus_to_exitcode(status)
    if proc.returncode != 0:
        sys.exit("failed: %s\n%s" % (" ".join(cmd), err))
    return seconds, usage.ru_maxrss / 1024.0


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    return struct.unpack(">II", head[16:24])


def measure(name, cmd, runs, env=None):
    run(cmd, env)  # warm the page cache and the font caches
    times, peak = [], 0.0
    for _ in range(runs):
        t, m = run(cmd, env)
        times.append(t)
        peak = max(peak, m)
    return {"name": name, "median": statistics.median(times), "best": min(times), "peak": peak}


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--davodu", required=True)
    ap.add_argument("--bare", required=True)
    ap.add_argument("--runs", type=int, default=7)
    ap.add_argument("--work")
    # Debian's python3, which has python3-matplotlib, unless told otherwise.
    ap.add_argument("--python", default="/usr/bin/python3" if os.path.exists("/usr/bin/python3")
                    else sys.executable)
    args = ap.parse_args()
    work = args.work or tempfile.mkdtemp(prefix="davodu-render-bench-")
    os.makedirs(work, exist_ok=True)
    write_data(work)
    db = os.path.join(work, "bench.db")
    if os.path.exists(db):
        os.remove(db)
    env = dict(os.environ, DAVODU_HOME=work)
    run([args.davodu, "import", "--db", db, os.path.join(work, "bench.las")], env)
    chart = os.path.join(work, "bench.wpd")
    run([args.davodu, "build", "--db", db, "--template", os.path.join(work, "bench.json"),
         "--well", "BENCH", "-o", chart], env)

    out = lambda ext, who: os.path.join(work, "%s.%s" % (who, ext))
    render = lambda ext: [args.davodu, "render", "--db", db, chart, "-o", out(ext, "davodu"),
                          "--dpi", str(DPI)]
    results = [measure("davodu render (PNG)", render("png"), args.runs, env)]
    width, height = png_size(out("png", "davodu"))
    curves = os.path.join(work, "curves.txt")
    bare = lambda ext: [args.bare, curves, out(ext, "bare"), str(width), str(height), str(TRACKS)]
    results.append(measure("bare Cairo (PNG)", bare("png"), args.runs))
    results.append(measure("matplotlib (PNG)", [args.python, os.path.join(HERE, "mpl_render.py"),
                                               curves, out("png", "mpl"), str(width), str(height),
                                               str(TRACKS)], max(3, args.runs // 2)))
    for ext in ("svg", "pdf"):
        results.append(measure("davodu render (%s)" % ext.upper(), render(ext), args.runs, env))
        results.append(measure("bare Cairo (%s)" % ext.upper(), bare(ext), args.runs))

    by = {r["name"]: r for r in results}
    print("chart: %d curves x %d samples in %d tracks, 1:%d, %d dpi: %d x %d pixels"
          % (CURVES, SAMPLES, TRACKS, SCALE, DPI, width, height))
    print("%-22s %10s %10s %10s" % ("program", "median s", "best s", "peak MB"))
    for r in results:
        print("%-22s %10.3f %10.3f %10.1f" % (r["name"], r["median"], r["best"], r["peak"]))
    d = by["davodu render (PNG)"]["median"]
    print("PNG: matplotlib / davodu = %.2fx, bare Cairo / davodu = %.2fx"
          % (by["matplotlib (PNG)"]["median"] / d, by["bare Cairo (PNG)"]["median"] / d))
    for ext in ("SVG", "PDF"):
        print("%s: davodu / bare Cairo = %.2fx" % (ext, by["davodu render (%s)" % ext]["median"]
                                                    / by["bare Cairo (%s)" % ext]["median"]))
    stats = subprocess.run(render("png") + ["--stats"], env=env, capture_output=True, text=True)
    print("davodu steps (PNG): " + stats.stderr.strip().replace("davodu: ", ""))


if __name__ == "__main__":
    main()
