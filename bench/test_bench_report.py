"""Tests of the benchmark report: unit conversion, the comparisons at their
edges, counters, failed runs, names matched whole, and that the shipped
targets.tsv reads and names benchmarks that exist."""
import json
import re
import tempfile
import unittest
from pathlib import Path

import bench_report as br

HERE = Path(__file__).resolve().parent


def target(pattern, measure="real_time", compare="<=", value=150, unit="ms"):
    return br.Target(pattern, measure, compare, value, unit, "goal")


def run(name, real, unit="ms", cpu=None, **counters):
    return {"name": name, "run_type": "iteration", "real_time": real,
            "cpu_time": real if cpu is None else cpu, "time_unit": unit, **counters}


class MeasuredValueTest(unittest.TestCase):
    def test_times_are_converted_to_the_target_unit(self):
        self.assertAlmostEqual(br.measured_value(run("a", 474.0, "us"), target("a", unit="ms")), 0.474)
        self.assertAlmostEqual(br.measured_value(run("a", 1500.0, "ms"), target("a", unit="s")), 1.5)
        self.assertAlmostEqual(br.measured_value(run("a", 2_000_000.0, "ns"), target("a", unit="ms")), 2.0)

    def test_cpu_time_is_read_when_asked(self):
        result = run("a", 310.0, cpu=240.0)
        self.assertEqual(br.measured_value(result, target("a", measure="cpu_time")), 240.0)
        self.assertEqual(br.measured_value(result, target("a")), 310.0)

    def test_counters_are_taken_as_they_are(self):
        result = run("a", 1.0, "ms", p99_us=66.0)
        self.assertEqual(br.measured_value(result, target("a", measure="p99_us", unit="us")), 66.0)
        self.assertIsNone(br.measured_value(result, target("a", measure="peak_MB", unit="MB")))


class VerdictTest(unittest.TestCase):
    def verdict(self, value, compare, limit):
        rows = br.rows_for(run("a", value), [target("a", compare=compare, value=limit)])
        self.assertEqual(len(rows), 1)
        return rows[0].within

    def test_limits_are_inclusive_only_where_the_goal_says_so(self):
        self.assertEqual(self.verdict(150.0, "<=", 150), "yes")
        self.assertEqual(self.verdict(150.0, "<", 150), "no")
        self.assertEqual(self.verdict(150.1, "<=", 150), "no")
        self.assertEqual(self.verdict(100.0, ">=", 100), "yes")
        self.assertEqual(self.verdict(99.9, ">=", 100), "no")

    def test_the_time_not_compared_is_shown_beside_the_verdict(self):
        rows = br.rows_for(run("a", 3776.0, "us", cpu=288.0),
                           [target("a", "cpu_time", "<=", 1, "ms"), target("a", "real_time", "<=", 1, "ms")])
        self.assertEqual([(r.measured, r.within) for r in rows],
                         [("0.29 ms (wall 3.78)", "yes"), ("3.78 ms (cpu 0.29)", "no")])

    def test_a_speedup_below_its_goal_is_not_within(self):
        result = run("BM_X/iterations:1/manual_time", 870.0, speedup=99.5, ours_ms=870.0, pxlib_ms=86565.0)
        rows = br.rows_for(result, [target("^BM_X.*", "speedup", ">=", 100, "x")])
        self.assertEqual((rows[0].measured, rows[0].within), ("99.5x", "no"))

    def test_a_missing_counter_fails_its_goal(self):
        rows = br.rows_for(run("a", 1.0), [target("a", "peak_MB", "<=", 500, "MB")])
        self.assertEqual(rows[0].within, "no")
        self.assertIn("peak_MB missing", rows[0].measured)

    def test_a_failed_run_misses_every_goal(self):
        result = dict(run("a", 0.0), error_occurred=True, error_message="pxlib did not read")
        rows = br.rows_for(result, [target("a"), target("a", "peak_MB", "<=", 500, "MB")])
        self.assertEqual([r.within for r in rows], ["no", "no"])
        self.assertTrue(all("pxlib did not read" in r.measured for r in rows))

    def test_a_benchmark_without_goal_is_listed_without_verdict(self):
        rows = br.rows_for(run("BM_ReadLoadFile", 3.0), [])
        self.assertEqual((rows[0].target, rows[0].within), ("(no goal)", "-"))


class MatchingTest(unittest.TestCase):
    def test_patterns_match_whole_names(self):
        open_only = target("^BM_ParadoxOpen/50000")
        self.assertTrue(open_only.matches("BM_ParadoxOpen/50000"))
        self.assertFalse(open_only.matches("BM_ParadoxOpenAndReadAll/50000"))
        self.assertFalse(open_only.matches("BM_ParadoxOpen/500000"))

    def test_every_goal_of_a_benchmark_gets_a_row_and_unrun_goals_are_reported(self):
        targets = [target("^BM_Summary.*", unit="s", value=5),
                   target("^BM_Summary.*", "peak_MB", "<=", 500, "MB"),
                   target("^BM_Never$")]
        results = [run("BM_Summary/iterations:2", 4400.0, peak_MB=176.0), run("BM_Other", 1.0)]
        rows = br.goal_rows(results, targets, report_missing=True)
        self.assertEqual([(r.benchmark, r.within) for r in rows],
                         [("BM_Summary/iterations:2", "yes"), ("BM_Summary/iterations:2", "yes"),
                          ("BM_Other", "-"), ("(^BM_Never$ did not run)", "no")])
        self.assertEqual(len(br.goal_rows(results, targets, report_missing=False)), 3)


class ReportTest(unittest.TestCase):
    def test_report_reads_a_result_file_and_compares_with_pxlib(self):
        data = {"context": {}, "benchmarks": [
            run("BM_ParadoxInsert50kAgainstPxlib/iterations:1/manual_time", 800.0,
                ours_ms=800.0, pxlib_ms=160000.0, speedup=200.0, plain_ms=200.0),
            run("BM_ParadoxReadAllAgainstPxlib/iterations:1/manual_time", 250.0,
                ours_ms=250.0, pxlib_ms=125.0, speedup=0.5),
            dict(run("BM_ParadoxOpen/50000", 10.0), run_type="aggregate", aggregate_name="mean"),
        ]}
        with tempfile.TemporaryDirectory() as tmp:
            path = Path(tmp) / "result.json"
            path.write_text(json.dumps(data))
            results = br.load_results(path)
        self.assertEqual(len(results), 2, "aggregates are not runs")
        comparison = br.pxlib_rows(results)
        self.assertEqual(comparison[0], ["insert 50,000 records", "800 ms", "160,000 ms", "200x",
                                         "200 ms", "4.00x"])
        self.assertEqual(comparison[1][3:], ["0.50x", "-", "-"])
        self.assertEqual(len(comparison), 2, "no row for a comparison that did not run")
        text = br.report(results, [target("^BM_ParadoxReadAllAgainstPxlib.*", "speedup", ">=", 1, "x")],
                         report_missing=True)
        self.assertIn("0 of 1 goals within target", text)


class ShippedTargetsTest(unittest.TestCase):
    def test_targets_file_reads(self):
        targets = br.load_targets(HERE / "targets.tsv")
        self.assertGreaterEqual(len(targets), 15)

    def test_a_malformed_line_names_its_place(self):
        with tempfile.TemporaryDirectory() as tmp:
            path = Path(tmp) / "t.tsv"
            path.write_text("^BM_A\treal_time\t=<\t1\tms\tgoal\n")
            with self.assertRaisesRegex(ValueError, r"t.tsv:1: unknown comparison"):
                br.load_targets(path)
            path.write_text("^BM_A\treal_time\t<=\t1\tMB\tgoal\n")
            with self.assertRaisesRegex(ValueError, r"t.tsv:1: 'MB' is not a time unit"):
                br.load_targets(path)

    def test_every_goal_names_a_registered_benchmark(self):
        registered = set()
        for source in HERE.glob("*.cpp"):
            registered |= set(re.findall(r"\bBENCHMARK(?:_CAPTURE)?\((BM_\w+)", source.read_text()))
        for t in br.load_targets(HERE / "targets.tsv"):
            base = re.match(r"\^?(BM_\w+)", t.pattern).group(1)
            names = {n for n in registered if re.fullmatch(base + r"\w*", n)}
            if base.startswith("BM_DataEntry") and not (HERE / "DataEntryBench.cpp").exists():
                continue  # the load window benchmarks come with their own file
            self.assertTrue(names, f"{t.pattern} names no benchmark in bench/*.cpp")


if __name__ == "__main__":
    unittest.main()
