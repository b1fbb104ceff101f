#!/usr/bin/env bash
# mixer-peer-bench.sh - our mixer against SDL_mixer, both mixing 256 looping 16-bit stereo voices
# into 44100 Hz 16-bit stereo, in alternate runs on the same machine at the same time.
#
#   scripts/mixer-peer-bench.sh [--rounds N] [--seconds S] [--bench PATH] [--no-install]
#
# Ours: bench_mixer's BM_256Voices/bits:16/channels:2 (22050 Hz data at rate 1.3, so every frame
# is interpolated, on the kernel set the mixer picks for this processor). The peer:
# bench/peer/sdl_mixer_voices.c, built here with SDL_mixer, mixing at rate 1.0 (SDL_mixer does
# not resample a playing chunk) through SDL's disk driver into /dev/null without pacing. Both
# figures are million voice-frames per CPU second. Each round runs the peer, then ours, then ours
# on the scalar kernel set (the mixer before its vector loops, the "before" figure) for S seconds
# each (default 3 rounds of 2 s); the summary gives each side's median and the median of the
# rounds' ratios.
#
# Needs a built bench_mixer (make build; default build/bin/bench_mixer), SDL_mixer's development
# package, pkg-config and a C compiler: the script installs them first with
# scripts/install-deps.sh peer (--no-install skips that step).
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
bench="$here/../build/bin/bench_mixer"
rounds=3
seconds=2
install=1
while [ $# -gt 0 ]; do
  case "$1" in
    --rounds) rounds="$2"; shift 2 ;;
    --seconds) seconds="$2"; shift 2 ;;
    --bench) bench="$2"; shift 2 ;;
    --no-install) install=; shift ;;
    -h|--help) sed -n '2,17p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "mixer-peer-bench.sh: unknown argument '$1'" >&2; exit 2 ;;
  esac
done
[[ "$rounds" =~ ^[1-9][0-9]*$ ]] || { echo "mixer-peer-bench.sh: --rounds is a positive count" >&2; exit 2; }
[[ "$seconds" =~ ^[0-9]+(\.[0-9]+)?$ ]] || { echo "mixer-peer-bench.sh: --seconds is a number" >&2; exit 2; }
[ -x "$bench" ] || { echo "no bench_mixer at $bench: make build" >&2; exit 1; }

[ -n "$install" ] && "$here/install-deps.sh" peer
for tool in cc pkg-config; do
  command -v "$tool" >/dev/null || { echo "missing $tool: scripts/install-deps.sh peer" >&2; exit 1; }
done
pkg-config --exists SDL2_mixer || { echo "missing SDL_mixer: scripts/install-deps.sh peer" >&2; exit 1; }

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
# shellcheck disable=SC2046 # pkg-config's flags are separate words
cc -O2 -o "$scratch/sdl_mixer_voices" "$here/../bench/peer/sdl_mixer_voices.c" \
  $(pkg-config --cflags --libs SDL2_mixer)

# Million voice-frames per CPU second of one run of each.
peer_run() {
  "$scratch/sdl_mixer_voices" --voices 256 --seconds "$seconds" 2>"$scratch/peer.err" |
    awk '{ for (i = 1; i < NF; ++i) if ($i == "voice_frames_per_s") { sub(/M$/, "", $(i + 1)); print $(i + 1) } }'
}
ours_run() {
  "$bench" --benchmark_filter="$1" --benchmark_min_time="$seconds" \
    --benchmark_format=csv 2>/dev/null |
    awk -F, 'NR == 1 { for (i = 1; i <= NF; ++i) if ($i == "\"voice_frames_per_s\"") col = i; next }
             col { printf "%.1f\n", $col / 1e6 }'
}
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "load: $(uptime)"
echo "bench_mixer: $bench"
echo "SDL_mixer $(pkg-config --modversion SDL2_mixer), SDL $(pkg-config --modversion sdl2)"
: >"$scratch/ours" && : >"$scratch/peer" && : >"$scratch/ratio"
: >"$scratch/scalar" && : >"$scratch/scalar_ratio"
for round in $(seq 1 "$rounds"); do
  peer="$(peer_run)"
  [ -n "$peer" ] || { echo "the SDL_mixer run failed:" >&2; cat "$scratch/peer.err" >&2; exit 1; }
  ours="$(ours_run '^BM_256Voices/bits:16/channels:2$')"
  [ -n "$ours" ] || { echo "the bench_mixer run failed" >&2; exit 1; }
  scalar="$(ours_run '^BM_256VoicesOnKernel/kernel:0/bits:16/channels:2$')"
  [ -n "$scalar" ] || { echo "the bench_mixer scalar run failed" >&2; exit 1; }
  ratio="$(awk -v a="$ours" -v b="$peer" 'BEGIN { printf "%.2f", a / b }')"
  scalar_ratio="$(awk -v a="$scalar" -v b="$peer" 'BEGIN { printf "%.2f", a / b }')"
  printf 'round %d: ours %sM, scalar %sM, SDL_mixer %sM voice-frames/s, ratio %s (scalar %s)\n' \
    "$round" "$ours" "$scalar" "$peer" "$ratio" "$scalar_ratio"
  echo "$ours" >>"$scratch/ours"
  echo "$peer" >>"$scratch/peer"
  echo "$ratio" >>"$scratch/ratio"
  echo "$scalar" >>"$scratch/scalar"
  echo "$scalar_ratio" >>"$scratch/scalar_ratio"
done
printf 'median: ours %sM, scalar %sM, SDL_mixer %sM voice-frames/s, ratio %s, scalar ratio %s (rounds: %s)\n' \
  "$(median <"$scratch/ours")" "$(median <"$scratch/scalar")" "$(median <"$scratch/peer")" \
  "$(median <"$scratch/ratio")" "$(median <"$scratch/scalar_ratio")" "$rounds"
