#!/usr/bin/env python3
"""The budget checker must pass good results and fail on every kind of bad
one: a budget missed, a benchmark error, a wrong load, a missing file.

    bench_check_test.py PATH/TO/bench-check.py
"""

import copy
import json
import os
import subprocess
import sys
import tempfile
import unittest

CHECKER = None


def bench(name, **counters):
    entry = {"name": name + "_median", "run_name": name, "run_type": "aggregate",
             "aggregate_name": "median", "real_time": 1.0, "cpu_time": 1.0, "time_unit": "us"}
    entry.update(counters)
    return entry


def good_results():
    frame = "BM_FrameFullLoad/iterations:3000/manual_time"
    core = [
        bench(frame, mean_ms=0.3, p99_ms=0.9, max_ms=1.5, cpu_mean_ms=0.3, cpu_p99_ms=0.9,
              evolve_mean_ms=0.5, houses=200, candidates_min=45, lines_per_frame=9003),
        bench("BM_Evolve/50/manual_time", mean_ms=0.05),
        bench("BM_Evolve/100/manual_time", mean_ms=0.08),
        bench("BM_Evolve/200/manual_time", mean_ms=0.15, cpu_mean_ms=0.14, candidates_min=45),
        bench("BM_DrawTours", lines_per_call=9000),
        bench("BM_AddHouse/manual_time", mean_ms=0.6),
        bench("BM_CrossoverFill/iterations:2000/manual_time", set_median_us=1,
              nested_median_us=700, speedup=700),
    ]
    render = [
        bench("BM_RenderFullLoadSoftware/skip_unchanged:0/iterations:300/manual_time",
              mean_ms=9, p99_ms=11, drawn_share=1),
        bench("BM_RenderFullLoadSoftware/skip_unchanged:1/iterations:300/manual_time",
              mean_ms=3, drawn_mean_ms=9, drawn_share=0.33),
    ]
    process = {
        "startup_ms": {"runs": [110, 120, 130], "median": 120, "best": 110},
        "peak_memory_mb": {"value": 30, "houses": 200, "candidates": 45},
        "idle_cpu": {"program_settled_median": 0.007, "bare_loop_median": 0.017, "ratio": 0.41,
                     "first_seconds_ratio": 2.1},
    }
    return {"core": {"benchmarks": core}, "render": {"benchmarks": render}, "process": process}


def find(results, source, prefix):
    return next(b for b in results[source]["benchmarks"] if b["run_name"].startswith(prefix))


class BenchCheckTest(unittest.TestCase):
    def run_checker(self, results):
        with tempfile.TemporaryDirectory() as work:
            for name, content in results.items():
                with open(os.path.join(work, name + ".json"), "w") as f:
                    json.dump(content, f)
            out = os.path.join(work, "out", "latest.json")
            done = subprocess.run([sys.executable, CHECKER, work, out, "--build-type", "Release"],
                                  capture_output=True, text=True)
            record = None
            if os.path.exists(out):
                with open(out) as f:
                    record = json.load(f)
            return done.returncode, done.stdout + done.stderr, record

    def test_good_results_pass_and_are_recorded(self):
        code, output, record = self.run_checker(good_results())
        self.assertEqual(code, 0, output)
        budgeted = [f for f in record["figures"] if f["budget"] is not None]
        self.assertEqual(len(budgeted), 7, output)
        self.assertTrue(all(f["met"] for f in budgeted), output)

    def test_each_kind_of_bad_result_fails(self):
        def over_evolve(r):
            find(r, "core", "BM_Evolve/200")["mean_ms"] = 0.25

        def over_p99(r):
            find(r, "core", "BM_FrameFullLoad")["p99_ms"] = 2.5

        def over_render(r):
            find(r, "render", "BM_RenderFullLoadSoftware/skip_unchanged:0")["mean_ms"] = 16

        def over_idle(r):
            r["process"]["idle_cpu"]["ratio"] = 1.4

        def over_startup(r):
            r["process"]["startup_ms"]["median"] = 301

        def over_memory(r):
            r["process"]["peak_memory_mb"]["value"] = 81

        def errored(r):
            find(r, "core", "BM_DrawTours").update(error_occurred=True, error_message="broken")

        def wrong_load(r):
            find(r, "core", "BM_FrameFullLoad")["houses"] = 150

        def missing_figure(r):
            r["core"]["benchmarks"].remove(find(r, "core", "BM_Evolve/200"))

        def short_memory_run(r):
            r["process"]["peak_memory_mb"]["candidates"] = 15

        cases = [(over_evolve, "Evolve, 200 houses"), (over_p99, "p99"),
                 (over_render, "software render"), (over_idle, "idle CPU ratio"),
                 (over_startup, "startup"), (over_memory, "peak memory"),
                 (errored, "broken"), (wrong_load, "houses = 150"),
                 (missing_figure, "Evolve, 200 houses"), (short_memory_run, "15 candidates")]
        for spoil, named in cases:
            with self.subTest(spoil.__name__):
                results = copy.deepcopy(good_results())
                spoil(results)
                code, output, _ = self.run_checker(results)
                self.assertEqual(code, 1, output)
                self.assertIn(named, output)

    def test_a_missing_file_is_not_a_pass(self):
        results = good_results()
        del results["process"]
        code, output, _ = self.run_checker(results)
        self.assertNotEqual(code, 0, output)

    def test_runs_only_mode_fails_on_errors_and_empty_files(self):
        with tempfile.TemporaryDirectory() as work:
            def check(content):
                path = os.path.join(work, "r.json")
                with open(path, "w") as f:
                    json.dump(content, f)
                return subprocess.run([sys.executable, CHECKER, "--runs-only", path],
                                      capture_output=True, text=True).returncode

            self.assertEqual(check(good_results()["core"]), 0)
            spoiled = copy.deepcopy(good_results()["core"])
            spoiled["benchmarks"][0]["candidates_min"] = 15
            self.assertEqual(check(spoiled), 1)
            self.assertEqual(check({"benchmarks": []}), 1)


if __name__ == "__main__":
    CHECKER = sys.argv.pop(1)
    unittest.main()
