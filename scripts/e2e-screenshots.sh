#!/usr/bin/env bash
# Writes docs/start.png (the program right after start) and
# docs/evolving.png (twenty-four houses, two seconds of F) with the scripted
# runner, so the pictures in the docs always show the current program.
#
#   scripts/e2e-screenshots.sh [build-dir]     (default: build)
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-build}
RUNNER="$BUILD/quenpath-script"
if [ ! -x "$RUNNER" ]; then
  echo "e2e-screenshots: $RUNNER is missing; build first (cmake --build $BUILD)" >&2
  exit 1
fi
mkdir -p "$ROOT/docs"

# Houses on two rings around the map's centre, a little irregular so the
# tours cross.
HOUSES=""
for spot in 480,110 690,170 830,330 850,560 730,760 500,850 270,790 120,600 110,360 250,170 \
  480,260 600,300 650,420 600,560 470,620 350,560 300,420 360,300 \
  480,440 560,480 160,480 800,450 590,700 380,700; do
  HOUSES+="move ${spot%,*} ${spot#*,}
down left
frames 2
up left
frames 18
"
done

"$RUNNER" - <<EOF
seed 11
# The logo and the credits at full strength.
frames 50
shot $ROOT/docs/start.png
$HOUSES
keydown f
frames 100
keyup f
# The pointer rests in the empty part of the side panel.
move 1080 780
frames 3
shot $ROOT/docs/evolving.png
EOF
echo "e2e-screenshots: wrote docs/start.png and docs/evolving.png"
