#!/usr/bin/env bash
# Sourced by the test command: starts a throw-away PostgreSQL server on
# 127.0.0.1 and a free port, exports PRUEBA_PG_PUERTO and PRUEBA_PG_USUARIO for
# the tests, and stops it (removing its data) when the sourcing shell exits.
# initdb refuses to run as root, so as root the server runs as "postgres".

pg_bin=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)
pg_datos=$(mktemp -d /tmp/harina-pg.XXXXXX)
como=()
if [[ $(id -u) -eq 0 ]]; then
  chown postgres: "$pg_datos"
  como=(runuser -u postgres --)
fi

pg_puerto=55432
while (echo >"/dev/tcp/127.0.0.1/$pg_puerto") 2>/dev/null; do pg_puerto=$((pg_puerto + 1)); done

"${como[@]}" "$pg_bin/initdb" -D "$pg_datos/datos" -U postgres -A trust -E UTF8 --no-locale >/dev/null
"${como[@]}" "$pg_bin/pg_ctl" -D "$pg_datos/datos" -l "$pg_datos/registro.txt" -w \
  -o "-c listen_addresses=127.0.0.1 -p $pg_puerto -k $pg_datos -c fsync=off" start >/dev/null

detener_pg() {
  "${como[@]}" "$pg_bin/pg_ctl" -D "$pg_datos/datos" -m fast -w stop >/dev/null 2>&1 || true
  rm -rf "$pg_datos"
}
trap detener_pg EXIT

export PRUEBA_PG_PUERTO=$pg_puerto
export PRUEBA_PG_USUARIO=postgres
echo "PostgreSQL de prueba en 127.0.0.1:$pg_puerto"
