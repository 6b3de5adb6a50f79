#!/usr/bin/env python3
"""Turns a brimlo_bench JSON result into one table of goals met or missed,
followed by the comparison with pxlib from the same run.

    bench_report.py result.json [--targets bench/targets.tsv] [--filtered]
"""
import argparse
import json
import operator
import re
import sys
from dataclasses import dataclass
from pathlib import Path

TIME_UNITS = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
COMPARISONS = {"<": operator.lt, "<=": operator.le, ">=": operator.ge, ">": operator.gt}
TIME_MEASURES = {"real_time": "wall", "cpu_time": "cpu"}
PXLIB_ROWS = [
    ("insert 50,000 records", "BM_ParadoxInsert50kAgainstPxlib"),
    ("read 50,000 records", "BM_ParadoxReadAllAgainstPxlib"),
    ("replace 2,000 records", "BM_ParadoxUpdateAgainstPxlib"),
]


@dataclass
class Target:
    pattern: str
    measure: str
    compare: str
    value: float
    unit: str
    goal: str

    def matches(self, name):
        return re.fullmatch(self.pattern.lstrip("^"), name) is not None

    def text(self):
        number = f"{self.value:g}"
        if self.unit == "x":
            return f"{self.compare} {number}x"
        label = TIME_MEASURES.get(self.measure, "")
        return f"{self.compare} {number} {self.unit}" + (f" {label}" if label else "")


@dataclass
class Row:
    benchmark: str
    target: str
    measured: str
    within: str


def load_targets(path):
    targets = []
    for number, line in enumerate(Path(path).read_text().splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        cells = line.split("\t")
        if len(cells) != 6:
            raise ValueError(f"{path}:{number}: {len(cells)} columns, wanted 6")
        pattern, measure, compare, value, unit, goal = cells
        if compare not in COMPARISONS:
            raise ValueError(f"{path}:{number}: unknown comparison {compare!r}")
        if measure in TIME_MEASURES and unit not in TIME_UNITS:
            raise ValueError(f"{path}:{number}: {unit!r} is not a time unit")
        re.compile(pattern)
        targets.append(Target(pattern, measure, compare, float(value), unit, goal))
    return targets


def load_results(path):
    data = json.loads(Path(path).read_text())
    # Only the runs themselves; aggregates would repeat a benchmark.
    return [b for b in data.get("benchmarks", []) if b.get("run_type", "iteration") == "iteration"]


def measured_value(result, target):
    """The figure the target compares, in the target's unit; None when absent."""
    if target.measure in TIME_MEASURES:
        if target.measure not in result:
            return None
        seconds = result[target.measure] * TIME_UNITS[result.get("time_unit", "ns")]
        return seconds / TIME_UNITS[target.unit]
    value = result.get(target.measure)
    return float(value) if value is not None else None


def format_number(value):
    if value == 0:
        return "0"
    magnitude = abs(value)
    if magnitude >= 100:
        return f"{value:,.0f}"
    if magnitude >= 10:
        return f"{value:.1f}"
    if magnitude >= 0.01:
        return f"{value:.2f}"
    return f"{value:.2g}"


def rows_for(result, targets):
    name = result["name"]
    if result.get("error_occurred"):
        message = result.get("error_message", "failed")
        return [Row(name, t.text(), f"error: {message}", "no") for t in targets] or [
            Row(name, "(no goal)", f"error: {message}", "-")
        ]
    if not targets:
        return [Row(name, "(no goal)", time_text(result), "-")]
    rows = []
    for t in targets:
        value = measured_value(result, t)
        if value is None:
            rows.append(Row(name, t.text(), f"{t.measure} missing", "no"))
            continue
        within = COMPARISONS[t.compare](value, t.value)
        unit = "x" if t.unit == "x" else f" {t.unit}"
        measured = f"{format_number(value)}{unit}" + other_time(result, t)
        rows.append(Row(name, t.text(), measured, "yes" if within else "no"))
    return rows


def other_time(result, target):
    """The time not compared, for the reader: wall and CPU apart show waiting
    on the disk or on other programs."""
    if target.measure not in TIME_MEASURES:
        return ""
    other = "cpu_time" if target.measure == "real_time" else "real_time"
    value = measured_value(result, Target(target.pattern, other, "<", 0, target.unit, ""))
    if value is None:
        return ""
    return f" ({TIME_MEASURES[other]} {format_number(value)})"


def time_text(result):
    unit = result.get("time_unit", "ns")
    return f"{format_number(result.get('real_time', 0))} {unit} wall"


def goal_rows(results, targets, report_missing):
    rows = []
    for result in results:
        rows += rows_for(result, [t for t in targets if t.matches(result["name"])])
    if report_missing:
        for t in targets:
            if not any(t.matches(r["name"]) for r in results):
                rows.append(Row(f"({t.pattern} did not run)", t.text(), "-", "no"))
    return rows


def pxlib_rows(results):
    by_base = {}
    for r in results:
        by_base.setdefault(r["name"].split("/")[0], r)
    rows = []
    for label, base in PXLIB_ROWS:
        r = by_base.get(base)
        if r is None or r.get("error_occurred") or "pxlib_ms" not in r:
            continue
        plain = r.get("plain_ms")
        rows.append([label, f"{format_number(r['ours_ms'])} ms", f"{format_number(r['pxlib_ms'])} ms",
                     f"{format_number(r['pxlib_ms'] / r['ours_ms'])}x",
                     f"{format_number(plain)} ms" if plain else "-",
                     f"{format_number(r['ours_ms'] / plain)}x" if plain else "-"])
    return rows


def table(header, rows):
    widths = [max(len(str(c)) for c in column) for column in zip(header, *rows)]
    line = lambda cells: "| " + " | ".join(str(c).ljust(w) for c, w in zip(cells, widths)) + " |"
    rule = "|" + "|".join("-" * (w + 2) for w in widths) + "|"
    return "\n".join([line(header), rule] + [line(r) for r in rows])


def report(results, targets, report_missing=True):
    rows = goal_rows(results, targets, report_missing)
    text = table(["benchmark", "target", "measured", "within target"],
                 [[r.benchmark, r.target, r.measured, r.within] for r in rows])
    comparison = pxlib_rows(results)
    if comparison:
        text += ("\n\nAgainst pxlib, same run, each side from a fresh process (wall time;"
                 " ratio = pxlib / ours; plain = the same bytes written once and flushed with"
                 " fdatasync, or read once; ours / plain = what the table costs over that floor):\n\n")
        text += table(["operation", "ours", "pxlib", "ratio", "plain", "ours / plain"], comparison)
    judged = [r for r in rows if r.within != "-"]
    met = sum(r.within == "yes" for r in judged)
    text += f"\n\n{met} of {len(judged)} goals within target" if rows else "\n\nno benchmarks ran"
    return text


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("result", help="JSON written by brimlo_bench --benchmark_out")
    parser.add_argument("--targets", default=Path(__file__).with_name("targets.tsv"))
    parser.add_argument("--filtered", action="store_true",
                        help="only some benchmarks ran: do not list goals left unmeasured")
    args = parser.parse_args(argv[1:])
    print(report(load_results(args.result), load_targets(args.targets), not args.filtered))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
