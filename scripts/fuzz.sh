#!/usr/bin/env bash
# Builds the fuzz targets with clang in build-fuzz/ and runs each for a quarter of FUZZ_SECONDS (60
# by default): the program fuzzer seeded with the shared folder's programs, the database fuzzer
# seeded with its program database, the key file fuzzer with key files of its own, the state
# fuzzer with a valid state it makes itself. A crash or a sanitizer report fails the script.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$top/build-fuzz"
shared=${PELLARK_SHARED_DIR:-$top/../shared}
database="$shared/chip-8-database"
"$top/scripts/install-dependencies.sh"
CXX=clang++ cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPELLARK_FUZZ=ON -DPELLARK_BUILD_TESTS=OFF -DPELLARK_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --target pellark_program_fuzzer pellark_database_fuzzer \
  pellark_key_file_fuzzer pellark_state_fuzzer

# The seeds come from the shared folder at every run and are never part of the project.
seeds="$build/seeds"
rm -rf "$seeds" && mkdir -p "$seeds/programs" "$seeds/database" "$seeds/keys" "$seeds/states" \
  "$build/crashes"
cp "$shared"/roms/*.ch8 "$seeds/programs/"
# A database input is its four files, separated by NUL bytes: the whole database, and its
# platforms and quirks with no programs.
{
  cat "$database/programs.json" && printf '\0' && cat "$database/sha1-hashes.json" &&
    printf '\0' && cat "$database/platforms.json" && printf '\0' && cat "$database/quirks.json"
} >"$seeds/database/whole"
{
  printf '[]\0{}\0' && cat "$database/platforms.json" && printf '\0' &&
    cat "$database/quirks.json"
} >"$seeds/database/no-programs"

# Key files: one of the designed machine with keys held and let go, one of XO-CHIP's rules.
printf 'pellark-keys 1\nprogram %s\nrules\nflag-registers 0\ncycles-per-frame 0\n%s\n%s\n' \
  0123456789abcdef0123456789abcdef01234567 'switches shift,memory,clip' \
  $'passes 900\n1 0010\n40 0000\n41 8001' >"$seeds/keys/designed"
printf 'pellark-keys 1\nprogram %s\nrules %s\nflag-registers 16\n%s\nswitches none\npasses 0\n' \
  89abcdef0123456789abcdef0123456789abcdef \
  'flag-written-last random-byte-masked platform-sprites complete-fonts platform-group-zero key-wait-for-release xo-chip audible frame-timing' \
  'cycles-per-frame 1000' >"$seeds/keys/xo-chip"

seconds=$((${FUZZ_SECONDS:-60} / 4))
# Runs one target on its corpus, to which it adds what it finds; the seeds stay as they are.
fuzz() {
  local target=$1 seedFolder=$2
  shift 2
  mkdir -p "$build/corpus/$seedFolder"
  # The target's scratch files stay in the build folder, whatever way the fuzzer ends.
  local scratch="$build/scratch"
  rm -rf "$scratch" && mkdir -p "$scratch"
  TMPDIR="$scratch" "$build/bin/$target" "$build/corpus/$seedFolder" "$seeds/$seedFolder" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$build/crashes/$target-" -print_final_stats=1 "$@"
}
fuzz pellark_program_fuzzer programs
fuzz pellark_database_fuzzer database -dict="$top/fuzz/database.dict"
fuzz pellark_key_file_fuzzer keys
# The state fuzzer makes its valid state itself.
fuzz pellark_state_fuzzer states
