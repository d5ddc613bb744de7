#!/usr/bin/env bash
# Runs a test program (through the runner given first) with two databases of
# its own: a SQLite file and a throwaway PostgreSQL cluster on a free loopback
# port, both named in an odbc.ini that unixODBC (under Wine's ODBC32) reads.
# The cluster is stopped and everything removed when the program ends.
set -euo pipefail
pgbin=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)
work=$(mktemp -d /tmp/vantrel-db.XXXXXX)
chmod 755 "$work"
# PostgreSQL's tools refuse to run as root.
if [ "$(id -u)" = 0 ]; then
  chown postgres: "$work"
  as_postgres() { runuser -u postgres -- "$@"; }
else
  as_postgres() { "$@"; }
fi
stop() {
  as_postgres "$pgbin/pg_ctl" -D "$work/pg" -m immediate -w -t 20 stop >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap stop EXIT

password=Kestrel-$RANDOM$RANDOM
echo "$password" > "$work/pw"
as_postgres "$pgbin/initdb" -D "$work/pg" -U vantrel --pwfile="$work/pw" -E UTF8 --locale=C \
  --auth-local=trust --auth-host=scram-sha-256 >"$work/initdb.log" 2>&1 \
  || { cat "$work/initdb.log"; exit 1; }
rm "$work/pw"
# A port nobody listens on; another server may still take it first, so try a few.
for _ in 1 2 3 4 5; do
  port=$((20000 + RANDOM % 30000))
  (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && continue
  as_postgres "$pgbin/pg_ctl" -D "$work/pg" -l "$work/pg.log" -w -t 30 \
    -o "-p $port -k $work -c listen_addresses=127.0.0.1 -c fsync=off" start >/dev/null && break
  port=
done
[ -n "$port" ] || { cat "$work/pg.log"; exit 1; }

export PGHOST=$work PGPORT=$port PGUSER=vantrel PGDATABASE=mc PGCLIENTENCODING=WIN1251
export PGOPTIONS="-c client_min_messages=warning"
psql -X -q -d postgres -c "create database mc"

# psqlODBC keeps unquoted names as PostgreSQL folds them (LowerCaseIdentifier)
# and sends the product's code page 1251 texts as such.
cat > "$work/odbc.ini" <<INI
[VanTrelLite]
Driver=SQLite3
Database=$work/mc.db

[VanTrelPg]
Driver=PostgreSQL ANSI
Servername=127.0.0.1
Port=$port
Database=mc
LowerCaseIdentifier=1
ConnSettings=SET client_encoding TO 'WIN1251'
INI
export ODBCINI=$work/odbc.ini VANTREL_DB_DIR=$work VANTREL_PG_PASSWORD=$password

# A run may leave more tests out (scripts/test does on its small screen):
# VANTREL_LEAVE_OUT joins the tests a filter of the form "-..." leaves out.
if [ -n "${VANTREL_LEAVE_OUT:-}" ] && [[ "${GTEST_FILTER:-}" == -* ]]; then
  export GTEST_FILTER="$GTEST_FILTER:$VANTREL_LEAVE_OUT"
fi

# Within CTest's limit (VANTREL_TEST_SECONDS is 15 s less than it), so that
# a hung test still leaves the cluster to be cleaned up.
status=0
timeout -k 5 "${VANTREL_TEST_SECONDS:-285}" "$@" || status=$?
exit $status
