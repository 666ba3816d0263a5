#!/usr/bin/env bash
# Builds Pellark with AddressSanitizer and UndefinedBehaviorSanitizer in build-sanitize/ and
# runs every test there; any report fails the test it happens in.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$top/scripts/install-dependencies.sh"
cmake -S "$top" -B "$top/build-sanitize" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPELLARK_SANITIZE=ON -DPELLARK_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$top/build-sanitize"
ctest --test-dir "$top/build-sanitize" --output-on-failure -j "$(nproc)"
