#!/usr/bin/env python3
"""Whole-process timings and peak memory of kestavian-cli on long simulation outputs.

Compares, on a generated file of 130,000 events (about 1.1 million lines, 64 MB) and on its
first 32,767 lines (the largest file the viewer opens):

  - kestavian-cli check, the floor of reading the file (wc -l) and pandas.read_fwf of the
    file's truck lines (the lines of exactly 77 ASCII digits, all of them and nothing else in
    these files), each as a whole process;
  - kestavian-cli list --top 10 against check;
  - kestavian-cli stats (every effect, day blocks, both fits, delta and profile intervals of the
    1000-year level) against check, and against a Python script that does the same with pandas
    and scipy (the effect lines found by the file's counts, the day maxima by pandas, the fits by
    scipy.stats, the profile interval by scipy.optimize);
  - the peak memory of check, list --top 10 and stats on the long file and on a file of about
    1 GB (16 copies of it, one after the other: still one valid event file).

Commands run in turn (A B A B ...), so that each ratio is taken pair by pair; the figures are
medians. Wall times are measured around the child from spawn to reaping. Peak memory is the
maximum resident set size that GNU time (/usr/bin/time) reports for the command: a child of this
script would start from the script's own size. Standard library only, apart from pandas for its
row.

The generated files are kept in $TMPDIR/kestavian_bench/ (as the Google Benchmark programs keep
theirs) for later runs.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
EVENTS = 130_000
VIEWER_LINES = 32_767
COPIES_FOR_1GB = 16

PANDAS = r"""
import io, sys
import pandas
widths = [4, 2, 2, 2, 2, 2, 2, 2, 3, 4, 3, 1, 1, 1, 3] + [3, 2] * 8 + [3]
with open(sys.argv[1], "rb") as f:
    trucks = b"".join(l for l in f
                      if len(l.rstrip(b"\r\n")) == 77 and l.rstrip(b"\r\n").isdigit())
frame = pandas.read_fwf(io.BytesIO(trucks), widths=widths, header=None)
print(len(frame))
"""


SCIPY_STATS = r"""
import sys
import numpy, pandas
from scipy import optimize, stats
rows, state, effects, left = [], "event", 0, 0
with open(sys.argv[1]) as f:
    for line in f:
        line = line.strip("\\r\\n").lstrip()
        if state == "event":
            state, effects = "effect", 0
        elif state == "effect":
            effects += 1
            trucks = int(line[38:42])
            if trucks > 0:
                rows.append((int(line[0:2]), float(line[2:12]), float(line[12:27])))
            left = max(trucks, 0)
            state = "trucks" if left else ("event" if effects == 3 else "effect")
        else:
            left -= 1
            if left == 0:
                state = "event" if effects == 3 else "effect"
frame = pandas.DataFrame(rows, columns=["effect", "value", "time"])
frame["day"] = numpy.floor(frame["time"] / 86400)
rise = stats.chi2.ppf(0.95, 1)

def standard_errors(nll, params):
    # The observed information by central differences, inverted.
    n, h = len(params), [1e-4 * max(1, abs(p)) for p in params]
    hessian = numpy.zeros((n, n))
    for i in range(n):
        for j in range(n):
            def at(di, dj):
                p = list(params)
                p[i] += di * h[i]
                p[j] += dj * h[j]
                return nll(p)
            hessian[i, j] = (at(1, 1) - at(1, -1) - at(-1, 1) + at(-1, -1)) / (4 * h[i] * h[j])
    return numpy.linalg.inv(hessian)

def interval(level, best, profile_nll, start, spread):
    def excess(z):
        return 2 * (optimize.minimize(lambda q: profile_nll(z, q), start,
                                      method="Nelder-Mead").fun - best) - rise
    def bound(a, b):
        return optimize.brentq(excess, a, b) if excess(a) * excess(b) < 0 else float("nan")
    return bound(level - 50 * spread, level), bound(level, level + 50 * spread)

for effect, group in frame.groupby("effect"):
    maxima = group.groupby("day")["value"].max().to_numpy()
    blocks = group["day"].max() - group["day"].min() + 1
    p = len(maxima) / blocks
    f = ((1 - 1 / 1000) ** (1 / 250) - 1 + p) / p
    line = [effect, len(maxima)]
    for name, family, guess in (("gumbel", stats.gumbel_r, ()), ("gev", stats.genextreme, None)):
        fitted = family.fit(maxima)
        shape, loc, scale = (fitted[:-2], fitted[-2], fitted[-1])
        def nll(q):
            value = -family.logpdf(maxima, *q).sum() if q[-1] > 0 else 1e300
            return value if numpy.isfinite(value) else 1e300
        best = nll(list(fitted))
        covariance = standard_errors(nll, list(fitted))
        level = family.ppf(f, *fitted)
        step = 1e-6 * max(1, abs(level))
        gradient = numpy.array([(family.ppf(f, *[v + (step if k == i else 0)
                                                 for k, v in enumerate(fitted)]) - level) / step
                                for i in range(len(fitted))])
        se = float(numpy.sqrt(max(gradient @ covariance @ gradient, 0)))
        def profile_nll(z, q):
            *shape_q, scale_q = q
            if scale_q <= 0:
                return 1e300
            loc_q = z - family.ppf(f, *shape_q, 0, scale_q)
            return nll(list(shape_q) + [loc_q, scale_q])
        line += [level, level - 1.96 * se, level + 1.96 * se,
                 *interval(level, best, profile_nll, list(shape) + [scale], scale)]
        if name == "gumbel":
            gumbel_best = best
        else:
            statistic = 2 * (gumbel_best - best)
            line += [statistic, stats.chi2.sf(statistic, 1)]
    print(*line)
"""


def files(folder):
    """The long run, its first 32,767 lines and its 1 GB concatenation, made when missing."""
    folder.mkdir(parents=True, exist_ok=True)
    long_run = folder / f"Events_30_{EVENTS}.txt"
    if not long_run.exists():
        print(f"generating {long_run} (takes minutes)", file=sys.stderr)
        subprocess.run([sys.executable, str(REPO / "tools" / "make_examples.py"),
                        "--events", str(EVENTS), "--out", str(long_run)], check=True)
    viewer_sized = folder / f"Events_30_{VIEWER_LINES}_lines.txt"
    if not viewer_sized.exists():
        with open(long_run, "rb") as source, open(viewer_sized, "wb") as target:
            for _, line in zip(range(VIEWER_LINES), source):
                target.write(line)
    gigabyte = folder / "Events_30_1GB.txt"
    if not gigabyte.exists():
        partial = gigabyte.with_name(gigabyte.name + ".partial")
        with open(partial, "wb") as target:
            for _ in range(COPIES_FOR_1GB):
                with open(long_run, "rb") as source:
                    shutil.copyfileobj(source, target, 1 << 20)
        partial.replace(gigabyte)
    return long_run, viewer_sized, gigabyte


def run_once(command):
    """Wall seconds of one run, its output thrown away."""
    devnull = os.open(os.devnull, os.O_WRONLY)
    try:
        start = time.perf_counter()
        pid = os.posix_spawnp(command[0], command, os.environ,
                              file_actions=[(os.POSIX_SPAWN_DUP2, devnull, 1),
                                            (os.POSIX_SPAWN_DUP2, devnull, 2)])
        _, status = os.waitpid(pid, 0)
        wall = time.perf_counter() - start
    finally:
        os.close(devnull)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"failed: {' '.join(command)}")
    return wall


def compare(label, a, b, runs):
    """Runs a and b in turn; prints their median times and the median of the paired ratios."""
    run_once(a), run_once(b)  # warm-up: the file in the page cache
    pairs = [(run_once(a), run_once(b)) for _ in range(runs)]
    wall_a = statistics.median(a for a, _ in pairs)
    wall_b = statistics.median(b for _, b in pairs)
    ratio = statistics.median(b / a for a, b in pairs)
    digits = 2 if ratio < 10 else 1
    print(f"| {label} | {wall_a * 1000:.1f} ms | {wall_b * 1000:.1f} ms | {ratio:.{digits}f}x |")


def peak(label, command, runs):
    """The median of the command's peak resident memory as GNU time reports it."""
    peaks = []
    for _ in range(runs):
        done = subprocess.run(["/usr/bin/time", "-f", "%M", *command], check=True,
                              stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        peaks.append(int(done.stderr.split()[-1]) / 1024)
    print(f"| {label} | {statistics.median(peaks):.1f} MiB |")


def output(command):
    return subprocess.run(command, check=True, capture_output=True, text=True).stdout


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("cli", help="the kestavian-cli to measure")
    parser.add_argument("--runs", type=int, default=5, help="pairs per comparison (default 5)")
    parser.add_argument("--python", default="/usr/bin/python3",
                        help="a Python with pandas (default: the system's, python3-pandas)")
    args = parser.parse_args()
    folder = Path(os.environ.get("TMPDIR", tempfile.gettempdir())) / "kestavian_bench"
    long_run, viewer_sized, gigabyte = files(folder)
    cli = os.path.abspath(args.cli)

    def check(path):
        return [cli, "check", str(path)]

    def pandas(path):
        return [args.python, "-c", PANDAS, str(path)]

    # Both read the same trucks, or the comparison would mean nothing.
    for path in (long_run, viewer_sized):
        trucks = output(check(path)).split("trucks: ")[1].split()[0]
        rows = output(pandas(path)).strip()
        if trucks != rows:
            sys.exit(f"{path}: check counts {trucks} trucks, pandas reads {rows} lines")

    print("| A vs B | A median | B median | B / A, median of pairs |")
    print("|---|---|---|---|")
    for path, lines in ((long_run, "1.1 M"), (viewer_sized, "32,767")):
        compare(f"wc -l vs check, {lines} lines", ["wc", "-l", str(path)], check(path), args.runs)
        compare(f"check vs pandas.read_fwf, {lines} lines", check(path), pandas(path),
                max(3, args.runs // 2) if path == long_run else args.runs)
    compare("check vs list --top 10, 1.1 M lines", check(long_run),
            [cli, "list", str(long_run), "--top", "10"], args.runs)
    stats_run = [cli, "stats", str(long_run), "--return-period", "1000"]
    compare("check vs stats, 1.1 M lines", check(long_run), stats_run, args.runs)
    compare("stats vs pandas + scipy, 1.1 M lines", stats_run,
            [args.python, "-c", SCIPY_STATS, str(long_run)], 3)
    print()
    print("| peak memory | median |")
    print("|---|---|")
    peak("nothing (true): the floor of the measure", ["true"], 3)
    for path, size in ((long_run, "64 MB"), (gigabyte, "1 GB")):
        peak(f"check, {size}", check(path), 3)
        peak(f"list --top 10, {size}", [cli, "list", str(path), "--top", "10"], 3)
        peak(f"stats, {size}", [cli, "stats", str(path)], 3)


if __name__ == "__main__":
    main()
