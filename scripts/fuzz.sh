#!/usr/bin/env bash
# Builds the fuzz target with clang in build-fuzz/ and runs it on the program collection for
# FUZZ_SECONDS (60 by default); a crash or a sanitizer report fails the script.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$top/build-fuzz"
"$top/scripts/install-dependencies.sh"
CXX=clang++ cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPELLARK_FUZZ=ON -DPELLARK_BUILD_TESTS=OFF -DPELLARK_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --target pellark_program_fuzzer

# The fuzzer adds what it finds to the first folder; the seeds stay as they are.
corpus="$build/corpus"
mkdir -p "$corpus" "$build/seeds" "$build/crashes"
cp "$top"/tests/data/roms/*.ch8 "$build/seeds/"
# The target's scratch files stay in the build folder, whatever way the fuzzer ends.
scratch="$build/scratch"
rm -rf "$scratch" && mkdir -p "$scratch"
TMPDIR="$scratch" "$build/bin/pellark_program_fuzzer" "$corpus" "$build/seeds" \
  -max_total_time="${FUZZ_SECONDS:-60}" -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$build/crashes/" -print_final_stats=1
