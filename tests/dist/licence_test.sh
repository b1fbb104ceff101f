#!/usr/bin/env bash
# licence_test.sh - the terms the game is given under say the same thing everywhere: the LICENSE
# file (the MIT licence), the Debian copyright file as installed (machine-readable, its Files: *
# under that licence's Debian name, Expat, with the very same text) and the AppStream metainfo
# (project_license MIT, and a licence for the metadata itself).
#
#   tests/dist/licence_test.sh SOURCE_DIR DIST_DIR   (DIST_DIR: the build's configured dist/)
set -u

root=$1
dist=$2
fail() { echo "FAIL: $*"; exit 1; }

licence="$root/LICENSE"
copyright="$dist/copyright"
metainfo=$(ls "$dist"/*.metainfo.xml)

[ "$(head -1 "$licence")" = "MIT License" ] || fail "LICENSE is not the MIT licence"
grep -q '^Copyright (c) [0-9]\{4\} ' "$licence" || fail "LICENSE names no copyright holder"

[ "$(head -1 "$copyright")" = \
  "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ] ||
  fail "the copyright file is not in the machine-readable format"
# The Files: * paragraph and its licence.
files_licence=$(awk '/^Files: \*$/ {f = 1} f && /^License:/ {print $2; exit}' "$copyright")
[ "$files_licence" = "Expat" ] || fail "Files: * is under \"$files_licence\", not Expat"
grep -q '^Copyright: [0-9]\{4\} ' "$copyright" || fail "the copyright file names no holder"
grep -qi 'all rights reserved\|no licence' "$copyright" && fail "the copyright file grants nothing"

# The stand-alone licence paragraph, unfolded, against LICENSE from its first term on.
text=$(awk '/^License: Expat$/ {n++; if (n == 2) {f = 1; next}} f && !/^ / {exit}
            f {sub(/^ /, ""); if ($0 == ".") $0 = ""; print}' "$copyright")
[ -n "$text" ] || fail "the copyright file carries no Expat text"
terms=$(sed -n '/^Permission is hereby granted/,$p' "$licence")
[ "$text" = "$terms" ] || fail "the copyright file's Expat text differs from LICENSE:
$(diff <(echo "$terms") <(echo "$text"))"

grep -q '<project_license>MIT</project_license>' "$metainfo" ||
  fail "the metainfo's project_license is not MIT"
grep -q '<metadata_license>[A-Za-z0-9.-]*</metadata_license>' "$metainfo" ||
  fail "the metainfo has no metadata_license"
echo "ok"
