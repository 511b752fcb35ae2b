#!/usr/bin/env bash
# The sheet window read through AT-SPI as a screen reader does: a virtual
# display, a session bus with the accessibility bus on it, the program on a new
# SQLite file, and leer_atspi.py walking its tree. Skips (77) only when the
# accessibility tools are not on this machine.
#   test_atspi.sh <program>
set -euo pipefail
programa=$1
aqui=$(cd "$(dirname "$0")" && pwd)

saltar() { echo "SALTADA: $*"; exit 77; }
command -v xvfb-run >/dev/null || saltar "falta xvfb-run (paquete xvfb)"
command -v dbus-run-session >/dev/null || saltar "falta dbus-run-session (paquete dbus-daemon)"
lanzador=/usr/libexec/at-spi-bus-launcher
[[ -x $lanzador ]] || saltar "falta el bus de accesibilidad (paquete at-spi2-core)"
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || saltar "falta pyatspi (paquete python3-pyatspi)"

if [[ ${HARINA_DENTRO_DEL_BUS:-} != 1 ]]; then
  export HARINA_DENTRO_DEL_BUS=1
  exec dbus-run-session -- xvfb-run -a -s "-screen 0 1600x1000x24" bash "$0" "$@"
fi

temporal=$(mktemp -d /tmp/harina-atspi.XXXXXX)
pids=()
terminar() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$temporal"
}
trap terminar EXIT

"$lanzador" --launch-immediately &
pids+=($!)
# The accessibility bus answers once the launcher is up; without it there is
# nothing a reader could read.
for _ in $(seq 50); do
  dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
    >/dev/null 2>&1 && break
  sleep 0.2
done
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
  >/dev/null 2>&1 || saltar "el bus de accesibilidad no arrancó en este entorno"

export XDG_DATA_HOME=$temporal/datos XDG_CONFIG_HOME=$temporal/config
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
"$programa" "@DbName=$temporal/laboratorio.sqlite;@UsuarioLogeado=ana;" &
pids+=($!)
/usr/bin/python3 "$aqui/leer_atspi.py"
