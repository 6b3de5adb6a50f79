#!/usr/bin/env python3
"""The scale table: start-up, open, locate+post, export and the master
summary over masters of growing size, each run in its own process (medians
of three runs; peak memory is the child's maximum resident set, read from
outside), then the ratios the master's growth must keep.

    scale.py SCALE_BINARY PROGRAM_BINARY WORK_DIR [--sizes 1000,10000,...] [--runs 3]

Start-up is timed from the spawn of the program until it reports its main
window painted (BRIMLO_EXIT_WHEN_SHOWN, offscreen platform), each run in
turn with one with an empty data folder. The posts to each master are taken
in turn with posts to a master of 1,000 records (without the flush) and with
one 16 KB write + fdatasync (durable): what a ratio compares is measured
under the same conditions, which on a machine shared with other work change
from one second to the next.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import time
from pathlib import Path


def run_child(args, env=None, marker=None):
    """(wall seconds until marker or exit, peak MB, stdout lines)."""
    start = time.monotonic()
    process = subprocess.Popen(args, env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    lines, shown = [], None
    for line in process.stdout:
        lines.append(line.strip())
        if marker and line.strip() == marker and shown is None:
            shown = time.monotonic() - start
    _, status, usage = os.wait4(process.pid, 0)
    if os.waitstatus_to_exitcode(status) != 0 or (marker and shown is None):
        raise RuntimeError(f"{' '.join(map(str, args))} failed ({lines[-3:]})")
    return (shown if marker else time.monotonic() - start), usage.ru_maxrss / 1024.0, lines


def figures(lines):
    out = {}
    for line in lines:
        name, _, value = line.partition(" ")
        try:
            out[name] = float(value)
        except ValueError:
            pass
    return out


def median_runs(runs, run):
    """Median of each figure over runs of run() -> dict."""
    results = [run() for _ in range(runs)]
    return {key: statistics.median(r[key] for r in results) for key in results[0]}


class Scale:
    def __init__(self, scale_binary, program, work, runs):
        self.scale = scale_binary
        self.program = program
        self.work = Path(work)
        self.runs = runs
        self.reference = self.work / "reference"

    def make_reference(self):
        self.reference.mkdir(parents=True, exist_ok=True)
        run_child([self.scale, "make", str(self.reference), str(REFERENCE_RECORDS)])

    def environment(self, data_home):
        runtime = self.work / "runtime"
        runtime.mkdir(mode=0o700, exist_ok=True)
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_DATA_HOME=str(data_home),
                   XDG_RUNTIME_DIR=str(runtime), BRIMLO_EXIT_WHEN_SHOWN="1")
        run_child([self.program], env, "shown")  # creates the defaults table; not counted
        return env

    def startup(self, data_home):
        """Start-up with this data folder, each run in turn with one with the
        empty data folder, so that both see the same machine."""
        envs = {"startup": self.environment(data_home), "empty_startup": self.environment(self.work / "empty")}

        def once():
            out = {}
            for prefix, env in envs.items():
                seconds, peak, _ = run_child([self.program], env, "shown")
                out.update({f"{prefix}_ms": seconds * 1000, f"{prefix}_MB": peak})
            return out
        return median_runs(self.runs, once)

    def operation(self, command, folder, prefix, *extra):
        def once():
            _, peak, lines = run_child([self.scale, command, str(folder), *map(str, extra)])
            return dict(figures(lines), **{f"{prefix}_MB": peak})
        return median_runs(self.runs, once)

    def size(self, records):
        data_home = self.work / f"data{records}"
        folder = data_home / "Brimlo"
        folder.mkdir(parents=True, exist_ok=True)
        run_child([self.scale, "make", str(folder), str(records)])
        row = {"records": records, "file_MB": (folder / "master.db").stat().st_size / 2**20}
        row.update(self.startup(data_home))
        row.update(self.operation("open", folder, "open"))
        row.update(self.operation("post", folder, "post", self.reference))
        row.update(self.operation("export", folder, "export"))
        row.update(self.operation("summary", folder, "summary"))
        shutil.rmtree(data_home, ignore_errors=True)
        return row


REFERENCE_RECORDS = 1000

COLUMNS = [
    ("records", "records", "{:,.0f}"), ("file_MB", "file MB", "{:.1f}"),
    ("startup_ms", "start-up ms", "{:.0f}"), ("startup_MB", "start-up MB", "{:.0f}"),
    ("empty_startup_ms", "empty start-up ms", "{:.0f}"), ("empty_startup_MB", "empty start-up MB", "{:.0f}"),
    ("open_ms", "open ms", "{:.1f}"), ("open_MB", "open MB", "{:.0f}"),
    ("post_ms", "post ms", "{:.3f}"), ("post_cpu_ms", "post CPU ms", "{:.3f}"),
    ("reference_post_ms", "1k post ms", "{:.3f}"), ("reference_post_cpu_ms", "1k post CPU ms", "{:.3f}"),
    ("durable_post_ms", "durable post ms", "{:.2f}"),
    ("fdatasync16k_ms", "16 KB fdatasync ms", "{:.2f}"),
    ("export_ms", "export ms", "{:.0f}"), ("export_MB", "export MB", "{:.0f}"),
    ("summary_first_page_ms", "summary 1st page ms", "{:.0f}"),
    ("summary_pdf_ms", "summary PDF ms", "{:.0f}"), ("summary_MB", "summary MB", "{:.0f}"),
]


def table(rows):
    header = [title for _, title, _ in COLUMNS]
    body = [[fmt.format(row[key]) if key in row else "-" for key, _, fmt in COLUMNS] for row in rows]
    widths = [max(len(c) for c in column) for column in zip(header, *body)]
    line = lambda cells: "| " + " | ".join(c.rjust(w) for c, w in zip(cells, widths)) + " |"
    return "\n".join([line(header), "|" + "|".join("-" * (w + 2) for w in widths) + "|"] +
                     [line(r) for r in body])


def checks(rows):
    """(goal, figure, met) for the ratios the growth must keep."""
    by = {r["records"]: r for r in rows}
    out = []
    big = by.get(max(by))
    if big:
        ratio = big["startup_ms"] / big["empty_startup_ms"]
        out.append((f"start-up at {big['records']:,} <= 2x empty", f"{ratio:.2f}x", ratio <= 2))
        limit = big["empty_startup_MB"] + 1.5 * big["file_MB"]
        out.append((f"start-up peak at {big['records']:,} <= empty + 1.5 x file ({limit:.0f} MB)",
                    f"{big['startup_MB']:.0f} MB", big["startup_MB"] <= limit))
        ratio = big["durable_post_ms"] / big["fdatasync16k_ms"]
        out.append((f"durable post at {big['records']:,} <= 4x one 16 KB write+fdatasync", f"{ratio:.2f}x",
                    ratio <= 4))
        ratio = big["post_ms"] / big["reference_post_ms"]
        out.append((f"post at {big['records']:,} <= 2x post at {REFERENCE_RECORDS:,}, no flush (in turn)",
                    f"{ratio:.2f}x", ratio <= 2))
        ratio = big["post_cpu_ms"] / big["reference_post_cpu_ms"]
        out.append((f"post at {big['records']:,} <= 2x post at {REFERENCE_RECORDS:,}, no flush, CPU",
                    f"{ratio:.2f}x", ratio <= 2))
    for records, limit in ((50000, 300), (200000, 400)):
        if records in by:
            peak = by[records]["summary_MB"]
            out.append((f"master summary of {records:,} to PDF <= {limit} MB", f"{peak:.0f} MB", peak <= limit))
            first = by[records]["summary_first_page_ms"]
            if records == 200000:
                out.append(("master summary of 200,000: first page <= 1 s", f"{first:.0f} ms", first <= 1000))
    return out


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("scale_binary")
    parser.add_argument("program")
    parser.add_argument("work")
    parser.add_argument("--sizes", default="1000,10000,50000,200000")
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args(argv[1:])
    scale = Scale(args.scale_binary, args.program, args.work, args.runs)
    (scale.work / "empty").mkdir(parents=True, exist_ok=True)
    scale.make_reference()
    rows = []
    for records in (int(s) for s in args.sizes.split(",")):
        print(f"  {records:,} records", file=sys.stderr, flush=True)
        rows.append(scale.size(records))
    print(table(rows))
    print()
    print(f"Medians of {args.runs} runs. Each start-up runs in turn with one with an empty data folder, "
          f"each post in turn with one to a master of {REFERENCE_RECORDS:,} records (no flush) "
          "or one 16 KB write + fdatasync (durable).")
    print()
    results = checks(rows)
    for goal, figure, met in results:
        print(f"{'yes' if met else 'NO ':3}  {goal}: {figure}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
