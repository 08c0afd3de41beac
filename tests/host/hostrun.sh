#!/usr/bin/env bash
# velmaro-host run as a process: what it prints and how it ends.
# Usage: hostrun.sh <velmaro-host>
set -uo pipefail
host=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failures=0
fail() {
  echo "hostrun: $*"
  failures=$((failures + 1))
}
"$host" init "$dir/h" --demo-data >/dev/null || exit 1

# Fault: a bad line skipped and the script going on, the error naming the
# wrong line, an unanswered box hanging the host, or the exit status hiding
# it. Each case: the error printed, then the script.
failed_line() {
  printf '%s' "$2" >"$dir/script.vms"
  local out status
  out=$("$host" run "$dir/h" "$dir/script.vms" 2>&1)
  status=$?
  [[ $status == 1 ]] || fail "status $status, not 1, for: $2"
  [[ $out == *"$1"* ]] || fail "\"$1\" missing from: $out"
  if [[ $2 == *$'windows\n' && $out == *'> windows'* ]]; then fail "the line after the bad one ran"; fi
}
failed_line 'error: line 4: ' $'call demo 1 5\n\n# comment\nclick DemoForm.Nothing\nwindows\n'
failed_line 'error: line 2: nothing to answer' $'call demo 1 5\nclick DemoForm.ButtonDomanda\n'
# A box the module raises inside an export call counts the same.
failed_line 'error: line 2: nothing to answer' \
  $'sql user UPDATE TABBRIVANE SET VALORE=\'/proc/velmaro/x/archivio.fdb\' WHERE UTENTE=\'1\'\ncall ShowImpostazFormX 1 7\n'
failed_line 'error: line 1: nothing to answer' $'answer OK\n'
failed_line 'error: line 2: unknown command' $'windows\nfrobnicate now\n'
failed_line 'error: line 2: "uno" is not a number' $'windows\ncall demo uno 5\n'
# Numbers beyond 32 bits were cut: 4294968297 became opening id 1001.
failed_line 'error: line 1: "4294968297" is out of range' $'call ShowImpostazFormX 2 4294968297\n'
failed_line 'error: line 1: "-2147483649" is out of range' $'call demo -2147483649 5\n'
failed_line 'error: line 1: "99999999999999999999" is out of range' $'call demo 99999999999999999999 5\n'
failed_line 'error: line 2: unknown key "F99999999999"' $'call demo 1 5\nkey DemoForm.EditNome F99999999999\n'
failed_line 'error: line 1: libVelmaro.so has no export' $'call ShowNothingX 1 5\n'

# Fault: a wrong command line or a taken folder treated as a failed script
# (status 1) or, worse, as success.
usage() {
  "$@" >"$dir/usage.out" 2>&1
  local status=$?
  [[ $status == 2 ]] || fail "status $status, not 2, for: $*"
}
usage "$host"
usage "$host" fly "$dir/h"
usage "$host" run "$dir/nohost"
usage "$host" run "$dir/h" "$dir/missing.vms"
usage "$host" init "$dir/h"
grep -q -- '--force' "$dir/usage.out" || fail "a taken folder does not name --force"

# Fault: a database path holding any non-ASCII character refused by the
# client ("Cannot transliterate character between character sets"): the
# host folder could not be made, and the module could not open the company
# database named by "Archivio"; or the host's log row of the opening not
# written with its operator and company. Any box of the call would be left
# unanswered and fail the run.
name='Contabilità ´Ωλ日本'
"$host" init "$dir/$name" --demo-data >/dev/null || fail "init of an accented host folder"
cat >"$dir/script.vms" <<EOF
call ShowImpostazFormX 2 1001
expect "opened "
sql user SELECT VALORE FROM TABBRIVANE WHERE PARAMETRO='Archivio' AND UTENTE='2'
expect "$name/dati/archivio.fdb"
sql company SELECT 'bande=' || COUNT(*) FROM FASCESC
expect "bande=5"
sql user SELECT IDFINESTRA, UTENTE, DITTA FROM VORLOLOGFUNZ
expect "1001       | 2      | DEMO"
close TLisFasImpostForm
EOF
"$host" run "$dir/$name" "$dir/script.vms" >"$dir/accent.out" 2>&1 || {
  fail "the accented host folder:"
  cat "$dir/accent.out"
}

((failures == 0)) && echo "hostrun: passed"
exit $((failures > 0))
