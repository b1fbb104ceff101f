#!/usr/bin/env bash
# The docs checker catches what it is there for: each false claim planted in a copy of the tree
# (a function in the wrong file, a call that is not made, a step of a call tree that is not a
# call, a missing file or function, a layer line that hides a use or draws one the rules forbid,
# a wrong row of HACKING.md's table, a folder of game/ missing from its table) fails the check with a line naming it.
# Usage: tests/scripts/check_docs_test.sh [repository root]. Needs bash, cp and sed.
set -u
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

Copy() {
  rm -rf "$work/tree"
  mkdir -p "$work/tree"
  for folder in platform core system audio graphics game harness tools tests bench fuzz docs cmake \
    scripts; do
    [ -d "$root/$folder" ] && cp -r "$root/$folder" "$work/tree/"
  done
  cp "$root"/README.md "$root"/HACKING.md "$work/tree/"
}

# Expect the check of the copy to fail with a line matching `said` (an extended regular expression).
ExpectCaught() {
  local what=$1 said=$2 out
  out=$(bash "$work/tree/scripts/check-walkthrough.sh" "$work/tree" 2>&1)
  if [ $? -eq 0 ] || ! grep -qE -- "$said" <<<"$out"; then
    echo "not caught: $what (expected \"$said\"), the check said:"
    echo "$out"
    failed=1
  fi
}

# Appends `text` (a paragraph, or an indented drawing) to `doc` in a fresh copy.
Plant() {
  local doc=$1 text=$2 said=$3
  Copy
  printf '\n%s\n' "$text" >>"$work/tree/$doc"
  ExpectCaught "$text in $doc" "$said"
}

# Replaces the lines matching `pattern` in `doc` with `text`, in a fresh copy.
Replace() {
  local doc=$1 pattern=$2 text=$3 said=$4
  Copy
  awk -v p="$pattern" -v t="$text" '$0 ~ p { if (!done) print t; done = 1; next } { print }' \
    "$work/tree/$doc" >"$work/tree/$doc.new" && mv "$work/tree/$doc.new" "$work/tree/$doc"
  ExpectCaught "$text for $pattern in $doc" "$said"
}

Copy
out=$(bash "$work/tree/scripts/check-walkthrough.sh" "$work/tree" 2>&1) ||
  { echo "the unchanged copy fails the check:"; echo "$out"; failed=1; }

w=docs/walkthrough.md
Plant $w 'The frame is `gameframe()` in `game/startup.cpp`.' \
  '^docs/walkthrough.md:[0-9]+: gameframe\(\) is not defined in game/startup.cpp$'
Plant $w 'Then `initglobals()` in `game/play/globals.cpp`, which calls `PauseScreen()`.' \
  'initglobals\(\) does not call PauseScreen\(\)'
Plant $w "$(printf '    gamestartup()         game/startup.cpp\n     ├ initglobals()      game/play/globals.cpp\n     └ PauseScreen()      game/frame_loop.cpp')" \
  'gamestartup\(\) does not call PauseScreen\(\)'
Plant $w "$(printf '    RecordGame()          game/replay_run.cpp\n     └ SaveSettings()     game/config/settings_store.cpp')" \
  'RecordGame\(\) does not call SaveSettings\(\)'
Plant $w 'See `game/no_such_file.cpp`.' 'no file game/no_such_file.cpp'
Plant $w 'It calls `NoSuchFunctionAnywhere()`.' 'NoSuchFunctionAnywhere\(\) is not in the sources'
Replace $w '^    game/  ->  graphics/  ->' \
  '    game/  ->  graphics/  audio/  system/  ->  core/  ->  platform/' \
  'the layer lines never show that graphics/ uses system/'
Plant README.md '    core/  ->  game/' 'README.md:[0-9]+: the arrow core/ -> game/ is no use'
Replace HACKING.md '^\| `graphics/` \|' '| `graphics/` | `system/`, `core/` | graphics |' \
  'the table leaves out that graphics/ may include platform'
Replace HACKING.md '^\| `audio/` \|' '| `audio/` | `system/`, `core/`, `platform/` | audio |' \
  'the table says audio/ may include system, which the rules do not allow'
Replace HACKING.md '^\| `game/assets/` \|' '' \
  'the table of game/.s folders lists "config play replay screens video watch", the include check.s order'

[ $failed -eq 0 ] && echo "docs checks: every planted false claim was caught"
exit $failed
