#!/usr/bin/env python3
"""Gathers QuenPath's benchmark results, checks them against the budgets of
bench/README.md and writes one JSON record.

    scripts/bench-check.py RESULTS_DIR OUT.json [--build-type TYPE]
    scripts/bench-check.py --runs-only RESULT.json...

RESULTS_DIR holds the Google Benchmark JSON files (core.json, render.json,
scene.json; run with repetitions) and process.json from
scripts/bench-process.sh. Each benchmark figure is the median over the
repetitions. Prints a short table and the budgets that failed; exits 1 when
one failed or a benchmark reported an error, 2 when a result is missing.

With --runs-only it checks Google Benchmark files alone, for the smoke test:
no benchmark reported an error and the load counters it finds are right;
no timing is judged.
"""

import argparse
import json
import os
import subprocess
import sys
import time

# (label, source, benchmark run name, field, unit, budget or None)
# field "real_time" is the benchmark's own time in its unit; other fields are
# counters (in milliseconds when they end in _ms).
FIGURES = [
    ("frame at full load, mean", "core", "BM_FrameFullLoad",
     "mean_ms", "ms", 1.0),
    ("frame at full load, p99", "core", "BM_FrameFullLoad",
     "p99_ms", "ms", 2.0),
    ("frame at full load, max", "core", "BM_FrameFullLoad",
     "max_ms", "ms", None),
    ("evolve frames, mean", "core", "BM_FrameFullLoad",
     "evolve_mean_ms", "ms", None),
    ("Evolve, 50 houses", "core", "BM_Evolve/50", "mean_ms", "ms", None),
    ("Evolve, 100 houses", "core", "BM_Evolve/100", "mean_ms", "ms", None),
    ("Evolve, 200 houses", "core", "BM_Evolve/200", "mean_ms", "ms", 0.2),
    ("DrawTours, 200 x 45", "core", "BM_DrawTours", "real_time", "us", None),
    ("add the 200th house", "core", "BM_AddHouse", "mean_ms", "ms", None),
    ("CrossoverFill, set", "core", "BM_CrossoverFill", "set_median_us", "us", None),
    ("CrossoverFill, nested", "core", "BM_CrossoverFill", "nested_median_us", "us",
     None),
    ("CrossoverFill speed-up", "core", "BM_CrossoverFill", "speedup", "x", None),
    ("software render, full load", "render", "BM_RenderFullLoadSoftware/skip_unchanged:0",
     "mean_ms", "ms", 15.0),
    ("software render, p99", "render", "BM_RenderFullLoadSoftware/skip_unchanged:0",
     "p99_ms", "ms", None),
    ("as shipped (repeats skipped)", "render", "BM_RenderFullLoadSoftware/skip_unchanged:1",
     "mean_ms", "ms", None),
    ("as shipped, frames that draw", "render", "BM_RenderFullLoadSoftware/skip_unchanged:1",
     "drawn_mean_ms", "ms", None),
]

# Counters that say the benchmark measured the load it claims.
LOAD_CHECKS = [
    ("core", "BM_FrameFullLoad", "houses", 200, 200),
    ("core", "BM_FrameFullLoad", "candidates_min", 45, 45),
    ("core", "BM_FrameFullLoad", "lines_per_frame", 9000, 9100),
    ("core", "BM_Evolve/200", "candidates_min", 45, 45),
    ("core", "BM_DrawTours", "lines_per_call", 9000, 9000),
    ("render", "BM_RenderFullLoadSoftware/skip_unchanged:0", "drawn_share", 1, 1),
]


def load(path):
    try:
        with open(path) as f:
            return json.load(f)
    except (OSError, ValueError) as e:
        print(f"bench-check: cannot read {path}: {e}", file=sys.stderr)
        sys.exit(2)


def short_name(run):
    """BM_Evolve/200/manual_time -> BM_Evolve/200; iteration counts go too."""
    parts = [p for p in run.split("/")
             if p != "manual_time" and not p.startswith(("iterations:", "repeats:"))]
    return "/".join(parts)


def medians(report):
    """short run name -> the median aggregate's entry (or the single run's)."""
    out, errors = {}, []
    for b in report.get("benchmarks", []):
        if b.get("error_occurred"):
            errors.append(f"{b['name']}: {b.get('error_message', 'error')}")
            continue
        run = short_name(b.get("run_name", b["name"]))
        if b.get("run_type") == "aggregate":
            if b.get("aggregate_name") == "median":
                out[run] = b
        elif run not in out or out[run].get("run_type") != "aggregate":
            out.setdefault(run, b)
    return out, errors


def cpu_twin(entry, field):
    """The CPU-clock counter beside a steady-clock one, if there is one."""
    for stat in ("mean_ms", "p99_ms", "max_ms"):
        if field.endswith(stat) and "cpu_" not in field:
            return entry.get(field[:-len(stat)] + "cpu_" + stat)
    if field == "real_time":
        return entry.get("cpu_time")
    return None


def fmt(value, unit):
    if value is None:
        return "-"
    if unit == "x":
        return f"{value:.0f} x" if value >= 10 else f"{value:.2f} x"
    if unit == "%":
        return f"{value * 100:.2f} %"
    return f"{value:.3g} {unit}"


def git_commit():
    try:
        return subprocess.run(["git", "rev-parse", "--short", "HEAD"], capture_output=True,
                              text=True, check=True).stdout.strip()
    except (OSError, subprocess.CalledProcessError):
        return None


def check_load(sources, errors, required=True):
    for source, run, field, low, high in LOAD_CHECKS:
        entry = sources.get(source, {}).get(run)
        if entry is None and not required:
            continue
        value = entry.get(field) if entry else None
        if value is None or not low <= value <= high:
            errors.append(f"{run}: {field} = {value}, expected {low}..{high}")


def runs_only(paths):
    errors, seen = [], 0
    for path in paths:
        entries, errs = medians(load(path))
        errors += errs
        seen += len(entries)
        # Each file is matched against every source's checks: the names differ.
        check_load({source: entries for source in ("core", "render")}, errors, required=False)
    for e in errors:
        print(f"ERROR: {e}")
    if not seen and not errors:
        print("ERROR: no benchmark ran")
        return 1
    print(f"{seen} benchmarks ran, {len(errors)} failed")
    return 1 if errors else 0


def main():
    if len(sys.argv) > 1 and sys.argv[1] == "--runs-only":
        return runs_only(sys.argv[2:])
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("results")
    parser.add_argument("out")
    parser.add_argument("--build-type", default=None)
    args = parser.parse_args()

    sources, errors, raw = {}, [], {}
    for name in ("core", "render", "scene"):
        path = os.path.join(args.results, name + ".json")
        if not os.path.exists(path):
            if name == "scene":
                continue
            print(f"bench-check: {path} is missing", file=sys.stderr)
            return 2
        raw[name] = load(path)
        sources[name], errs = medians(raw[name])
        errors += errs
    process = load(os.path.join(args.results, "process.json"))

    rows, failed, record = [], [], []

    def add(label, value, unit, budget, cpu=None):
        ok = None if budget is None or value is None else value <= budget
        if budget is not None and value is None:
            ok = False
        rows.append((label, fmt(value, unit), fmt(cpu, unit),
                     "-" if budget is None else "<= " + fmt(budget, unit),
                     {None: "", True: "ok", False: "FAILED"}[ok]))
        record.append({"figure": label, "value": value, "unit": unit, "cpu_clock": cpu,
                       "budget": budget, "met": ok})
        if ok is False:
            why = f"{label}: {fmt(value, unit)} is over the budget of {fmt(budget, unit)}"
            if value is None:
                why = f"{label}: no result to hold to the budget of {fmt(budget, unit)}"
            elif cpu is not None and cpu <= budget:
                why += (f" (on the CPU clock {fmt(cpu, unit)}: the rest is time spent waiting for"
                        " a core; run again on a quieter machine)")
            failed.append(why)

    for label, source, run, field, unit, budget in FIGURES:
        entry = sources.get(source, {}).get(run)
        value = entry.get(field) if entry else None
        cpu = cpu_twin(entry, field) if entry else None
        if entry and field == "real_time" and entry.get("time_unit") != unit:
            value = cpu = None  # a unit we did not plan for: report it missing
        add(label, value, unit, budget, cpu)

    check_load(sources, errors)

    startup = process["startup_ms"]
    add("startup to first frame (whole run)", startup["median"], "ms", 300.0)
    memory = process["peak_memory_mb"]
    add("peak memory at full load", memory["value"], "MB", 80.0)
    if memory.get("houses") != 200 or memory.get("candidates") != 45:
        errors.append(f"the full-load run reached {memory.get('houses')} houses and "
                      f"{memory.get('candidates')} candidates, not 200 and 45")
    idle = process["idle_cpu"]
    add("idle CPU, program (settled)", idle["program_settled_median"], "%", None)
    add("idle CPU, bare SDL2 loop", idle["bare_loop_median"], "%", None)
    add("idle CPU ratio to the bare loop", idle["ratio"], "x", 1.3)
    add("first 10 s (logo fade) ratio", idle["first_seconds_ratio"], "x", None)

    if args.build_type and args.build_type != "Release":
        errors.append(f"the budgets hold for a Release build, this one is {args.build_type}")

    widths = [max(len(r[i]) for r in rows + [("figure", "measured", "CPU clock", "budget", "")])
              for i in range(5)]
    header = ("figure", "measured", "CPU clock", "budget", "")
    for r in [header] + rows:
        print("  ".join(c.ljust(w) if i == 0 else c.rjust(w) for i, (c, w) in
                        enumerate(zip(r, widths))).rstrip())
    load_avg = os.getloadavg()
    print(f"(medians; load average {load_avg[0]:.1f} on {os.cpu_count()} cores while checking)")

    out = {
        "date": time.strftime("%Y-%m-%dT%H:%M:%S%z"),
        "commit": git_commit(),
        "build_type": args.build_type,
        "load_average": load_avg,
        "figures": record,
        "errors": errors,
        "failed": failed,
        "process": process,
        "benchmarks": raw,
    }
    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    with open(args.out, "w") as f:
        json.dump(out, f, indent=2)
    print(f"wrote {args.out}")

    for e in errors:
        print(f"ERROR: {e}")
    for f in failed:
        print(f"BUDGET FAILED: {f}")
    return 1 if errors or failed else 0


if __name__ == "__main__":
    sys.exit(main())
