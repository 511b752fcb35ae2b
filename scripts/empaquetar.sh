#!/usr/bin/env bash
# Installs what is missing, builds the program (only the program) in build/
# and makes the Debian package build/analisis-harina_<version>_amd64.deb
# through CMake's install rules and CPack.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/instalar.sh paquete
scripts/compilar.sh analisis-harina manual
# A package made earlier from other sources must not be taken for this one.
rm -f build/analisis-harina_*.deb
(cd build && cpack -G DEB >/dev/null)
paquete=$(ls build/analisis-harina_*.deb)
echo "Paquete: $paquete"
