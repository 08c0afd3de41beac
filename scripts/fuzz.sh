#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each one. scripts/test.sh runs this.
#
# By default the run is repeatable: each target first replays every input
# kept in fuzz/corpus/<target>, then tries a fixed number of new inputs
# derived from a fixed seed, so two runs of the same code try the same
# inputs and a run fails only on a fault of the code under test.
#
# VELMARO_FUZZ_EXPLORE=<seconds> explores instead: each target runs that
# many seconds from a random seed (libFuzzer prints it as "Seed:"), to look
# for new faults. An input that fails in either mode is kept in
# <fuzz build>/found/ (replay: <fuzz build>/fuzz_<target> <file>); once the
# fault is fixed, the input goes into fuzz/corpus/<target> so that every
# later run replays it.
#
# Nothing is written into fuzz/corpus: new inputs go to a scratch folder.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_fuzz=${VELMARO_FUZZ_BUILD_DIR:-$root/build-fuzz}
explore=${VELMARO_FUZZ_EXPLORE:-}
jobs=$(nproc)

if ! command -v clang++ >/dev/null 2>&1; then
  echo "== no clang++: fuzz targets not built"
  exit 0
fi
if [[ -n $explore && ! $explore =~ ^[1-9][0-9]*$ ]]; then
  echo "VELMARO_FUZZ_EXPLORE must be a number of seconds, not \"$explore\"" >&2
  exit 2
fi

# New inputs tried after the corpus, per target: a few seconds each.
declare -A runs=([date]=200000 [encoding]=90000 [helpers]=25000 [ini]=3000 [number]=60000
                 [script]=80000)
seed=1
# A repeatable run keeps to the same inputs: libFuzzer does not mutate with
# the values the code compares (-use_cmp=0: they hold the clock and
# addresses), nor read the scratch folder again during the run (-reload=0);
# fuzz/CMakeLists.txt keeps the coverage itself free of addresses.

echo "== fuzz targets: $build_fuzz"
cmake -S "$root/fuzz" -B "$build_fuzz" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug
cmake --build "$build_fuzz" -j"$jobs"
mkdir -p "$build_fuzz/found"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for target in "$build_fuzz"/fuzz_*; do
  [[ -f "$target" && -x "$target" ]] || continue
  name=$(basename "$target")
  short=${name#fuzz_}
  if [[ -n $explore ]]; then
    mode=(-max_total_time="$explore")
    echo "== $name: exploring for $explore s from a random seed"
  else
    mode=(-runs="${runs[$short]:-20000}" -seed="$seed" -use_cmp=0 -reload=0)
    echo "== $name: the corpus, then ${runs[$short]:-20000} inputs from seed $seed"
  fi
  rm -rf "${scratch:?}/$short"
  mkdir "$scratch/$short"
  "$target" "${mode[@]}" -timeout=10 -rss_limit_mb=2048 -print_final_stats=0 \
    -artifact_prefix="$build_fuzz/found/" "$scratch/$short" "$root/fuzz/corpus/$short"
  # The new inputs it kept, named by their SHA-1: the same list on every
  # repeatable run of the same code.
  if [[ -z $explore ]]; then
    kept=$(find "$scratch/$short" -type f -printf '%f\n' | sort)
    echo "== $name: $(grep -c . <<<"$kept") new inputs kept, list $(sha1sum <<<"$kept" | cut -c1-12)"
  fi
done
