#!/usr/bin/env bash
# check-walkthrough.sh - the walk-through names only what exists: every path it names
# (game/frame_loop.cpp) is a file of the repository, and every function (gameframe(),
# mixer::pass()) is found in one of the files its line names, or in the sources when the line
# names no file. Prints each name it cannot find and exits 1 if there was one.
# Usage: scripts/check-walkthrough.sh [repository root]. Needs bash, grep and awk.
set -u
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root" || exit 1
[ -f docs/walkthrough.md ] || { echo "no docs/walkthrough.md"; exit 1; }

# Every "name(" and "Owner::name(" in the sources, with its file, then the files that exist.
index=$(mktemp)
trap 'rm -f "$index"' EXIT
grep -roE '[A-Za-z_][A-Za-z0-9_]*(::[A-Za-z_][A-Za-z0-9_]*)*\(' \
  core platform system graphics audio game tools --include='*.cpp' --include='*.h' >"$index"
find core platform system graphics audio game tools tests bench fuzz docs scripts cmake -type f |
  sed 's/^/file:/' >>"$index"

awk '
  FNR == NR {
    if (substr($0, 1, 5) == "file:") { exists[substr($0, 6)] = 1; next }
    split($0, part, ":"); file = part[1]; call = substr($0, length(file) + 2)
    sub(/\($/, "", call)
    at[file "|" call] = 1; anywhere[call] = 1
    # A method counts by its own name too (declared in its class, or called as object->name()).
    m = call; sub(/.*::/, "", m); at[file "|*" m] = 1
    next
  }
  {
    n = 0; rest = $0
    while (match(rest, /(core|platform|system|graphics|audio|game|tools|tests|bench|fuzz|docs|scripts|cmake)\/[A-Za-z0-9_.\/-]*\.(cpp|h|md|sh|cmake|txt)/)) {
      path = substr(rest, RSTART, RLENGTH); rest = substr(rest, RSTART + RLENGTH); checked++
      if (path in exists) files[++n] = path
      else { print "walkthrough.md:" FNR ": no file " path; bad = 1 }
    }
    rest = $0
    while (match(rest, /[A-Za-z_][A-Za-z0-9_]*(::[A-Za-z_][A-Za-z0-9_]*)*\(\)/)) {
      call = substr(rest, RSTART, RLENGTH - 2); rest = substr(rest, RSTART + RLENGTH); checked++
      method = call; sub(/.*::/, "", method)
      found = 0
      if (n == 0) found = (call in anywhere)
      for (i = 1; i <= n; i++) {
        if ((files[i] "|" call) in at) found = 1
        if ((files[i] "|*" method) in at) found = 1
      }
      if (!found) {
        where = n ? files[1] : "the sources"; for (i = 2; i <= n; i++) where = where " " files[i]
        print "walkthrough.md:" FNR ": " call "() is not in " where; bad = 1
      }
    }
  }
  END {
    if (!checked) { print "walkthrough.md names nothing to check"; exit 1 }
    if (!bad) print "walkthrough.md: all " checked " names found"
    exit bad
  }
' "$index" docs/walkthrough.md
