#!/usr/bin/env bash
# measure-click-to-sound.sh - how long a mouse click takes to be heard: the real game in a window
# under Xvfb, with SDL's disk audio driver writing the output to a file and the music off.
#
#   scripts/measure-click-to-sound.sh [--device auto|waveout|directsound|all] [--clicks N]
#                                     [--game PATH] [--runs N]
#
# Needs a built game (make build; default build/bin/zumbrix), Xvfb (xvfb-run), xdotool, python3,
# libXtst and a C compiler (scripts/install-deps.sh measure). Each run uses a scratch home, settings and data
# folder (the build's best score is never touched): music_volume = 0, effects_volume = 10,
# display = window, sound_output = the device. scripts/click_to_sound.py starts the game, ends
# the splash, starts a game, waits out the get-ready sequence, then fires N shots about 430 ms
# apart at times it logs; it says in its header how a click's time is matched to a place in the
# output file. Prints one line per click and a summary of the clean ones, per device.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
game="$here/../build/bin/zumbrix"
device=all
clicks=8
runs=1
verbose=
while [ $# -gt 0 ]; do
  case "$1" in
    --device) device="$2"; shift 2 ;;
    --clicks) clicks="$2"; shift 2 ;;
    --game) game="$2"; shift 2 ;;
    --runs) runs="$2"; shift 2 ;;
    --verbose) verbose=1; shift ;;
    -h|--help) sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "measure-click-to-sound.sh: unknown argument '$1'" >&2; exit 2 ;;
  esac
done
case "$device" in
  all) devices=(waveout directsound) ;;
  auto|waveout|directsound) devices=("$device") ;;
  *) echo "measure-click-to-sound.sh: --device is auto, waveout, directsound or all" >&2; exit 2 ;;
esac
for tool in xvfb-run xdotool python3 cc; do
  command -v "$tool" >/dev/null || { echo "missing $tool: scripts/install-deps.sh measure" >&2; exit 1; }
done
[ -x "$game" ] || { echo "no game at $game: make build" >&2; exit 1; }
game="$(cd "$(dirname "$game")" && pwd)/$(basename "$game")"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
cc -shared -fPIC -O2 -o "$scratch/unbuffered.so" "$here/disk_audio_unbuffered.c" -ldl
echo "load: $(uptime)"
status=0
for dev in "${devices[@]}"; do
  for run in $(seq 1 "$runs"); do
    dir="$scratch/$dev-$run"
    mkdir -p "$dir/home" "$dir/config/zumbrix" "$dir/share" "$dir/bin/data"
    # A copy of the game with the build's sounds, so that its best score is written here.
    cp "$game" "$dir/bin/zumbrix"
    for f in "$(dirname "$game")"/data/*.ogg; do ln -s "$f" "$dir/bin/data/"; done
    printf 'music_volume = 0\neffects_volume = 10\ndisplay = window\nsound_output = %s\n' "$dev" \
      >"$dir/config/zumbrix/settings.ini"
    echo "== $dev (run $run)"
    HOME="$dir/home" XDG_CONFIG_HOME="$dir/config" XDG_DATA_HOME="$dir/share" \
      xvfb-run -a -s "-screen 0 1920x1080x24" \
      python3 "$here/click_to_sound.py" --game "$dir/bin/zumbrix" --out "$dir/out.raw" \
      --clicks "$clicks" ${verbose:+--verbose} --log "$dir/game.log" --preload "$scratch/unbuffered.so" || status=1
    # SDL's two lines about the disk driver are expected; anything else is shown.
    grep -v 'disk i/o audio driver\|Writing to file' "$dir/game.log" | sed 's/^/   game: /' | head -5 || true
  done
done
exit $status
