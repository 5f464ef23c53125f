#!/usr/bin/env bash
# One fuzzing campaign: builds the fuzz preset when needed, fuzzes TARGET for
# SECONDS on a scratch copy of fuzz/corpus/TARGET, then minimises the grown
# corpus back into fuzz/corpus/TARGET. Inputs with a name of their own (the
# hand-written seeds, and the finding-* inputs that each made the target fail
# once) are kept as they are; the inputs a campaign adds are named by their
# SHA-1 and replaced by each minimisation.
#   scripts/fuzz.sh TARGET SECONDS [libFuzzer options...]
# Targets: the fuzz/*.cpp files with LLVMFuzzerTestOneInput. A failing input
# is left in build/fuzz/artifacts/TARGET and the corpus is not touched.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -lt 2 ]; then
  echo "usage: $0 TARGET SECONDS [libFuzzer options...]" >&2
  exit 2
fi
target=$1
seconds=$2
shift 2

bash scripts/install-deps.sh --fuzz
[ -f build/fuzz/CMakeCache.txt ] || cmake --preset fuzz
cmake --build build/fuzz -j2 --target "fuzz_$target"

bin=build/fuzz/bin/fuzz_$target
corpus=fuzz/corpus/$target
artifacts=build/fuzz/artifacts/$target
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$corpus" "$artifacts" "$scratch/grown" "$scratch/merged"
cp "$corpus"/. "$scratch/grown/" -r
# Targets that write files do so in TMPDIR; memory is faster than disk.
[ -d /dev/shm ] && [ -w /dev/shm ] && export TMPDIR=/dev/shm

set +e
nice -n 19 "$bin" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
  -artifact_prefix="$artifacts/" "$@" "$scratch/grown" 2>&1 | tee "$scratch/log" |
  grep -v -E '^#[0-9]+[[:space:]]+(NEW|REDUCE|pulse)'
status=${PIPESTATUS[0]}
set -e
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$scratch/log" | tail -1)
echo "fuzz_$target: ${runs:-?} executions in ${seconds} s"
if [ "$status" -ne 0 ]; then
  echo "fuzz_$target failed; the input is in $artifacts" >&2
  exit "$status"
fi

# Minimise: a small set of inputs (greedy set cover) that keeps every edge
# the grown corpus covers, plus every named input. Edges without their hit
# counts, so the corpus stays at a few dozen inputs.
nice -n 19 "$bin" -set_cover_merge=1 -use_counters=0 "$scratch/merged" "$scratch/grown" \
  >"$scratch/merge.log" 2>&1
sha1_name='^[0-9a-f]{40}$'
for named in "$corpus"/*; do
  [ -f "$named" ] && ! [[ $(basename "$named") =~ $sha1_name ]] || continue
  rm -f "$scratch/merged/$(sha1sum "$named" | cut -d' ' -f1)"
done
find "$corpus" -maxdepth 1 -type f -regextype posix-extended -regex '.*/[0-9a-f]{40}' -delete
cp "$scratch/merged"/. "$corpus/" -r
echo "fuzz/corpus/$target: $(find "$corpus" -maxdepth 1 -type f | wc -l) inputs"
