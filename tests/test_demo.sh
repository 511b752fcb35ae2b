#!/usr/bin/env bash
# The demo database as scripts/ejecutar.sh makes it: the schema and the demo
# data load without a failure, the schema is at the program's version, every
# flour type of the demo has its limits, and a few values (one on today's
# sheet) are out of its limits while most are not.
#   test_demo.sh <source folder>
set -euo pipefail
fuentes=$(cd "$1" && pwd)
temporal=$(mktemp -d /tmp/harina-demo.XXXXXX)
trap 'rm -rf "$temporal"' EXIT
base="$temporal/demo.sqlite"
sqlite3 -bail "$base" < "$fuentes/db/sqlite.sql"
sqlite3 -bail "$base" < "$fuentes/db/demo.sql"
fallas=0
falla() { echo "FALLA: $*"; fallas=$((fallas + 1)); }
consulta() { sqlite3 "$base" "$1"; }

version=$(grep -o 'kVersion = [0-9]*' "$fuentes/src/services/esquema.h" | grep -o '[0-9]*$')
[[ $(consulta "SELECT version FROM ta_version_esquema") == "$version" ]] || falla "versión"
for tipo in 0000 000 Integral; do
  [[ $(consulta "SELECT COUNT(*) FROM ta_limites WHERE tipo_harina = '$tipo'") -ge 4 ]] ||
    falla "sin límites para $tipo"
done
# Out of the limits in force (the latest on or before the day).
fuera="SELECT COUNT(*) FROM v_mv_zentalia a JOIN ta_limites l
  ON lower(trim(l.tipo_harina)) = lower(trim(a.tipo_harina))
  AND l.vigente_desde = (SELECT MAX(m.vigente_desde) FROM ta_limites m
                         WHERE m.tipo_harina = l.tipo_harina AND m.campo = l.campo
                           AND m.vigente_desde <= substr(a.Fecha, 1, 10))
  WHERE CASE l.campo WHEN 'HUMEDAD' THEN a.HUMEDAD WHEN 'CENIZAS' THEN a.CENIZAS
                     WHEN 'HUMEDO' THEN a.HUMEDO WHEN 'SECO' THEN a.SECO
                     WHEN 'FALLINGNUMBER' THEN a.FALLINGNUMBER END
        NOT BETWEEN coalesce(l.minimo, -1e300) AND coalesce(l.maximo, 1e300)"
total=$(consulta "SELECT COUNT(*) FROM v_mv_zentalia")
afuera=$(consulta "$fuera")
(( afuera >= 3 && afuera * 10 < total )) || falla "$afuera valores fuera de especificación de $total"
hoy=$(consulta "$fuera AND a.Fecha = date('now', 'localtime') || ' 00:00:00'")
(( hoy >= 1 )) || falla "ninguno fuera de especificación en la planilla de hoy"
(( fallas == 0 )) || exit 1
echo "demo: $total análisis, $afuera fuera de especificación ($hoy hoy)"
