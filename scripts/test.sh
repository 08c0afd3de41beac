#!/usr/bin/env bash
# Builds everything and runs every test twice: once in an optimised build
# and once under AddressSanitizer and UndefinedBehaviorSanitizer. Then runs
# each benchmark briefly. Exits non-zero on the first failure.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VELMARO_BUILD_DIR:-$root/build}
build_asan=${VELMARO_ASAN_BUILD_DIR:-$root/build-asan}
jobs=$(nproc)

bash "$root/scripts/install-deps.sh"

echo "== release build: $build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j"$jobs"
ctest --test-dir "$build" --output-on-failure --timeout 120 -j"$jobs"

# Sanitizer build: -O1 with line tables only keeps it quick to compile
# while its reports still name files and lines.
echo "== sanitizer build: $build_asan"
cmake -S "$root" -B "$build_asan" -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
  -DVELMARO_SANITIZE=ON -DVELMARO_BENCH=OFF
cmake --build "$build_asan" -j"$jobs"
# The embedded Firebird engine keeps caches and pools alive until the
# process exits; those are its own, not ours, and are suppressed by library.
# use_tls=0: LeakSanitizer's tracer crashes ("Tracer caught signal 11")
# reading the thread-local storage of the engine's threads as they end, so
# thread-locals are not scanned; our code keeps no heap pointer only there.
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0:use_tls=0"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_init_order=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir "$build_asan" --output-on-failure --timeout 300 -j"$jobs"

# Fuzzing, where clang is found: each libFuzzer target of fuzz/ replays its
# corpus, then runs a fixed number of inputs from a fixed seed, under the
# same sanitizers (scripts/fuzz.sh; VELMARO_FUZZ_EXPLORE=<seconds> explores
# from random seeds instead).
bash "$root/scripts/fuzz.sh"

# Benchmarks print their own ratios against the baseline of the same run.
shopt -s nullglob
for b in "$build"/bin/*bench*; do
  [[ -f "$b" && -x "$b" && "$b" != *.so* ]] || continue
  echo "== $(basename "$b")"
  "$b" --benchmark_min_time=0.05
done
echo "== all tests passed"
