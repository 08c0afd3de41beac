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

# Fuzzing, where clang is found: each libFuzzer target of fuzz/ runs a few
# seconds from the seeds kept in fuzz/corpus, under the same sanitizers.
# New inputs go to a scratch folder; what breaks a check is kept in the
# build folder for replaying (fuzz_<target> <file>).
if command -v clang++ >/dev/null 2>&1; then
  build_fuzz=${VELMARO_FUZZ_BUILD_DIR:-$root/build-fuzz}
  echo "== fuzz targets: $build_fuzz"
  cmake -S "$root/fuzz" -B "$build_fuzz" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug
  cmake --build "$build_fuzz" -j"$jobs"
  mkdir -p "$build_fuzz/found"
  for target in "$build_fuzz"/fuzz_*; do
    [[ -f "$target" && -x "$target" ]] || continue
    name=$(basename "$target")
    scratch=$(mktemp -d)
    echo "== $name"
    "$target" -max_total_time="${VELMARO_FUZZ_SECONDS:-3}" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=0 -artifact_prefix="$build_fuzz/found/" \
      "$scratch" "$root/fuzz/corpus/${name#fuzz_}" || { rm -rf "$scratch"; exit 1; }
    rm -rf "$scratch"
  done
else
  echo "== no clang++: fuzz targets not built"
fi

# Benchmarks print their own ratios against the baseline of the same run.
shopt -s nullglob
for b in "$build"/bin/*bench*; do
  [[ -f "$b" && -x "$b" && "$b" != *.so* ]] || continue
  echo "== $(basename "$b")"
  "$b" --benchmark_min_time=0.05
done
echo "== all tests passed"
