#!/usr/bin/env bash
# x_window_test.sh - the installed program's window on a real X server, as a desktop sees it,
# and its end when that server goes away.
#
# A copy of the program in a scratch folder (so the build's best score is never touched) runs
# with --window on a private Xvfb. Its window must carry the class the desktop entry's
# StartupWMClass names, a 64x64 icon and a minimum size of 640x480. Then the X server is killed:
# the program must end by itself within a second with status 1, having said so and saved its
# best score.
#
#   tests/dist/x_window_test.sh BUILD_BIN_DIR DESKTOP_ENTRY [LIMIT_MS]
# LIMIT_MS (1000 unless given) is longer for a sanitizer's build, whose every call is slower.
# Needs Xvfb and xprop (scripts/install-deps.sh); exits 77 (skipped) without them.
set -u

bin=$(cd "$1" && pwd)
entry=$2
limit=${3:-1000}
# The program ends without joining its loader threads, on purpose: no leak to report.
export TSAN_OPTIONS="${TSAN_OPTIONS:-} report_thread_leaks=0"
# Mesa's LLVM frees with free() what its operator new gave: not ours to report.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}alloc_dealloc_mismatch=0"
for tool in Xvfb xprop; do
  command -v $tool >/dev/null || { echo "no $tool: skipped"; exit 77; }
done
scratch=$(mktemp -d)
xpid=""
gpid=""
cleanup() {
  [ -n "$gpid" ] && kill -9 "$gpid" 2>/dev/null
  [ -n "$xpid" ] && kill -9 "$xpid" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; cat "$scratch/stderr" 2>/dev/null; exit 1; }

mkdir -p "$scratch/data" "$scratch/config"
cp "$bin/zumbrix" "$scratch/"
for f in "$bin"/data/*.ogg; do ln -s "$f" "$scratch/data/"; done

n=90
while [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ]; do n=$((n + 1)); done
Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null &
xpid=$!
for _ in $(seq 100); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.05; done
[ -e /tmp/.X11-unix/X$n ] || fail "Xvfb :$n did not start"

# Mesa's shader cache writes from a thread of its own, which a loaded machine may leave running
# for seconds after the game has ended; the test times the game, not the cache.
DISPLAY=:$n XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/share" \
  MESA_SHADER_CACHE_DISABLE=true SDL_AUDIODRIVER=dummy "$scratch/zumbrix" --window \
  --frame-log "$scratch/frames" >"$scratch/stdout" 2>"$scratch/stderr" &
gpid=$!
window=""
for _ in $(seq 200); do
  window=$(DISPLAY=:$n xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -o '0x[0-9a-f]*' | head -1)
  [ -z "$window" ] && window=$(DISPLAY=:$n xwininfo -root -tree 2>/dev/null |
    awk '/"Zumbrix - 3D Edition"/ {print $1; exit}')
  [ -n "$window" ] && break
  sleep 0.05
done
[ -n "$window" ] || fail "no game window appeared"
# The window is mapped before SDL gives it its size hints and icon: a slow build is seen between.
for _ in $(seq 200); do
  props=$(DISPLAY=:$n xprop -id "$window" WM_CLASS WM_NORMAL_HINTS _NET_WM_ICON 2>&1 |
    grep -E "WM_CLASS|minimum size|Icon \(")
  [ "$(echo "$props" | wc -l)" -ge 3 ] && break
  sleep 0.05
done
class=$(grep '^StartupWMClass=' "$entry" | cut -d= -f2)
[ -n "$class" ] || fail "the desktop entry names no StartupWMClass"
echo "$props" | grep -q "WM_CLASS(STRING) = \"$class\", \"$class\"" ||
  fail "window class is not the desktop entry's $class: $props"
echo "$props" | grep -q 'minimum size: 640 by 480' || fail "minimum size: $props"
echo "$props" | grep -q 'Icon (64 x 64)' || fail "icon: $props"
# Into the frame loop: a loaded machine may take seconds to get there.
for _ in $(seq 1000); do
  [ "$(grep -c ' title$' "$scratch/frames" 2>/dev/null)" -ge 30 ] && break
  sleep 0.02
done
grep -q ' title$' "$scratch/frames" || fail "the title was never shown"

kill -9 "$xpid"
start=$(date +%s%N)
# The game is this shell's child: the shell reaps it as it ends and keeps its status for wait.
for _ in $(seq 1000); do
  kill -0 "$gpid" 2>/dev/null || break
  sleep 0.01
done
end=$(date +%s%N)
kill -9 "$gpid" 2>/dev/null
wait "$gpid"
status=$?
gpid=""
xpid=""
millis=$(((end - start) / 1000000))
echo "ended $millis ms after the X server, status $status"
[ "$status" = 1 ] || fail "status $status"
[ "$millis" -lt "$limit" ] || fail "took $millis ms to end"
grep -q "Lost the connection to the display \":$n\": saved, and ending" "$scratch/stderr" ||
  fail "no word of the lost display"
[ -s "$scratch/data/hiscore.dat" ] || fail "no best score saved"
echo "ok"
