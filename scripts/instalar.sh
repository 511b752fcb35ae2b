#!/usr/bin/env bash
# Installs the Debian packages the project needs and this machine lacks.
#   scripts/instalar.sh programa   what building and running the program needs
#   scripts/instalar.sh paquete    that, plus what making the Debian package needs
#   scripts/instalar.sh pruebas    all of that, plus the PostgreSQL server, the
#                                  package's validators, a virtual display and
#                                  the accessibility bus for the tests
#   scripts/instalar.sh fuzz       the program's, plus clang and libFuzzer (scripts/fuzz.sh)
set -euo pipefail

# Qt Charts draws the control chart; its CMake package asks for Qt's OpenGL one.
# libxlsxwriter writes the export's XLSX files; libqpdf joins a report's parts.
# libsqlite3-dev: a stored cell and a day's rows are run on SQLite's own interface.
paquetes=(cmake make g++ qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql qt6-charts-dev libqt6opengl6-dev
  qt6-translations-l10n sqlite3 libsqlite3-dev ccache libpq-dev pkg-config libxlsxwriter-dev libqpdf-dev)
case "${1:-programa}" in
  paquete) paquetes+=(dpkg-dev) ;;
  pruebas)
    paquetes+=(postgresql poppler-utils unzip dpkg-dev desktop-file-utils appstream man-db
      xvfb xauth at-spi2-core dbus-daemon python3-pyatspi)
    ;;
  fuzz) paquetes+=(clang libclang-rt-dev) ;;
esac

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
