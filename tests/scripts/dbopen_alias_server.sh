#!/usr/bin/env bash
# A company database reached through a Firebird server: the folder that
# "Archivio" names holds a dati.ini with a server and an alias, and the
# editor must open "server:alias" on a private server on loopback. The
# alias is known to that server only (its databases.conf) and names a copy
# of the company whose first band is renamed, so the band's name shows only
# when the name reached the server; the folder's own file, which the module
# falls back on, and any local reading of the alias show something else.
# Usage: dbopen_alias_server.sh <velmaro-host> <engine configuration folder>
# Ends with 77 (skipped) when no Firebird server is installed.
set -euo pipefail
host=$1
engine=$2
server=/usr/sbin/firebird
if [[ ! -x $server ]] || ! command -v isql-fb >/dev/null; then
  echo "dbopen_alias_server: $server or isql-fb missing"
  exit 77
fi
dir=$(mktemp -d)
srv=$dir/server
pid=
# The server is asked to stop; one still shutting down after five seconds
# (it may wait on its own threads forever) is killed, so the test ends.
stop_server() {
  kill "$pid" 2>/dev/null || true
  for ((i = 0; i < 50; i++)); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=
}
cleanup() {
  if [[ -n $pid ]]; then stop_server; fi
  rm -rf "$dir"
}
trap cleanup EXIT

"$host" init "$dir/host" --demo-data >/dev/null
"$host" run "$dir/host" >/dev/null <<<"sql company UPDATE FASCESC SET NOME='Fascia del server' WHERE ID=1"
cp "$dir/host/dati/archivio.fdb" "$dir/remoto.fdb"
"$host" run "$dir/host" >/dev/null <<<"sql company UPDATE FASCESC SET NOME='Fascia locale' WHERE ID=1"

# The server's folder: the engine's plugins, character sets and messages
# linked in, a lock folder, and a security database whose SYSDBA has the
# module's default password.
mkdir -p "$srv/lock"
for f in "$engine"/*; do
  if [[ -L $f ]]; then ln -s "$(readlink "$f")" "$srv/"; fi
done
echo "ditta = $dir/remoto.fdb" >"$srv/databases.conf"
export FIREBIRD=$srv FIREBIRD_LOCK=$srv/lock
listening() { grep -q "0100007F:$(printf %04X "$1") 00000000:0000 0A" /proc/net/tcp; }
for attempt in 1 2 3; do
  port=$((20000 + RANDOM % 30000))
  cat >"$srv/firebird.conf" <<EOF
ServerMode = Super
RemoteServicePort = $port
RemoteBindAddress = 127.0.0.1
SecurityDatabase = $srv/security.fdb
AuthServer = Srp
UserManager = Srp
WireCrypt = Enabled
UdfAccess = None
EOF
  if [[ ! -e $srv/security.fdb ]]; then
    isql-fb -q -b -user SYSDBA >"$srv/isql.log" 2>&1 <<EOF
CREATE DATABASE '$srv/security.fdb';
CREATE USER SYSDBA PASSWORD 'pinecrane' USING PLUGIN Srp;
COMMIT;
EOF
  fi
  "$server" </dev/null >"$srv/server.log" 2>&1 &
  pid=$!
  for ((i = 0; i < 100; i++)); do
    listening "$port" && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  listening "$port" && break
  stop_server
done
if [[ -z $pid ]]; then
  echo "dbopen_alias_server: the server did not start"
  cat "$srv/server.log"
  exit 77
fi
unset FIREBIRD FIREBIRD_LOCK

printf '[CONFIG]\r\nNome Server=127.0.0.1/%s\r\nAlias=ditta\r\n' "$port" >"$dir/host/dati/dati.ini"
"$host" run "$dir/host" <<'EOF'
call ShowLisFasEditFormX 2 1001
reject "Effettuata creazione"
show TLisFasEditForm
expect "Fascia del server"
reject "Fascia locale"
EOF
echo "dbopen_alias_server: passed"
