#!/usr/bin/env bash
# Two operators in two host processes on one company: A imports into a
# list while B tries to delete it, import into it and give it a row; then
# B deletes it and A finds it gone. Each process reads its script from a
# pipe, one part at a time, and the harness feeds the next part once the
# output of the last one is there.
# Usage: rows_due_processi.sh <velmaro-host>
set -euo pipefail
host=$1
parts=$(dirname "$0")/rows_due_processi
dir=$(mktemp -d)
pids=()
cleanup() {
  exec 3>&- 4>&- 2>/dev/null || true
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$dir"
}
trap cleanup EXIT

fail() {
  echo "rows_due_processi: $*"
  for who in a b; do
    echo "---- output of $who"
    cat "$dir/$who.out" 2>/dev/null || true
  done
  exit 1
}

# Waits until the process's output holds the text; a failed line, or the
# process gone, fails the test.
await() {
  local who=$1 text=$2
  for ((i = 0; i < 1200; i++)); do
    grep -qF -- "$text" "$dir/$who.out" && return 0
    grep -q '^error: ' "$dir/$who.out" && fail "$who failed"
    sleep 0.1
  done
  fail "$who never printed \"$text\""
}

"$host" init "$dir/host" --demo-data >/dev/null
cp -R "$(dirname "$0")/rows_due_processi.d/." "$dir/"
cd "$dir"
"$host" run host <<'EOF' >/dev/null
sql company INSERT INTO LISTSC (ID, NOME, TIPO) VALUES (40, 'Conteso', 'N')
sql company INSERT INTO LISTSCDTNET (IDLISTSC, CODICEARTICOLO, ESTCODICE, PREZZO, DATAINIZIOVALIDITA, QUANTITASCAGLIONE) VALUES (40, 'CAF001', '0', 1, '01/01/2025', 0)
EOF

mkfifo a.in b.in
"$host" run host <a.in >a.out 2>&1 &
pids+=($!)
exec 3>a.in
"$host" run host <b.in >b.out 2>&1 &
pids+=($!)
exec 4>b.in

cat "$parts/a_importa.vms" >&3
await a "Continuare lo stesso?"
cat "$parts/b_respinto.vms" >&4
await b "B respinto"
cat "$parts/a_conclude.vms" >&3
await a "righe 40=3"
cat "$parts/b_elimina.vms" >&4
exec 4>&-
wait "${pids[1]}" || fail "b ended with status $?"
cat "$parts/a_cancellato.vms" >&3
exec 3>&-
wait "${pids[0]}" || fail "a ended with status $?"
grep -q '^error: ' a.out b.out && fail "a script line failed"
echo "rows_due_processi: passed"
