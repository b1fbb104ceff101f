#!/usr/bin/env bash
# The include-rule checker catches what it is there for: each include planted in a copy of the
# tree (upward, sideways, SDL outside platform/, a private platform header, test support in the
# game, one of game/'s folders including a later one or game/'s top, a system call's header in the
# game, a folder of game/ outside the order) fails the check with a line naming the rule, and so
# does an exception no longer needed.
# Usage: tests/scripts/check_includes_test.sh [repository root]. Needs bash, cp and sed.
set -u
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

# A fresh copy of the sources, the checker beside them.
Copy() {
  rm -rf "$work/tree"
  mkdir -p "$work/tree/scripts"
  for folder in platform core system audio graphics game harness tools tests bench fuzz; do
    [ -d "$root/$folder" ] && cp -r "$root/$folder" "$work/tree/"
  done
  cp "$root/scripts/check-includes.sh" "$work/tree/scripts/"
}

# Expect the check of the copy to fail with a line matching `said` (an extended regular expression).
ExpectCaught() {
  local what=$1 said=$2 out
  out=$(bash "$work/tree/scripts/check-includes.sh" "$work/tree" 2>&1)
  if [ $? -eq 0 ] || ! grep -qE -- "$said" <<<"$out"; then
    echo "not caught: $what (expected \"$said\"), the check said:"
    echo "$out"
    failed=1
  fi
}

# Plants `line` at the end of `file` in a fresh copy and expects `said`.
Plant() {
  local file=$1 line=$2 said=$3
  Copy
  echo "$line" >>"$work/tree/$file"
  ExpectCaught "$line in $file" "$said"
}

Copy
out=$(bash "$work/tree/scripts/check-includes.sh" "$work/tree" 2>&1) ||
  { echo "the unchanged copy fails the check:"; echo "$out"; failed=1; }

Plant core/list.h '#include "game/play/globals.h"' \
  '^core/list.h:[0-9]+: core/ may not include game/play/globals.h \(core/ uses itself and platform\)$'
Plant platform/clock.cpp '#include "core/object.h"' 'platform/ may not include core/object.h'
Plant system/event.cpp '#include "graphics/graphics.h"' 'system/ may not include graphics/graphics.h'
Plant audio/mixer.cpp '#include "graphics/image.h"' 'audio/ may not include graphics/image.h'
Plant graphics/draw2d.h '#include "audio/audio_driver.h"' \
  'graphics/ may not include audio/audio_driver.h'
Plant game/play/waves.cpp '#include "platform/events.h"' 'game/ may not include platform/events.h'
Plant game/play/waves.cpp '#include "harness/harness.h"' 'game/ may not include harness/harness.h'
Plant game/play/waves.cpp '#include "game/screens/menu.h"' \
  '^game/play/waves.cpp:[0-9]+: game/play/ may not include game/screens/menu.h'
Plant game/config/settings.h '#include "game/frame_loop.h"' \
  'game/config/ may not include game/frame_loop.h'
Plant game/screens/menu.cpp '#include <unistd.h>' \
  '^game/screens/menu.cpp:[0-9]+: game/ makes no system call itself: <unistd.h>'
Copy
mkdir -p "$work/tree/game/extra"
echo '#include "game/play/globals.h"' >"$work/tree/game/extra/thing.cpp"
ExpectCaught "a folder of game/ outside the order" 'game/extra/ is no folder of the order'
Plant tools/canvas.cpp '#include "game/play/globals.h"' 'tools/ may not include game/play/globals.h'
Plant game/assets/sheet_layout.h '#include "core/object.h"' 'may include no project header'
Plant graphics/image.cpp '#include <SDL2/SDL.h>' \
  '^graphics/image.cpp:[0-9]+: SDL header SDL2/SDL.h outside platform/'
Plant tests/core/list_test.cpp '#include "SDL.h"' 'SDL header SDL.h outside platform/'
Plant system/clock.cpp '#include "platform/window_registry.h"' 'is private to platform/'
Plant game/video/title_video.cpp '#include <libavformat/avformat.h>' \
  '^game/video/title_video.cpp:[0-9]+: FFmpeg header libavformat/avformat.h outside'
Plant audio/mixer.cpp '#include <libswresample/swresample.h>' 'FFmpeg header libswresample'

# An exception whose include has gone must leave the list: the first one listed, removed.
Copy
read -r file header _ < <(sed -n "/^exceptions='/,/^'/p" "$work/tree/scripts/check-includes.sh" |
  grep -E '^[a-z]+/')
if [ -n "${header:-}" ]; then
  sed -i "\\%#include \"$header\"%d" "$work/tree/$file"
  ExpectCaught "a stale exception" "$file no longer includes $header"
fi

[ $failed -eq 0 ] && echo "include rules: every planted break was caught"
exit $failed
