#!/usr/bin/env bash
# man_page_test.sh - the manual page names every option the program's --help lists, and every
# exit status the program can end with.
#
#   tests/dist/man_page_test.sh PROGRAM MAN_PAGE   (MAN_PAGE: the configured zumbrix.6)
set -u

program=$1
page=$2
fail() { echo "FAIL: $*"; exit 1; }

help=$("$program" --help) || fail "--help failed"
options=$(echo "$help" | sed -n '/^Options:/,/^$/p' | grep -o -- '--\?-[a-z][a-z-]*' | sort -u)
[ -n "$options" ] || fail "--help lists no options"
missing=""
for option in $options; do
  # In the page's source every "-" of an option is written "\-".
  escaped=$(echo "$option" | sed 's/-/\\\\-/g')
  grep -q -- "$escaped" "$page" || missing="$missing $option"
done
[ -z "$missing" ] && echo "all $(echo $options | wc -w) options named" ||
  fail "the manual page does not name:$missing"
for status in 0 1 2 3; do
  sed -n '/^\.SH EXIT STATUS/,/^\.SH/p' "$page" | grep -q "^\.B $status\$\|^\.IP $status\|^$status " ||
    fail "the manual page's EXIT STATUS does not name $status"
done
echo "ok"
