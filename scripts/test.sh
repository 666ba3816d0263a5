#!/usr/bin/env bash
# Installs what is missing, builds Pellark and runs every test.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$top/scripts/build.sh"
ctest --test-dir "$top/build" --output-on-failure -j "$(nproc)"
