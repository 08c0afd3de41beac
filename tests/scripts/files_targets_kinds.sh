#!/usr/bin/env bash
# Faults: a private target (0600) made readable by all by an export; a link
# to a shared file replaced by a local copy, the shared file left old while
# the window reported success; a link that names no file, or a FIFO, taken
# as a target; the temporary file of a run killed while writing left for
# good, or a write removing one a live writer still holds.
# The working folder gets the targets, the operator script
# (files_targets_kinds/operatore.vms) exports to them and makes the customer
# price file, and the harness then checks what the screen cannot show.
# Usage: files_targets_kinds.sh <velmaro-host>
set -euo pipefail
host=$1
script=$(cd "$(dirname "$0")" && pwd)/files_targets_kinds/operatore.vms
dir=$(mktemp -d)
holder=
cleanup() {
  if [[ -n $holder ]]; then
    kill "$holder" 2>/dev/null || true
    wait "$holder" 2>/dev/null || true
  fi
  rm -rf "$dir"
}
trap cleanup EXIT
fail() {
  echo "files_targets_kinds: $*"
  exit 1
}

"$host" init "$dir/host" --demo-data >/dev/null
cd "$dir"
mkdir condiviso
printf 'vecchio' >condiviso/listino.csv
chmod 0640 condiviso/listino.csv
printf 'vecchio' >condiviso/clienti.csv
ln -s condiviso/listino.csv lista.csv
ln -s condiviso/clienti.csv cliente.csv
printf 'vecchio' >privato.csv
chmod 0600 privato.csv
ln -s condiviso/manca.csv rotto.csv
mkfifo coda.csv
# Two leftovers of privato.csv: one of a killed run, one a live writer holds.
abbandonato=privato.csv.00000000000000aa.tmp
tenuto=privato.csv.00000000000000bb.tmp
printf 'mezzo' >"$abbandonato"
printf 'mezzo' >"$tenuto"
(
  exec 5<"$tenuto"
  flock -x 5
  exec sleep 600
) &
holder=$!
for ((i = 0; i < 100; i++)); do
  flock -n "$tenuto" true || break
  sleep 0.1
done
flock -n "$tenuto" true && fail "the live writer's lock was never taken"

"$host" run host "$script"

[[ -L lista.csv && $(readlink lista.csv) == condiviso/listino.csv ]] || fail "lista.csv is no longer the link"
[[ -L cliente.csv ]] || fail "cliente.csv is no longer a link"
[[ $(stat -c %a condiviso/listino.csv) == 640 ]] || fail "the shared list lost its mode"
[[ $(stat -c %a privato.csv) == 600 ]] || fail "privato.csv is $(stat -c %a privato.csv), not 600"
head -c 16 privato.csv | grep -q '^CODICE ARTICOLO' || fail "privato.csv was not exported"
[[ -L rotto.csv && ! -e condiviso/manca.csv ]] || fail "the link that names no file was followed"
[[ -p coda.csv ]] || fail "the FIFO was replaced"
[[ ! -e $abbandonato ]] || fail "the killed run's temporary file is still there"
[[ -f $tenuto ]] || fail "the live writer's temporary file was removed"
left=$(find . condiviso -maxdepth 1 -name '*.tmp' ! -name "$tenuto")
[[ -z $left ]] || fail "temporary files left: $left"
echo "files_targets_kinds: passed"
