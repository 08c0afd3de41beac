#!/usr/bin/env bash
# Runs one operator script on a fresh host folder with the demo data.
# Usage: run.sh <velmaro-host> <script.vms>
set -euo pipefail
host=$1
script=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$host" init "$dir/host" --demo-data >/dev/null
# Files the scripts name by relative path (pictures, ...) beside them.
files=$(dirname "$script")/files
if [[ -d $files ]]; then cp -r "$files" "$dir/files"; fi
cd "$dir"
# Files a script works on lie beside it in <script>.d and are copied into
# its working folder.
if [[ -d "${script%.vms}.d" ]]; then cp -R "${script%.vms}.d/." "$dir/"; fi
"$host" run "$dir/host" "$script"
