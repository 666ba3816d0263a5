#!/usr/bin/env bash
# Runs two builds of pellark-run on the same programs and says whether every output is the same
# byte for byte: the trace, the state, all of memory, the screen, standard error and the exit
# status, for each program of the shared collection and for random programs, in every profile.
# A change of shape must leave them all as they were.
#
#   scripts/compare-runs.sh OLD/pellark-run NEW/pellark-run [SHARED_FOLDER]
#
# Each pellark-run finds its own boot image beside itself. PROFILES (default
# "auto designed chip8 modern schip10 schip xochip"), RANDOM_PROGRAMS (default 200) and INSTRUCTIONS (default
# 20000) change what is run.
set -euo pipefail

if [[ $# -lt 2 ]]; then
  echo "usage: $0 OLD_PELLARK_RUN NEW_PELLARK_RUN [SHARED_FOLDER]" >&2
  exit 2
fi
old=$1
new=$2
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
shared=${3:-$top/../shared}
profiles=${PROFILES:-auto designed chip8 modern schip10 schip xochip}
randomPrograms=${RANDOM_PROGRAMS:-200}
instructions=${INSTRUCTIONS:-20000}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Random programs, the same ones on every run: a few bytes to the largest that fits, with the
# instruction groups mixed as they come.
python3 - "$work/random" "$randomPrograms" <<'EOF'
import os, random, sys
folder, count = sys.argv[1], int(sys.argv[2])
os.makedirs(folder)
generator = random.Random(8)
for index in range(count):
    size = generator.choice([2, 16, 64, 256, 1024, 3585])
    with open(os.path.join(folder, "random-%03d.ch8" % index), "wb") as program:
        program.write(bytes(generator.randrange(256) for _ in range(size)))
EOF

programs=("$shared"/roms/*.ch8 "$work"/random/*.ch8)
# Keys held now and then, so that key waits end and key tests see both states.
presses=(--press 5@1500+400 --press F@6000+300 --press 0@9000+2000 --press A@15000+500)

runOne() {  # runOne BINARY PROFILE PROGRAM OUTPUT
  local status=0
  "$1" -n "$instructions" --profile "$2" "${presses[@]}" --trace --state --screen \
    --memory 0:4097 "$3" >"$4.out" 2>"$4.err" || status=$?
  echo "$status" >"$4.status"
}

compared=0
differing=0
for program in "${programs[@]}"; do
  for profile in $profiles; do
    runOne "$old" "$profile" "$program" "$work/old"
    runOne "$new" "$profile" "$program" "$work/new"
    compared=$((compared + 1))
    for part in out err status; do
      if ! cmp -s "$work/old.$part" "$work/new.$part"; then
        differing=$((differing + 1))
        echo "differs: $(basename "$program") --profile $profile ($part)"
        break
      fi
    done
  done
done
echo "compared $compared runs of ${#programs[@]} programs: $differing differ"
[[ $differing -eq 0 ]]
