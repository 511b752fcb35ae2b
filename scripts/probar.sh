#!/usr/bin/env bash
# Installs what is missing, builds, starts a PostgreSQL server for the tests
# and runs every test through CTest on Qt's offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/instalar.sh pruebas
scripts/compilar.sh
source scripts/servidor_pg.sh
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure "$@"
