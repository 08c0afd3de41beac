#!/usr/bin/env bash
# Builds Velmaro, makes a host folder with the sample company "DEMO" and
# runs the operator scripts of tools/host/demo on it, in the order of their
# names, printing what the operator sees. Usage: bash scripts/demo.sh [host-folder]   (default out/demo)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VELMARO_BUILD_DIR:-$root/build}
dir=${1:-$root/out/demo}

bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)"

host="$build/bin/velmaro-host"
echo "== host folder: $dir"
"$host" init "$dir" --demo-data --force

for script in "$root"/tools/host/demo/*.vms; do
  echo "== operator script: ${script#$root/}"
  "$host" run "$dir" "$script"
done
