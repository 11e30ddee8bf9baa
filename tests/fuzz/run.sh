#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a while, each on the seed
# corpus kept in the sources plus what earlier runs found (kept in the build
# directory, so the sources never change). Prints each target's last
# coverage and speed; fails when a target finds a crash, a leak or a hang.
#
#   tests/fuzz/run.sh BUILD_DIR SECONDS [TARGET...]
set -uo pipefail
build=${1:?usage: run.sh BUILD_DIR SECONDS [TARGET...]}
seconds=${2:?usage: run.sh BUILD_DIR SECONDS [TARGET...]}
shift 2
here=$(cd "$(dirname "$0")" && pwd)
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=()
  for t in font link pack tsplib script; do
    [ -x "$build/fuzz/qp_fuzz_$t" ] && targets+=("$t")
  done
fi

failed=0
for t in "${targets[@]}"; do
  bin=$build/fuzz/qp_fuzz_$t
  work=$build/fuzz/work/$t
  artifacts=$build/fuzz/artifacts/$t
  log=$build/fuzz/$t.log
  if [ ! -x "$bin" ]; then
    printf 'fuzz %-7s FAILED: %s is not built\n' "$t" "$bin"
    failed=1
    continue
  fi
  mkdir -p "$work" "$artifacts"
  # Some targets keep no seeds in the sources (the pack seeds are written at
  # build time), so only folders that exist are passed.
  corpora=("$work")
  [ -d "$here/corpus/$t" ] && corpora+=("$here/corpus/$t")
  [ -d "$build/fuzz/seeds/$t" ] && corpora+=("$build/fuzz/seeds/$t")
  # libzip's own leak on damaged members is suppressed (pack.lsan.supp).
  env=()
  if [ "$t" = pack ]; then
    env=(LSAN_OPTIONS=suppressions=$here/pack.lsan.supp)
  fi
  tmp=$(mktemp -d)
  # One process, one job: the machine's two cores are shared.
  env "${env[@]}" TMPDIR="$tmp" "$bin" "${corpora[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=4096 -print_final_stats=1 -artifact_prefix="$artifacts/" >"$log" 2>&1
  rc=$?
  rm -rf "$tmp"
  stats=$(grep -E '^#[0-9]+' "$log" | tail -1)
  execs=$(grep -E 'stat::number_of_executed_units' "$log" | awk '{print $2}')
  speed=$(grep -E 'stat::average_exec_per_sec' "$log" | awk '{print $2}')
  cov=$(echo "$stats" | grep -oE 'cov: [0-9]+' | awk '{print $2}')
  ft=$(echo "$stats" | grep -oE 'ft: [0-9]+' | awk '{print $2}')
  if [ $rc -eq 0 ]; then
    printf 'fuzz %-7s ok   %8s runs %7s exec/s  cov %5s  ft %5s\n' "$t" "${execs:-?}" \
      "${speed:-?}" "${cov:-?}" "${ft:-?}"
  else
    failed=1
    printf 'fuzz %-7s FAILED (exit %d); log %s, inputs in %s\n' "$t" "$rc" "$log" "$artifacts"
    grep -E 'ERROR|fuzz:|SUMMARY|Test unit written' "$log" | head -8
  fi
done
exit $failed
