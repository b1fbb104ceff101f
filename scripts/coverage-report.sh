#!/usr/bin/env bash
# Reads the counts that a coverage build's test run left in its build folder and writes, there,
# coverage.html (with a page per source file) and coverage-layers.txt, the table of line and branch
# coverage per layer folder, which it also prints. Only the layers' own sources count: tests/,
# bench/, fuzz/, tools/ and the generated embed units (in the build folder) are left out.
# Needs gcovr (scripts/install-deps.sh coverage) and the python3 it runs on.
#   scripts/coverage-report.sh [build folder, default build-coverage]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build-coverage}" && pwd)
layers=(core system audio graphics game platform)

filters=()
for layer in "${layers[@]}"; do filters+=(--filter "$root/$layer/"); done

# gcc counts a branch for every call that may throw; no test can reach most of those, so the figures
# leave them out, with the branches gcc itself marks unreachable.
gcovr --root "$root" "$build" "${filters[@]}" -j 2 \
  --exclude-throw-branches --exclude-unreachable-branches \
  --html-details "$build/coverage.html" --html-title "Zumbrix coverage" \
  --json-summary "$build/coverage-summary.json"

python3 "$root/scripts/coverage_layers.py" "$build/coverage-summary.json" "${layers[@]}" \
  | tee "$build/coverage-layers.txt"
echo "report: $build/coverage.html"
