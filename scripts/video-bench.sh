#!/usr/bin/env bash
# video-bench.sh - how fast a replay becomes a video, beside FFmpeg's own encoder alone.
#
# A minute of scripted play is recorded (bench_game_soak --save-replay), then made into WebM and
# MP4 by the game (render and encode, timed), and the same frames and sound, decoded from the
# game's own file into raw RGBA and 16-bit PCM beforehand, encoded by the `ffmpeg` program with
# the same codecs and settings on both cores (timed the same way). Each rate is printed as a
# multiple of real time, with their ratio and the bytes a minute. Then a ten-minute replay is made
# into a WebM while the resident memory (RSS) is sampled every 5 s, to show it stays level.
#
# Usage: scripts/video-bench.sh [BUILD] [MINUTES_FOR_MEMORY]   (defaults: build, 10)
# Needs the built program and bench_game_soak, ffmpeg and ffprobe (install-deps.sh measure).
# Run it on an idle machine: the figures are worth what the machine's spare cores are.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
minutes=${2:-10}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
program=$build/bin/zumbrix
cd "$work"

seconds_now() { date +%s.%N; }
rate() { awk -v f="$1" -v s="$2" 'BEGIN { printf "%.2f", f / 60 / s }'; }

record() {  # frames, file: scripted play recorded as a replay of about that many frames
  "$build/bin/bench_game_soak" --null 1 --record 1 --play "$1" --attract 0 --save-replay "$2" \
    >/dev/null
}

echo "recording a minute of scripted play..."
record 3700 minute.replay

declare -A game_rate
for ext in webm mp4; do
  start=$(seconds_now)
  "$program" --replay minute.replay --video "minute.$ext" >/dev/null
  took=$(awk -v a="$start" -v b="$(seconds_now)" 'BEGIN { print b - a }')
  frames=$(ffprobe -v error -count_frames -select_streams v -show_entries stream=nb_read_frames \
    -of default=nw=1:nk=1 "minute.$ext" | head -1)
  game_rate[$ext]=$(rate "$frames" "$took")
  bytes=$(stat -c %s "minute.$ext")
  printf '%-5s the game (render + encode): %6d frames in %6.1f s = %5sx real time, %.1f MB a minute\n' \
    "$ext" "$frames" "$took" "${game_rate[$ext]}" \
    "$(awk -v b="$bytes" -v f="$frames" 'BEGIN { print b / 1e6 / (f / 3600) }')"
done

# The same pictures and sound as raw input, read from the disk cache by the encoder alone.
ffmpeg -v error -y -i minute.webm -f rawvideo -pix_fmt rgba frames.rgba -f s16le -ar 44100 -ac 2 \
  sound.pcm
cat frames.rgba sound.pcm >/dev/null
raw_in=(-f rawvideo -pix_fmt rgba -s 640x480 -r 60 -i frames.rgba -f s16le -ar 44100 -ac 2 -i sound.pcm)
declare -A settings=(
  [webm]="-c:v libvpx-vp9 -deadline realtime -cpu-used 8 -row-mt 1 -tile-columns 1 -crf 40 -b:v 0 -c:a libopus -b:a 128k"
  [mp4]="-c:v libx264 -preset veryfast -tune animation -crf 20 -c:a aac -b:a 160k -movflags +faststart"
)
for ext in webm mp4; do
  start=$(seconds_now)
  # shellcheck disable=SC2086
  ffmpeg -v error -y -threads 2 "${raw_in[@]}" -pix_fmt yuv420p -g 120 -threads 2 \
    ${settings[$ext]} "alone.$ext"
  took=$(awk -v a="$start" -v b="$(seconds_now)" 'BEGIN { print b - a }')
  frames=$(ffprobe -v error -count_frames -select_streams v -show_entries stream=nb_read_frames \
    -of default=nw=1:nk=1 "alone.$ext" | head -1)
  alone=$(rate "$frames" "$took")
  printf '%-5s ffmpeg alone (encode only):  %6d frames in %6.1f s = %5sx real time; the game takes %.2fx its time\n' \
    "$ext" "$frames" "$took" "$alone" "$(awk -v a="$alone" -v g="${game_rate[$ext]}" 'BEGIN { print a / g }')"
done
rm -f frames.rgba sound.pcm

echo "recording $minutes minutes of scripted play for the memory run..."
record $((minutes * 3600 + 100)) long.replay
"$program" --replay long.replay --video long.webm >/dev/null &
pid=$!
echo "resident memory of the video run, every 5 s (MB):"
samples=()
while kill -0 "$pid" 2>/dev/null; do
  rss=$(awk '/VmRSS/ { print $2 }' "/proc/$pid/status" 2>/dev/null || true)
  [ -n "$rss" ] && samples+=("$((rss / 1024))")
  sleep 5
done
wait "$pid"
echo "  ${samples[*]}"
printf '  first %s MB, after a minute %s MB, last %s MB; the video: %s s\n' "${samples[0]:-?}" \
  "${samples[12]:-?}" "${samples[-1]:-?}" \
  "$(ffprobe -v error -show_entries format=duration -of csv=p=0 long.webm)"
