#!/usr/bin/env bash
# Runs the conformance test (the CHIP-8 test suite in every profile each program is meant for)
# and writes its table of results into README.md, between the conformance table's two markers.
# The README stays as it is when any case fails: a table is only written from a passing run.
#
#   scripts/conformance-table.sh [BUILD_FOLDER]     (default: build)
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$top/build}
readme=$top/README.md
begins='<!-- conformance table begins -->'
ends='<!-- conformance table ends -->'

if [[ $(grep -cxF "$begins" "$readme") != 1 || $(grep -cxF "$ends" "$readme") != 1 ]]; then
  echo "$0: README.md needs each conformance table marker once, on a line of its own" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! PELLARK_CONFORMANCE_TABLE="$work/table.md" \
    "$build/bin/pellark_runner_tests" --gtest_filter='Suite/Conformance.*' >"$work/log" 2>&1; then
  cat "$work/log" >&2
  echo "$0: the conformance test failed; README.md is unchanged" >&2
  exit 1
fi

awk -v begins="$begins" -v ends="$ends" -v table="$work/table.md" '
  $0 == ends { inside = 0 }
  !inside { print }
  $0 == begins {
    print ""
    while ((getline line < table) > 0) print line
    print ""
    inside = 1
  }
' "$readme" >"$work/README.md"
cat "$work/README.md" >"$readme"
echo "README.md: conformance table written"
