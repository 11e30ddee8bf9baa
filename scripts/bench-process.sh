#!/usr/bin/env bash
# Whole-process measurements of QuenPath, written as JSON:
#   - startup: a one-frame run of the scripted runner (quenpath-script), from
#     exec to exit, so the time to the first rendered frame plus shut-down;
#   - peak resident memory of a scripted full-load run: 200 houses placed
#     with the left button, then F held for 300 evolution steps;
#   - idle CPU: the real program in a real window under Xvfb, no input, next
#     to a bare SDL2 loop (bench_bare_loop) that clears and presents the same
#     window at the same rate with the renderer the program chose; both
#     measured from /proc over the same span, in the same run.
#
#   scripts/bench-process.sh BUILD_DIR OUT.json
#
# QP_BENCH_STARTUP_RUNS (default 5) and QP_BENCH_IDLE_ROUNDS (default 2)
# set the repetitions; the JSON keeps every run and the median.
set -euo pipefail

BUILD=${1:?usage: bench-process.sh BUILD_DIR OUT.json}
OUT=${2:?usage: bench-process.sh BUILD_DIR OUT.json}
STARTUP_RUNS=${QP_BENCH_STARTUP_RUNS:-5}
IDLE_ROUNDS=${QP_BENCH_IDLE_ROUNDS:-2}
IDLE_SECONDS=10
# The logo waits 4 s and then fades over 255 frames (about 9 s in all):
# the program is idle once that animation is over.
SETTLE_SECONDS=14

SCRIPT_RUNNER=$BUILD/quenpath-script
PROGRAM=$BUILD/quenpath
BARE_LOOP=$BUILD/bench/bench_bare_loop
for exe in "$SCRIPT_RUNNER" "$PROGRAM" "$BARE_LOOP"; do
  [ -x "$exe" ] || { echo "bench-process: $exe is not built" >&2; exit 2; }
done
for tool in python3 Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "bench-process: $tool is missing" >&2; exit 2; }
done

WORK=$(mktemp -d)
XVFB_PID=""
CHILD_PID=""
cleanup() {
  [ -n "$CHILD_PID" ] && kill "$CHILD_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

# Runs a command; prints "wall_ms peak_rss_kb exit_code".
measure() {
  python3 - "$@" <<'EOF'
import resource, subprocess, sys, time
start = time.monotonic()
code = subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode
wall = time.monotonic() - start
print(f"{wall * 1000:.1f} {resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss} {code}")
EOF
}

# ---- Startup ---------------------------------------------------------------
printf 'frames 1\n' >"$WORK/one-frame.txt"
startup_runs=()
for _ in $(seq "$STARTUP_RUNS"); do
  read -r wall _ code < <(measure "$SCRIPT_RUNNER" "$WORK/one-frame.txt")
  [ "$code" = 0 ] || { echo "bench-process: the one-frame run failed ($code)" >&2; exit 1; }
  startup_runs+=("$wall")
done

# ---- Peak memory at full load ----------------------------------------------
{
  # Frames of 0.4 s run the 0.35 s hold-off out every frame: one house per
  # frame while the button is held; the first frame accepts nothing.
  echo "delta 0.4"
  echo "move 30 30"
  echo "down left"
  echo "frames 1"
  for row in $(seq 0 9); do
    for col in $(seq 0 19); do
      echo "move $((30 + 46 * col)) $((30 + 92 * row))"
      echo "frames 1"
    done
  done
  echo "up left"
  echo "move 700 600"
  # Frames of 0.12 s: F steps the evolution every frame.
  echo "delta 0.12"
  echo "keydown f"
  echo "frames 300"
  echo "keyup f"
  echo "frames 1"
  echo "dump $WORK/full-load.json"
} >"$WORK/full-load.txt"
read -r _ peak_kb code < <(measure "$SCRIPT_RUNNER" "$WORK/full-load.txt")
[ "$code" = 0 ] || { echo "bench-process: the full-load run failed ($code)" >&2; exit 1; }
read -r houses candidates < <(python3 -c '
import json, sys
d = json.load(open(sys.argv[1]))
print(len(d["houses"]), len(d["candidates"]))' "$WORK/full-load.json")

# ---- Idle CPU under Xvfb ----------------------------------------------------
# Nanoseconds on a CPU, summed over the process's threads (the scheduler's
# own account: finer than the 10 ms ticks of /proc/PID/stat).
cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{sum += $1} END {printf "%.0f\n", sum}'; }
share() { python3 -c "print(($2 - $1) / 1e9 / $IDLE_SECONDS)"; }

# Xvfb picks a free display itself and writes its number to fd 3.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.1; done
[ -s "$WORK/display" ] || { echo "bench-process: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$WORK/display")"

wait_for_window() {  # title
  for _ in $(seq 150); do
    xdotool search --name "$1" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "bench-process: no window named $1 appeared" >&2
  return 1
}

stop_child() {
  kill -TERM "$CHILD_PID" 2>/dev/null || true
  wait "$CHILD_PID" 2>/dev/null || true
  CHILD_PID=""
}

program_start=() program_idle=() bare_idle=()
renderer=""
for _ in $(seq "$IDLE_ROUNDS"); do
  # The program: the first ten seconds (start-up animation included) and
  # ten seconds once it has settled.
  (cd "$BUILD" && exec ./quenpath) 2>"$WORK/program.log" &
  CHILD_PID=$!
  wait_for_window '^QuenPath - Pelmora$'
  sleep 1
  a=$(cpu_ns "$CHILD_PID")
  sleep "$IDLE_SECONDS"
  b=$(cpu_ns "$CHILD_PID")
  sleep $((SETTLE_SECONDS - IDLE_SECONDS - 1))
  c=$(cpu_ns "$CHILD_PID")
  sleep "$IDLE_SECONDS"
  d=$(cpu_ns "$CHILD_PID")
  stop_child
  program_start+=("$(share "$a" "$b")")
  program_idle+=("$(share "$c" "$d")")
  renderer=$(sed -n 's/^Renderer: //p' "$WORK/program.log" | head -n1)

  # The bare loop with the renderer the program chose.
  case "$renderer" in
    software*) choice=software ;;
    *) choice=accelerated ;;
  esac
  "$BARE_LOOP" --renderer "$choice" 2>"$WORK/bare.log" &
  CHILD_PID=$!
  wait_for_window '^QuenPath bare loop$'
  sleep 2
  a=$(cpu_ns "$CHILD_PID")
  sleep "$IDLE_SECONDS"
  b=$(cpu_ns "$CHILD_PID")
  stop_child
  bare_idle+=("$(share "$a" "$b")")
done

python3 - "$OUT" <<EOF
import json, statistics, sys
def runs(text):
    return [float(v) for v in text.split()]
startup = runs("${startup_runs[*]}")
program_idle = runs("${program_idle[*]}")
program_start = runs("${program_start[*]}")
bare_idle = runs("${bare_idle[*]}")
bare = statistics.median(bare_idle)
idle = statistics.median(program_idle)
result = {
    "startup_ms": {"runs": startup, "median": statistics.median(startup), "best": min(startup)},
    "peak_memory_mb": {"value": ${peak_kb} / 1024, "houses": ${houses}, "candidates": ${candidates}},
    "idle_cpu": {
        "renderer": """${renderer}""",
        "bare_loop_renderer": "${choice:-}",
        "seconds": ${IDLE_SECONDS},
        "program_settled_share": program_idle,
        "program_first_seconds_share": program_start,
        "bare_loop_share": bare_idle,
        "program_settled_median": idle,
        "program_first_seconds_median": statistics.median(program_start),
        "bare_loop_median": bare,
        "ratio": idle / bare if bare > 0 else None,
        "first_seconds_ratio": statistics.median(program_start) / bare if bare > 0 else None,
    },
}
with open(sys.argv[1], "w") as f:
    json.dump(result, f, indent=2)
EOF
echo "bench-process: wrote $OUT"
