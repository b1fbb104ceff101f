#!/usr/bin/env bash
# check-includes.sh - the layers' include rules, as HACKING.md states them: a file includes only
# headers of its own folder and of the layers below it that it may use (the table below), SDL's
# headers only in platform/, FFmpeg's (libav*/, libsw*/) only in the video encoder and the tests
# that read its files back, and a header that says "Private to platform/" only from platform/.
# Inside game/, a folder includes only its own headers and those of the folders before it (the
# order below), and no file makes system calls itself (no system header of the list below).
# Prints each include that breaks a rule with its file and line, and exits 1 if there was one.
# Usage: scripts/check-includes.sh [repository root]. Needs bash, find, grep and awk.
set -u
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root" || exit 1

# What each folder may include besides itself, lowest layer first. A word with a slash is a single
# header rather than a layer, and must itself include no header of the project. tests/, bench/
# and fuzz/ may include every layer (but SDL only through platform/), and tests/ the platform's
# private headers too, to check what they hold. bench/peer/ holds other projects' programs, built
# by their own scripts against SDL: it is not ours and is not checked.
rules='
platform
core      platform
system    core platform
audio     core platform
graphics  system core platform
game      graphics audio system core
harness   game graphics audio system core platform
tools     game/assets/sheet_layout.h
'

# game/'s folders in the order their includes run, lowest first: each may include its own headers
# and those of the folders before it; the files at game/'s top may include them all. A folder of
# game/ missing here is reported, so that a new one takes its place in the order.
rooms='config play assets replay screens video watch'

# The system headers of calls the game leaves to core/ and platform/ (files, threads).
system_headers='fcntl.h unistd.h sys/stat.h pthread.h sched.h'

# Includes that break the rules today, each to be removed by whoever next works on its file. One
# that is no longer made is reported too, so that the list only shrinks.
exceptions='
game/startup.cpp               platform/video.h  the display check before the window, timed as its own step
'

includes=$(mktemp)
trap 'rm -f "$includes"' EXIT
for folder in platform core system audio graphics game harness tools tests bench fuzz; do
  [ -d "$folder" ] && find "$folder" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \)
done | grep -v '^bench/peer/' | sort | xargs -r grep -nH -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' \
  /dev/null >"$includes"
private=$(grep -l 'Private to platform/' platform/*.h 2>/dev/null | tr '\n' ' ')

awk -v rules="$rules" -v exceptions="$exceptions" -v private="$private" -v rooms="$rooms" \
  -v system_headers="$system_headers" '
  # The rank of a file or header of game/ in the order of its folders; the top is above them all,
  # and a folder not in the order is -1.
  function Rank(path,    room) {
    if (path !~ /^game\/[^\/]+\//) return nrooms + 1
    room = path; sub(/^game\//, "", room); sub(/\/.*/, "", room)
    return (room in rank) ? rank[room] : -1
  }
  function Room(path,    room) {
    if (path !~ /^game\/[^\/]+\//) return "game/"
    room = path; sub(/\/[^\/]*$/, "/", room)
    return room
  }
  BEGIN {
    nrooms = split(rooms, word, " ")
    for (i = 1; i <= nrooms; i++) { rank[word[i]] = i; order = order " game/" word[i] "/" }
    n = split(system_headers, word, " ")
    for (i = 1; i <= n; i++) syscall[word[i]] = 1
    n = split(rules, row, "\n")
    for (i = 1; i <= n; i++) {
      k = split(row[i], word, " ")
      if (k == 0) continue
      layer[word[1]] = 1; may[word[1] "|" word[1]] = 1; uses[word[1]] = ""
      for (j = 2; j <= k; j++) {
        may[word[1] "|" word[j]] = 1; uses[word[1]] = uses[word[1]] " " word[j]
        if (index(word[j], "/")) single[word[j]] = 1
      }
    }
    n = split(exceptions, row, "\n")
    for (i = 1; i <= n; i++) {
      if (split(row[i], word, " ") >= 2) excused[word[1] "|" word[2]] = 1
    }
    n = split(private, word, " ")
    for (i = 1; i <= n; i++) hidden[word[i]] = 1
  }
  {
    # file:line:#include "path" (or <path>)
    file = $0; sub(/:.*/, "", file)
    rest = substr($0, length(file) + 2); at = rest; sub(/:.*/, "", at)
    text = substr(rest, length(at) + 2)
    if (!match(text, /[<"][^>"]+[>"]/)) next
    quoted = substr(text, RSTART, 1) == "\""
    header = substr(text, RSTART + 1, RLENGTH - 2)
    own = file; sub(/\/.*/, "", own)
    where = file ":" at ": "
    if (header ~ /^lib(av[a-z]*|sw[a-z]*)\//) {
      if (file != "game/video/video_encoder.cpp" && own != "tests") {
        print where "FFmpeg header " header " outside game/video/video_encoder.cpp"; bad = 1
      }
      next
    }
    if (header ~ /^SDL2?\// || header ~ /^SDL[A-Za-z0-9_]*\.h$/) {
      if (own != "platform") { print where "SDL header " header " outside platform/"; bad = 1 }
      next
    }
    if (!quoted) {
      if (own != "game" || !(header in syscall)) next
      if ((file "|" header) in excused) { made[file "|" header] = 1; next }
      print where "game/ makes no system call itself: <" header "> belongs below it (core/, platform/)"
      bad = 1
      next
    }
    if ((file in single) && index(header, "/")) {
      print where file " is included across layers and so may include no project header"; bad = 1
    }
    if ((header in hidden) && own != "platform" && own != "tests") {
      print where header " is private to platform/"; bad = 1
      next
    }
    target = header; sub(/\/.*/, "", target)
    if (own == "game" && Rank(file) < 0 && !(Room(file) in unknown)) {
      unknown[Room(file)] = 1
      print file ": " Room(file) " is no folder of the order of game/'"'"'s folders (" substr(order, 2) ")"
      bad = 1
    }
    if (own == "game" && target == "game" && Rank(header) > Rank(file)) {
      if ((file "|" header) in excused) { made[file "|" header] = 1; next }
      print where Room(file) " may not include " header " (game/'"'"'s folders, lowest first:" order \
            ", then game/ itself)"
      bad = 1
      next
    }
    if (!(own in layer) || !(target in layer) || target == header) next
    if ((own "|" target) in may || (own "|" header) in may) next
    if ((file "|" header) in excused) { made[file "|" header] = 1; next }
    print where own "/ may not include " header " (" own "/ uses itself and" uses[own] ")"
    bad = 1
  }
  END {
    for (e in excused) {
      if (e in made) continue
      split(e, part, "|")
      print "check-includes.sh: " part[1] " no longer includes " part[2] \
            ": remove it from the exceptions"
      bad = 1
    }
    if (NR == 0) { print "check-includes.sh: no includes found under " ENVIRON["PWD"]; bad = 1 }
    if (!bad) print "include rules: all " NR " includes keep them"
    exit bad
  }
' "$includes"
