#!/usr/bin/env bash
# Installs the Debian packages the project needs and this machine lacks.
#   scripts/instalar.sh programa   what building and running the program needs
#   scripts/instalar.sh pruebas    that, plus the PostgreSQL server for the tests
#   scripts/instalar.sh fuzz       that, plus clang and libFuzzer (scripts/fuzz.sh)
set -euo pipefail

paquetes=(cmake make g++ qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql qt6-translations-l10n sqlite3 ccache)
if [[ "${1:-programa}" == pruebas ]]; then
  paquetes+=(postgresql poppler-utils)
fi
if [[ "${1:-programa}" == fuzz ]]; then
  paquetes+=(clang libclang-rt-dev)
fi

faltan=()
for paquete in "${paquetes[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$paquete" 2>/dev/null | grep -q 'install ok installed'; then
    faltan+=("$paquete")
  fi
done
[[ ${#faltan[@]} -eq 0 ]] && exit 0

echo "Instalando: ${faltan[*]}"
sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${faltan[@]}" >/dev/null
