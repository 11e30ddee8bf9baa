#!/usr/bin/env bash
# The program in a real X window: Xvfb, real input events from xdotool and
# screenshots from ImageMagick. Places houses, holds F, hovers "Help &
# Credits" and clicks Ouit, checking the screen after each step. Every wait
# polls for a condition with a deadline; nothing relies on a fixed sleep.
#
#   scripts/e2e-window.sh path/to/quenpath
set -u

PROGRAM=${1:-build/quenpath}
WORK=$(mktemp -d "${TMPDIR:-/tmp}/quenpath-window.XXXXXX")
XVFB_PID=""
APP_PID=""
FAILED=0

say() { echo "e2e-window [$SECONDS s]: $*"; }
fail() {
  say "FAIL: $*"
  FAILED=1
  exit 1
}

cleanup() {
  if [ -n "$APP_PID" ] && kill -0 "$APP_PID" 2>/dev/null; then
    kill "$APP_PID" 2>/dev/null
    wait "$APP_PID" 2>/dev/null
  fi
  if [ -n "$XVFB_PID" ] && kill -0 "$XVFB_PID" 2>/dev/null; then
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
  fi
  if [ "$FAILED" = 0 ] && [ -z "${E2E_KEEP:-}" ]; then rm -rf "$WORK"; else say "screenshots kept in $WORK"; fi
}
trap cleanup EXIT

for tool in Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done
[ -x "$PROGRAM" ] || fail "no program at $PROGRAM"

# Polls "$@" every 0.1 s until it succeeds or $TIMEOUT seconds have passed.
wait_for() {
  local what=$1
  shift
  local deadline=$((SECONDS + TIMEOUT))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || fail "timed out waiting for $what"
    sleep 0.1
  done
}

# ---- X server ----------------------------------------------------------------
# Xvfb picks a free display itself and writes its number once it is ready.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
display_ready() { grep -q '^[0-9][0-9]*$' "$WORK/display" 2>/dev/null; }
TIMEOUT=15 wait_for "the X server" display_ready
export DISPLAY=":$(cat "$WORK/display")"
TIMEOUT=15 wait_for "the X server on $DISPLAY" xdpyinfo -display "$DISPLAY" >/dev/null 2>&1
say "X server on $DISPLAY"

# ---- The program ---------------------------------------------------------------
(cd "$(dirname "$PROGRAM")" && SDL_VIDEODRIVER=x11 exec "./$(basename "$PROGRAM")") \
  >"$WORK/program.log" 2>&1 &
APP_PID=$!

window_up() {
  WID=$(xdotool search --onlyvisible --name QuenPath 2>/dev/null | head -n 1)
  [ -n "$WID" ]
}
TIMEOUT=20 wait_for "the QuenPath window" window_up
eval "$(xdotool getwindowgeometry --shell "$WID")"
WX=$X
WY=$Y
say "window $WID at $WX,$WY size ${WIDTH}x$HEIGHT"
[ "$WIDTH" = 1200 ] && [ "$HEIGHT" = 960 ] || fail "the window is ${WIDTH}x$HEIGHT, not 1200x960"
xdotool windowfocus --sync "$WID" 2>/dev/null || xdotool windowfocus "$WID"

SHOT="$WORK/screen.png"
# Grabs the rectangle W x H at (X0, Y0) of the window into $SHOT.
grab() { # x0 y0 w h
  import -window root -crop "$3x$4+$((WX + $1))+$((WY + $2))" +repage "$SHOT" 2>/dev/null
}
# Grabs a rectangle and counts its pixels of a kind:
#   lit     not black
#   yellow  tour lines (yellow of any strength: red = green, no blue)
#   cyan    the shortest candidate's label (no red, green = blue)
#   grey    the light grey of the help text
#   white   a SYSTEM button under the pointer
count() { # x0 y0 w h kind
  grab "$1" "$2" "$3" "$4" || return 1
  convert "$SHOT" -alpha off -depth 8 -format %c histogram:info:- |
    awk -F'[(),:]' -v kind="$5" '{
      n = $1 + 0; r = $3 + 0; g = $4 + 0; b = $5 + 0; ok = 0
      if (kind == "lit") ok = (r + g + b > 30)
      if (kind == "yellow") ok = (b == 0 && r == g && r > 0)
      if (kind == "cyan") ok = (r == 0 && g == b && g > 60)
      if (kind == "grey") ok = (r > 150 && r == g && g == b)
      if (kind == "white") ok = (r > 240 && g > 240 && b > 240)
      if (ok) s += n
    } END { print s + 0 }'
}
# True once count(...) is above a threshold; the count is left in LAST.
above() { # x0 y0 w h kind threshold
  LAST=$(count "$1" "$2" "$3" "$4" "$5") || return 1
  [ "${LAST:-0}" -gt "$6" ]
}
move() { xdotool mousemove --sync $((WX + $1)) $((WY + $2)); }
now_ms() { date +%s%3N; }

# The first frames: the separator line and the SYSTEM panel are drawn.
TIMEOUT=15 wait_for "the first frame" above 1000 820 200 130 lit 200
say "first frame drawn"

# ---- Houses ------------------------------------------------------------------------
# The left button is read as held: press, wait until the house is on the
# screen, release.
# Away from the logo and the credits, which fade out meanwhile.
HOUSES="150,150 700,180 820,600 300,880 200,520 850,300"
for spot in $HOUSES; do
  hx=${spot%,*}
  hy=${spot#*,}
  move "$hx" "$hy"
  xdotool mousedown 1
  TIMEOUT=10 wait_for "a house at $hx,$hy" above $((hx - 12)) $((hy - 14)) 24 24 lit 150
  xdotool mouseup 1
done
say "six houses placed"
# Tours are drawn over the map: faint yellow lines between the houses.
move 940 100
TIMEOUT=10 wait_for "tour lines" above 0 0 960 940 yellow 500
say "tours drawn ($LAST line pixels)"

# ---- F -----------------------------------------------------------------------------
# Label rows past the fifteenth appear once the population has grown.
ROWS_BEFORE=$(count 965 250 235 300 lit)
[ "$ROWS_BEFORE" -lt 100 ] || fail "label rows past the fifteenth before F ($ROWS_BEFORE pixels)"
xdotool keydown f
TIMEOUT=15 wait_for "label rows past the fifteenth" above 965 250 235 300 lit 1000
xdotool keyup f
say "population grown (label pixels below row 15: $ROWS_BEFORE -> $LAST)"
TIMEOUT=5 wait_for "a cyan label" above 965 0 235 740 cyan 50

# ---- Help & Credits ---------------------------------------------------------------
HELP_BEFORE=$(count 330 530 300 180 grey)
move 480 950
TIMEOUT=5 wait_for "the help text" above 330 530 300 180 grey $((HELP_BEFORE + 400))
say "help shown ($HELP_BEFORE -> $LAST light grey pixels)"
grab 0 0 1200 960 && cp "$SHOT" "$WORK/help.png"

# ---- Ouit --------------------------------------------------------------------------
# The button lights up under the pointer before it is clicked.
move 1080 940
TIMEOUT=5 wait_for "Ouit under the pointer" above 1066 932 28 16 white 10
xdotool click 1
deadline=$(($(now_ms) + 2000))
while kill -0 "$APP_PID" 2>/dev/null; do
  [ "$(now_ms)" -lt "$deadline" ] || fail "the program did not exit within 2 s of Ouit"
  sleep 0.05
done
wait "$APP_PID"
CODE=$?
APP_PID=""
[ "$CODE" = 0 ] || fail "the program exited with $CODE"
say "Ouit: exit code 0"
say "PASS"
