#!/usr/bin/env bash
# Installs what is missing, builds the program alone (not the tests, the
# benchmarks nor the fuzz targets), and starts it on a demo database
# (build/demo/laboratorio-demo.sqlite, remade each day so that today's sheet
# has analyses; the operator's real database is never touched).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/instalar.sh programa
scripts/compilar.sh analisis-harina

demo="$PWD/build/demo/laboratorio-demo.sqlite"
mkdir -p "$(dirname "$demo")"
# Remade each day, and whenever the schema or the demo data changed.
if [[ ! -f "$demo" || "$(date -r "$demo" +%F)" != "$(date +%F)" ||
      db/sqlite.sql -nt "$demo" || db/demo.sql -nt "$demo" ]]; then
  rm -f "$demo" "$demo-wal" "$demo-shm"
  sqlite3 "$demo" < db/sqlite.sql
  sqlite3 "$demo" < db/demo.sql
fi

exec build/src/analisis-harina "@DbName=$demo;@UsuarioLogeado=${USER:-operador};"
