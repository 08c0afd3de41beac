#!/usr/bin/env bash
# Runs the demo's operator scripts in the order of their names on one new
# host folder with the demo data; the first failed line fails the run.
# Usage: demo.sh <velmaro-host> <demo-folder>
set -euo pipefail
host=$1
demo=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$host" init "$dir/host" --demo-data >/dev/null
cd "$dir"
for script in "$demo"/*.vms; do
  "$host" run "$dir/host" "$script" >"$dir/out" 2>&1 || { cat "$dir/out"; echo "failed: $script"; exit 1; }
done
