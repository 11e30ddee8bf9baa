#!/usr/bin/env bash
# Memory check of the real program: a short scripted session (houses placed
# and deleted, F held, Reset, a label hovered, Clear, Ouit) run by the
# scripted runner under valgrind memcheck, headless on the offscreen driver.
# Fails on any memcheck error and on any definite leak; what SDL and the
# X libraries keep for the whole process is suppressed (scripts/valgrind.supp).
#
#   scripts/test-valgrind.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}
runner=$build/quenpath-script
if [ ! -x "$runner" ]; then
  echo "test-valgrind: $runner is not built" >&2
  exit 1
fi
if ! command -v valgrind >/dev/null; then
  echo "test-valgrind: valgrind is not installed" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Four houses, F held for about ten generations, a house deleted, Reset and
# Find path clicked, a label hovered, Clear, Ouit. The dump after F lets the
# check below see that the session really did that work.
cat >"$work/session.txt" <<SCRIPT
seed 7
delta 0.02
frames 5
move 200 200
down left
frames 20
move 420 260
frames 20
move 300 520
frames 20
move 640 400
frames 20
up left
keydown f
frames 60
keyup f
dump $work/mid.json
move 420 260
down right
frames 12
up right
move 1080 885
frames 3
click left
frames 25
move 1080 904
frames 3
click left
frames 25
move 1010 10
frames 10
move 1080 866
frames 3
click left
frames 25
move 1080 940
frames 3
click left
frames 5
SCRIPT

log=$work/memcheck.log
status=0
SDL_VIDEODRIVER=offscreen DISPLAY= WAYLAND_DISPLAY= \
  valgrind --tool=memcheck --error-exitcode=99 --leak-check=full \
  --show-leak-kinds=definite --errors-for-leak-kinds=definite \
  --suppressions="$here/valgrind.supp" --num-callers=40 --log-file="$log" \
  "$runner" "$work/session.txt" || status=$?

errors=$(grep -E "ERROR SUMMARY" "$log" | tail -1 || true)
definite=$(grep -E "definitely lost:" "$log" | tail -1 || true)
echo "valgrind: ${errors#==*== }"
echo "valgrind: ${definite#==*== }"
if [ "$status" -ne 0 ] || [ ! -f "$work/mid.json" ]; then
  echo "test-valgrind: FAILED (exit $status); the memcheck log follows" >&2
  cat "$log" >&2
  exit 1
fi

# The session must have placed its houses and evolved them (the dump is
# indented JSON: houses one object each, candidates with their generation).
houses=$(awk '/^  "houses": \[/ {on = 1; next} on && /^  \]/ {on = 0} on && /"id":/ {n++}
              END {print n + 0}' "$work/mid.json")
generation=$(grep -oE '"generation": [0-9]+' "$work/mid.json" | awk '{print $2}' | sort -n |
             tail -1)
echo "valgrind: the session placed $houses houses and evolved to generation ${generation:-0}"
if [ "$houses" -lt 4 ] || [ "${generation:-0}" -le 1 ]; then
  echo "test-valgrind: FAILED: the session did not place and evolve its houses" >&2
  exit 1
fi
echo "test-valgrind: 1 passed, 0 failed"
