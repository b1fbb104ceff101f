#!/usr/bin/env bash
# check-walkthrough.sh - the walk-through (docs/walkthrough.md), and as far as they go README.md and
# HACKING.md, claim only what the code does:
#  - every path it names (game/frame_loop.cpp) is a file of the repository, or generated from one
#    (game/config/version.h from game/config/version.h.in);
#  - "`G()` in `F`" (also "`G()` and `H()` in `F`"): file F defines or declares G;
#  - a function on a line of a drawing (gameframe(), mixer::pass()) is found in one of the files
#    that line names, or anywhere in the sources when it names none; in the prose, anywhere;
#  - "`X()` ... calls `Y()`" in the prose, and each step of a call tree drawn with ├ and └ (the
#    functions drawn on a line, before its file, under the one it hangs from): X's body names Y;
#  - the layer lines ("game/ -> graphics/ -> ...") here, in README.md and in HACKING.md draw only
#    uses the include rules allow (scripts/check-includes.sh), and between them reach every use
#    they allow; HACKING.md's table of what each layer may include is the rules, exactly, and its
#    table of game/'s folders lists them in the include check's order.
# Prints each claim it cannot confirm and exits 1 if there was one.
# Usage: scripts/check-walkthrough.sh [repository root]. Needs bash, grep and awk.
set -u
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root" || exit 1
[ -f docs/walkthrough.md ] || { echo "no docs/walkthrough.md"; exit 1; }

index=$(mktemp)
trap 'rm -f "$index"' EXIT
sources="core platform system graphics audio game harness tools"

# "use:name" for every name( in the sources, "def:file|name" for every function a file defines or
# declares, "body:file|function|name" for every name in a defined function's body, then the files
# that exist and the layers' rules.
for folder in $sources; do
  [ -d "$folder" ] && find "$folder" -type f \( -name '*.cpp' -o -name '*.h' \)
done | sort | xargs awk '
  FNR == 1 { infunc = "" }
  {
    line = $0
    rest = line
    while (match(rest, /[A-Za-z_][A-Za-z0-9_]*(::~?[A-Za-z_][A-Za-z0-9_]*)*\(/)) {
      print "use:" FILENAME "|" substr(rest, RSTART, RLENGTH - 1)
      rest = substr(rest, RSTART + RLENGTH)
    }
    header = FILENAME ~ /\.h$/
    # A definition or declaration: a type (or nothing, at the start of a line) and then the name.
    def = ""
    if (line !~ /^[ \t]*(return|else|case|delete|new|throw|if|for|while|switch|do|goto|#)[ (]/ &&
        line !~ /^[ \t]*(return|else)$/) {
      if (match(line, /^([A-Za-z_][A-Za-z0-9_:<>,*& ]*[*& ])?~?[A-Za-z_][A-Za-z0-9_]*(::~?[A-Za-z_][A-Za-z0-9_]*)*\(/))
        def = substr(line, 1, RLENGTH - 1)
      else if (header && match(line, /^[ \t]+[A-Za-z_][A-Za-z0-9_:<>,*& ]*[*& ]~?[A-Za-z_][A-Za-z0-9_]*\(/))
        def = substr(line, 1, RLENGTH - 1)
    }
    if (def != "") {
      sub(/.*[ *&]/, "", def)
      print "def:" FILENAME "|" def
      if (!header && line !~ /^[ \t]/ && line !~ /;[ \t]*$/) infunc = def
    }
    if (infunc != "") {
      rest = line
      while (match(rest, /[A-Za-z_][A-Za-z0-9_]*/)) {
        print "body:" FILENAME "|" infunc "|" substr(rest, RSTART, RLENGTH)
        rest = substr(rest, RSTART + RLENGTH)
      }
      if (line ~ /^}/ || (line !~ /^[ \t]/ && line ~ /}[ \t]*$/)) infunc = ""
    }
  }
' >"$index"
find core platform system graphics audio game harness tools tests bench fuzz docs scripts cmake \
  -type f 2>/dev/null | sed 's/^/file:/' >>"$index"
for doc in README.md HACKING.md; do [ -f "$doc" ] && echo "file:$doc" >>"$index"; done
sed -n "/^rules='/,/^'/p" scripts/check-includes.sh | grep -E '^[a-z]+([[:space:]]|$)' | sed 's/^/rule:/' >>"$index"

rooms=$(sed -n "s/^rooms='\(.*\)'$/\1/p" scripts/check-includes.sh)

for doc in docs/walkthrough.md README.md HACKING.md; do
  [ -f "$doc" ] || continue
  awk -v doc="$doc" -v rooms="$rooms" '
    FNR == NR {
      kind = substr($0, 1, index($0, ":") - 1); v = substr($0, length(kind) + 2)
      if (kind == "file") { exists[v] = 1; next }
      if (kind == "rule") {
        n = split(v, w, " ")
        for (i = 2; i <= n; i++) if (!index(w[i], "/")) allowed[w[1] "|" w[i]] = 1
        for (i = 2; i <= n; i++) ruleword[w[1] "|" w[i]] = 1
        rulelayer[w[1]] = 1
        next
      }
      split(v, part, "|")
      if (kind == "use") {
        at[part[1] "|" part[2]] = 1; anywhere[part[2]] = 1
        m = part[2]; sub(/.*::/, "", m); at[part[1] "|*" m] = 1
      } else if (kind == "def") {
        defined[part[1] "|" part[2]] = 1; definedin[part[2]] = definedin[part[2]] " " part[1]
        m = part[2]; sub(/.*::/, "", m); defined[part[1] "|*" m] = 1
      } else if (kind == "body") {
        names[part[1] "|" part[2] "|" part[3]] = 1
      }
      next
    }
    function Fail(text) { print doc ":" (failat ? failat : FNR) ": " text; bad = 1 }
    function Short(name) { sub(/.*::/, "", name); return name }
    # Does function `f` (defined in one of the files `where`, or wherever it is defined) name `g`?
    function Names(f, g, where,    files, n, i, s) {
      s = Short(g)
      n = split(where != "" ? where : definedin[f], files, " ")
      for (i = 1; i <= n; i++)
        if ((files[i] "|" f "|" s) in names) return 1
      return 0
    }
    function Files(text,    n, path) {
      n = 0; linefiles = ""
      while (match(text, /(core|platform|system|graphics|audio|game|harness|tools|tests|bench|fuzz|docs|scripts|cmake)\/[A-Za-z0-9_.\/-]*\.(cpp|h|md|sh|cmake|txt|in)/)) {
        path = substr(text, RSTART, RLENGTH); text = substr(text, RSTART + RLENGTH)
        checked++
        # A generated file counts by its template (game/config/version.h from game/config/version.h.in).
        if ((path in exists) || ((path ".in") in exists)) { lf[++n] = path; linefiles = linefiles " " path }
        else Fail("no file " path)
      }
      return n
    }
    # The layer lines: "a/ -> b/ -> c/", every arrow a use the rules allow. Layers side by side
    # ("a/ -> b/ c/ -> d/") are a group: each of them is used by the group before and uses the
    # group after. Words that are no layer (a closing remark) end the line.
    function Arrows(text,    n, w, i, j, k, left, right, nl, nr, a, b) {
      if (text !~ /^[ \t]*[a-z]+\/[ \t]+->[ \t]+[a-z]+\//) return
      n = split(text, w, /[ \t]+->[ \t]+/)
      for (i = 1; i < n; i++) {
        nl = Group(w[i], left); nr = Group(w[i + 1], right)
        for (j = 1; j <= nl; j++) for (k = 1; k <= nr; k++) {
          a = left[j]; b = right[k]
          checked++; drawn[a "|" b] = 1; arrows = 1
          if (!((a "|" b) in allowed)) Fail("the arrow " a "/ -> " b "/ is no use the include rules allow")
        }
      }
    }
    function Group(text, out,    n, w, i, m) {
      n = split(text, w, /[ \t]+/); m = 0
      for (i = 1; i <= n; i++) {
        if (w[i] == "") continue
        if (w[i] !~ /^[a-z]+\/$/) break
        out[++m] = substr(w[i], 1, length(w[i]) - 1)
      }
      return m
    }
    # A row of the table of what each layer may include: | `layer/` | `a/`, `b/` ... | ...
    function TableRow(text,    cell, n, w, i, layer, item, seen) {
      n = split(text, cell, "|")
      if (n < 3 || cell[2] !~ /^ *`[a-z]+\/` *$/) return
      layer = cell[2]; gsub(/[ `\/]/, "", layer)
      if (!(layer in rulelayer)) return
      tablerows[layer] = 1; checked++
      split("", seen)
      n = split(cell[3], w, /[ ,]+/)
      for (i = 1; i <= n; i++) {
        item = w[i]; gsub(/`/, "", item); if (item !~ /^[a-z]+\//) continue
        if (item ~ /\/$/) sub(/\/$/, "", item)
        seen[item] = 1
        if (!((layer "|" item) in ruleword)) Fail("the table says " layer "/ may include " item ", which the rules do not allow")
      }
      for (k in ruleword) {
        split(k, p, "|")
        if (p[1] == layer && !(p[2] in seen)) Fail("the table leaves out that " layer "/ may include " p[2])
      }
    }
    # The walk-through only: the files and functions a line of a drawing names (prose: only that
    # they exist).
    function Names_(text, prose,    n, rest, call, method, found, i, where) {
      n = Files(text)
      if (prose) n = 0
      rest = text
      while (match(rest, /[A-Za-z_][A-Za-z0-9_]*(::~?[A-Za-z_][A-Za-z0-9_]*)*\(\)/)) {
        call = substr(rest, RSTART, RLENGTH - 2); rest = substr(rest, RSTART + RLENGTH); checked++
        method = Short(call)
        found = (n == 0) ? (call in anywhere) : 0
        for (i = 1; i <= n; i++)
          if (((lf[i] "|" call) in at) || ((lf[i] "|*" method) in at) || ((lf[i] "|" call) in defined)) found = 1
        if (!found) {
          where = n ? substr(linefiles, 2) : "the sources"
          Fail(call "() is not in " where)
        }
      }
    }
    # A paragraph (or list item) of prose: its names, "in" and "calls" claims.
    function Prose(para,    rest, claim, file, fname, caller, callee, tail) {
      if (para == "") return
      # A list item'"'"'s continued lines are indented: the claims read across the breaks.
      gsub(/[ \t]+/, " ", para)
      failat = paraline
      Names_(para, 1)
      # "`G()` in `F`" and "`G()` and `H()` in `F`": F defines them.
      rest = para
      while (match(rest, /(`[A-Za-z_][A-Za-z0-9_:~]*\(\)`(, | and | or ))*`[A-Za-z_][A-Za-z0-9_:~]*\(\)` in `[^`]+`/)) {
        claim = substr(rest, RSTART, RLENGTH); rest = substr(rest, RSTART + RLENGTH)
        file = claim; sub(/.* in `/, "", file); sub(/`$/, "", file)
        if (!(file in exists)) continue
        while (match(claim, /`[A-Za-z_][A-Za-z0-9_:~]*\(\)`/)) {
          fname = substr(claim, RSTART + 1, RLENGTH - 4); claim = substr(claim, RSTART + RLENGTH)
          checked++
          if (!((file "|" fname) in defined) && !((file "|*" Short(fname)) in defined))
            Fail(fname "() is not defined in " file)
        }
      }
      # "`X()` [in `F`][,] [which|then|that] calls `Y()` [and `Z()`]": X names Y.
      rest = para
      while (match(rest, /`[A-Za-z_][A-Za-z0-9_:~]*\(\)`( in `[^`]+`)?,? ((which|then|that|also|first) )?calls `[A-Za-z_][A-Za-z0-9_:~]*\(\)`( and `[A-Za-z_][A-Za-z0-9_:~]*\(\)`)?/)) {
        claim = substr(rest, RSTART, RLENGTH); rest = substr(rest, RSTART + RLENGTH)
        match(claim, /`[^`]*\(\)`/); caller = substr(claim, RSTART + 1, RLENGTH - 4)
        file = ""
        if (match(claim, / in `[^`]+`/)) file = substr(claim, RSTART + 5, RLENGTH - 6)
        tail = claim; sub(/.*calls /, "", tail)
        while (match(tail, /`[^`]*\(\)`/)) {
          callee = substr(tail, RSTART + 1, RLENGTH - 4); tail = substr(tail, RSTART + RLENGTH)
          checked++
          if (!Names(caller, callee, file)) Fail(caller "() does not call " callee "()")
        }
      }
      failat = 0
    }
    {
      line = $0
      Arrows(line)
      if (doc == "HACKING.md") TableRow(line)
      # A row of the table of the game folders: | `game/room/` | ...
      if (doc == "HACKING.md" && match(line, /^\| `game\/[a-z]+\/` \|/)) {
        listed = listed " " substr(line, RSTART + 8, RLENGTH - 12); checked++
      }
      code = line ~ /^    /
      if (!code) {
        depth = 0
        # A blank line or a list item starts a new paragraph.
        if (line ~ /^[ \t]*$/ || line ~ /^ *([-*]|[0-9]+\.) /) { Prose(para); para = ""; paraline = FNR }
        if (line !~ /^[ \t]*$/) para = para " " line
        next
      }
      Prose(para); para = ""
      Names_(line)
      # Call trees: a line with ├ or └ hangs from the nearest line above drawn further left.
      plain = line; gsub(/│/, " ", plain)
      first = ""
      if (match(plain, /[A-Za-z_][A-Za-z0-9_]*(::~?[A-Za-z_][A-Za-z0-9_]*)*\(\)/))
        first = substr(plain, RSTART, RLENGTH - 2)
      g = index(plain, "├ "); if (!g) g = index(plain, "└ ")
      if (g) {
        while (depth > 0 && col[depth] >= g) depth--
        parent = depth > 0 ? fn[depth] : ""
        pfiles = depth > 0 ? fl[depth] : ""
        # The names drawn in the tree, before the file column; the rest is a remark.
        rest = substr(plain, g)
        if (match(rest, /(core|platform|system|graphics|audio|game|harness|tools)\/[A-Za-z0-9_.\/-]*\.(cpp|h)/))
          rest = substr(rest, 1, RSTART - 1)
        if (parent != "") {
          while (match(rest, /[A-Za-z_][A-Za-z0-9_]*(::~?[A-Za-z_][A-Za-z0-9_]*)*\(\)/)) {
            child = substr(rest, RSTART, RLENGTH - 2); rest = substr(rest, RSTART + RLENGTH)
            checked++
            if (!Names(parent, child, pfiles)) Fail(parent "() does not call " child "()")
          }
        }
        Files(plain); col[++depth] = g; fn[depth] = first; fl[depth] = substr(linefiles, 2)
      } else if (first != "") {
        Files(plain); depth = 1; col[1] = 0; fn[1] = first; fl[1] = substr(linefiles, 2)
      }
    }
    END {
      Prose(para)
      if (arrows) {
        # Every use the rules allow is drawn, directly or through other arrows.
        for (k in allowed) reach[k] = (k in drawn)
        changed = 1
        while (changed) {
          changed = 0
          for (a in rulelayer) for (b in rulelayer) for (c in rulelayer)
            if (!((a "|" c) in reached) && ((a "|" b) in drawn || (a "|" b) in reached) &&
                ((b "|" c) in drawn || (b "|" c) in reached)) { reached[a "|" c] = 1; changed = 1 }
          for (k in drawn) if (!(k in reached)) { reached[k] = 1; changed = 1 }
        }
        for (k in allowed) {
          split(k, p, "|")
          if (p[1] == "harness") continue
          if (!(k in reached)) { print doc ": the layer lines never show that " p[1] "/ uses " p[2] "/"; bad = 1 }
        }
      }
      if (doc == "HACKING.md")
        for (l in rulelayer)
          if (!(l in tablerows)) { print doc ": the table of what each layer may include has no row for " l "/"; bad = 1 }
      if (doc == "HACKING.md" && substr(listed, 2) != rooms)
        { print doc ": the table of game/'"'"'s folders lists \"" substr(listed, 2) "\", the include check'"'"'s order is \"" rooms "\""; bad = 1 }
      if (doc == "docs/walkthrough.md" && !checked) { print doc " names nothing to check"; exit 1 }
      if (!arrows) { print doc ": no layer lines (\"game/ -> graphics/ -> ...\")"; bad = 1 }
      if (!bad) print doc ": all " checked " claims hold"
      exit bad
    }
  ' "$index" "$doc" || status=1
done
exit "${status:-0}"
