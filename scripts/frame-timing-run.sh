#!/bin/sh
# frame-timing-run.sh - plays the real game in a real X window and checks its frame times.
#
# Each run starts its own Xvfb, launches the game with --frame-log in a scratch home (so no
# player's files are touched) and plays it with scripts/frame_timing_drive.py: that follows the
# frame log's screens, clicks to start a game with xdotool, hops the ship between the ends of
# its zone clicking to fire until wave 1 ends (starting another game when shot down first), then
# sweeps it along the bottom until it is hit, waits for the title and quits with Escape. It
# starts few processes on purpose: each one costs the game frames on a small machine.
# scripts/frame_log_report.py then reports, per run and
# over all runs: the start-up breakdown, the screens passed through, the longest frame interval
# after the first splash frame and the 99th percentile of |interval - 16.67 ms|. The status is 1
# when a run has a frame over 25 ms, a p99 of 1 ms or more, or missed a screen.
#
# With -r each game run is followed, on the same X server and for as long as the game ran, by
# bench/reference/paced_window: a window that only clears and flips, paced the same way. Its
# figures, reported apart, are what the machine allows with no work at all; a game run that misses
# a target the reference misses too was let down by the machine.
#
#   scripts/frame-timing-run.sh [-n RUNS] [-s WIDTHxHEIGHT] [-b BUILD_DIR] [-o OUT_DIR] [-r]
#                               [-- OPTIONS]
#
# Options after "--" go to the game (for example --window). Needs Xvfb, xdotool and python3
# (scripts/install-deps.sh measure). The machine should be otherwise idle: other work steals
# the rasteriser's time and shows up as long frames.
set -eu

runs=3
screen=640x480
build=build
out=build/frame-timing
reference=0
while [ $# -gt 0 ]; do
  case "$1" in
    -n) runs=$2; shift 2 ;;
    -s) screen=$2; shift 2 ;;
    -b) build=$2; shift 2 ;;
    -o) out=$2; shift 2 ;;
    -r) reference=1; shift ;;
    --) shift; break ;;
    *) echo "usage: $0 [-n RUNS] [-s WxH] [-b BUILD_DIR] [-o OUT_DIR] [-r] [-- GAME_OPTIONS]" >&2; exit 2 ;;
  esac
done
game=$(cd "$build/bin" && pwd)/zumbrix
[ -x "$game" ] || { echo "no game at $game: run make build first" >&2; exit 2; }
paced_window=$(dirname "$game")/paced_window
if [ $reference = 1 ] && [ ! -x "$paced_window" ]; then
  echo "no reference at $paced_window: run make build first" >&2
  exit 2
fi
for tool in Xvfb xdotool python3; do
  command -v $tool >/dev/null || { echo "$tool is missing: scripts/install-deps.sh measure" >&2; exit 2; }
done
mkdir -p "$out"
out=$(cd "$out" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
width=${screen%x*}
height=${screen#*x}

logs=""
references=""
run=1
while [ $run -le "$runs" ]; do
  display=:$((90 + run))
  home=$out/home$run
  log=$out/run$run.log
  rm -rf "$home" "$log"
  mkdir -p "$home"
  Xvfb $display -screen 0 "${screen}x24" -nolisten tcp >"$out/xvfb$run.txt" 2>&1 &
  xvfb=$!
  sleep 1
  DISPLAY=$display HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data \
    XDG_PICTURES_DIR=$home/pictures SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} \
    "$game" --frame-log "$log" "$@" >"$out/game$run.txt" 2>&1 &
  pid=$!
  export DISPLAY=$display
  status=$(python3 "$here/frame_timing_drive.py" "$log" $pid "$width" "$height") || true
  i=0
  while kill -0 $pid 2>/dev/null && [ $i -lt 50 ]; do sleep 0.1; i=$((i + 1)); done
  kill $pid 2>/dev/null || true
  if [ $reference = 1 ]; then
    # As long as the game ran, from its first frame to its last.
    seconds=$(awk '!/^#/ { if (!first) first = $2; last = $2 } END { print int((last - first) / 1e6) + 1 }' "$log")
    DISPLAY=$display "$paced_window" "$out/reference$run.log" "$seconds" >"$out/reference$run.txt" 2>&1 ||
      echo "run $run: the reference window failed (see $out/reference$run.txt)"
    references="$references $out/reference$run.log"
  fi
  kill $xvfb 2>/dev/null || true
  wait $xvfb 2>/dev/null || true
  echo "run $run: $status"
  logs="$logs $log"
  run=$((run + 1))
done
if [ $reference = 1 ]; then
  echo "== the reference: a window that only clears and flips, for as long as each game run"
  python3 "$here/frame_log_report.py" --from reference $references || true
  echo "== the game"
fi
python3 "$here/frame_log_report.py" --need splash,title,getready,play,waveend,gameover $logs
