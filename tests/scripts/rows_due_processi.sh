#!/usr/bin/env bash
# Two operators in two host processes on one company, driven line by line
# by one scenario of rows_due_processi/ (due_operatori.scena: A imports into
# a list while B tries to write it; B deletes it with the rows A imported;
# then, on list 2, B writes and A, whose window opened earlier, goes on
# working without reopening it).
#
# The scenario's lines go to the process named by the last "@a" or "@b"
# line. "@attendi <text>" waits until that process printed the text since
# the last wait (a message box it now waits on). On changing process the
# harness first waits until the process left has run every line it was
# sent, unless it waits on a box.
#
# Files the scenario works on lie in rows_due_processi.d and, for a
# scenario of its own, beside it in <scenario>.d; both are copied into the
# working folder.
# Usage: rows_due_processi.sh <velmaro-host> [<scenario>]
set -euo pipefail
host=$1
here=$(cd "$(dirname "$0")" && pwd)
scena=${2:-$here/rows_due_processi/due_operatori.scena}
scena=$(cd "$(dirname "$scena")" && pwd)/$(basename "$scena")
nome=$(basename "$scena" .scena)
dir=$(mktemp -d)
pids=()
# Every process started ends with the test, failed or not: asked to stop,
# given a few seconds, then killed; the folder goes only after they are gone.
cleanup() {
  exec 3>&- 4>&- 2>/dev/null || true
  local p vivi
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  for ((i = 0; i < 50; i++)); do
    vivi=0
    for p in "${pids[@]}"; do kill -0 "$p" 2>/dev/null && vivi=1; done
    ((vivi)) || break
    sleep 0.1
  done
  for p in "${pids[@]}"; do kill -KILL "$p" 2>/dev/null || true; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
  rm -rf "$dir"
}
trap cleanup EXIT

fail() {
  echo "rows_due_processi ($nome): $*"
  for who in a b; do
    echo "---- output of $who"
    cat "$dir/$who.out" 2>/dev/null || true
  done
  exit 1
}

# Waits until the process's output holds the text past what earlier waits
# consumed; a failed line, or the process gone, fails the test.
declare -A letto=([a]=0 [b]=0)
await() {
  local who=$1 text=$2
  for ((i = 0; i < 1200; i++)); do
    if tail -c +$((letto[$who] + 1)) "$dir/$who.out" | grep -qF -- "$text"; then
      letto[$who]=$(stat -c %s "$dir/$who.out")
      return 0
    fi
    grep -q '^error: ' "$dir/$who.out" && fail "$who failed"
    sleep 0.1
  done
  fail "$who never printed \"$text\""
}

declare -A fd=([a]=3 [b]=4)
passo=0
# Waits until the process ran every line sent to it: it prints a marker.
sincronizza() {
  passo=$((passo + 1))
  echo "sql company SELECT 'passo $passo' FROM RDB\$DATABASE" >&"${fd[$1]}"
  await "$1" "passo $passo"
}

"$host" init "$dir/host" --demo-data >/dev/null
cp -R "$here/rows_due_processi.d/." "$dir/"
if [[ -d "${scena%.scena}.d" ]]; then cp -R "${scena%.scena}.d/." "$dir/"; fi
cd "$dir"
mkfifo a.in b.in
"$host" run host <a.in >a.out 2>&1 &
pids+=($!)
exec 3>a.in
"$host" run host <b.in >b.out 2>&1 &
pids+=($!)
exec 4>b.in

chi=
sospeso=0  # the current process waits on a message box
while IFS= read -r riga; do
  case $riga in
    @a | @b)
      if [[ -n $chi && $chi != "${riga#@}" && $sospeso == 0 ]]; then sincronizza "$chi"; fi
      chi=${riga#@}
      sospeso=0
      ;;
    "@attendi "*)
      await "$chi" "${riga#@attendi }"
      sospeso=1
      ;;
    "" | \#*)
      ;;
    *)
      [[ -n $chi ]] || fail "a line before the first @a or @b"
      echo "$riga" >&"${fd[$chi]}"
      sospeso=0
      ;;
  esac
done <"$scena"
sincronizza a
sincronizza b
exec 3>&- 4>&-
wait "${pids[0]}" || fail "a ended with status $?"
wait "${pids[1]}" || fail "b ended with status $?"
grep -q '^error: ' a.out b.out && fail "a script line failed"
echo "rows_due_processi ($nome): passed"
