#!/usr/bin/env bash
# The Debian package, as a lab's station gets it: made by CPack from this build
# tree, unpacked into a temporary root as dpkg would install it, and checked
# file by file and by the desktop's own validators. The installed program
# answers --help and --version without a display.
#   test_paquete.sh <build folder>
set -euo pipefail
construccion=$(cd "$1" && pwd)
temporal=$(mktemp -d /tmp/harina-paquete.XXXXXX)
trap 'rm -rf "$temporal"' EXIT
fallas=0
falla() { echo "FALLA: $*"; fallas=$((fallas + 1)); }

(cd "$construccion" && cpack --config CPackConfig.cmake -G DEB -B "$temporal/salida" >/dev/null)
paquetes=("$temporal"/salida/analisis-harina_*_amd64.deb)
[[ ${#paquetes[@]} -eq 1 && -f ${paquetes[0]} ]] || { echo "FALLA: no hay un único .deb"; exit 1; }
deb=${paquetes[0]}
version=$(dpkg-deb -f "$deb" Version)
[[ $(basename "$deb") == "analisis-harina_${version}_amd64.deb" ]] || falla "nombre $(basename "$deb")"
[[ $(dpkg-deb -f "$deb" Package) == analisis-harina ]] || falla "el paquete no se llama analisis-harina"

# Dependencies: those dpkg-shlibdeps found in the program, and those it loads
# at run time.
depende=$(dpkg-deb -f "$deb" Depends)
for requerido in libqt6widgets6 libqt6sql6 libqt6printsupport6 libc6 \
  libqt6sql6-sqlite libqt6sql6-psql qt6-translations-l10n; do
  grep -Eq "(^|, )$requerido( |,|$)" <<<"$depende" || falla "Depends sin $requerido: $depende"
done

raiz="$temporal/raiz"
dpkg -x "$deb" "$raiz"
esperados=(
  usr/bin/analisis-harina
  usr/share/applications/analisis-harina.desktop
  usr/share/metainfo/io.github.laboratorio_harina.AnalisisHarina.metainfo.xml
  usr/share/man/man1/analisis-harina.1.gz
  usr/share/analisis-harina/sqlite.sql
  usr/share/analisis-harina/postgresql.sql
  usr/share/analisis-harina/RO000za.INI
)
for lado in 16 24 32 48 64 128 256; do
  esperados+=("usr/share/icons/hicolor/${lado}x${lado}/apps/analisis-harina.png")
done
for archivo in "${esperados[@]}"; do
  [[ -f "$raiz/$archivo" ]] || falla "falta /$archivo"
done
[[ -x "$raiz/usr/bin/analisis-harina" ]] || falla "/usr/bin/analisis-harina no es ejecutable"
# Nothing but the program lies in /usr/bin: no INI, no database, no lookups.
otros=$(find "$raiz/usr/bin" -mindepth 1 ! -name analisis-harina)
[[ -z "$otros" ]] || falla "en /usr/bin además: $otros"
# Each icon is a PNG of its folder's size.
for lado in 16 24 32 48 64 128 256; do
  icono="$raiz/usr/share/icons/hicolor/${lado}x${lado}/apps/analisis-harina.png"
  [[ -f "$icono" ]] || continue
  medida=$(python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); print("%dx%d" % struct.unpack(">II", d[16:24]) if d[:8]==b"\x89PNG\r\n\x1a\n" else "no-png")' "$icono")
  [[ $medida == "${lado}x${lado}" ]] || falla "icono de ${lado}: $medida"
done

# The desktop entry: valid, in Spanish, and it starts the installed program
# with the installed icon.
entrada="$raiz/usr/share/applications/analisis-harina.desktop"
desktop-file-validate "$entrada" || falla "desktop-file-validate"
grep -qx 'Name=Análisis de Harina' "$entrada" || falla "Name del menú"
grep -q '^Comment=.*análisis de harina' "$entrada" || falla "Comment del menú"
grep -qx 'Exec=analisis-harina' "$entrada" || falla "Exec"
grep -qx 'Icon=analisis-harina' "$entrada" || falla "Icon"
grep -Eq '^Categories=(.*;)?Office;' "$entrada" || falla "Categories"

metainfo="$raiz/usr/share/metainfo/io.github.laboratorio_harina.AnalisisHarina.metainfo.xml"
appstreamcli validate --no-net "$metainfo" || falla "appstreamcli validate"
grep -q "<release version=\"$version\"" "$metainfo" || falla "la versión del metainfo no es $version"
grep -q '<launchable type="desktop-id">analisis-harina.desktop</launchable>' "$metainfo" ||
  falla "el metainfo no lanza la entrada del menú"

# The manual page: formatted without a warning, and it names the options.
manual="$raiz/usr/share/man/man1/analisis-harina.1.gz"
avisos=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$manual" 2>&1 >/dev/null)
[[ -z "$avisos" ]] || falla "man: $avisos"
texto=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$manual" 2>/dev/null)
for palabra in --help --version @UsuarioLogeado /usr/share/analisis-harina/RO000za.INI; do
  grep -qF -- "$palabra" <<<"$texto" || falla "el manual no dice $palabra"
done

# The example INI is read as it ships: every key is commented out.
if grep -Ev '^\s*(;|#|\[|$)' "$raiz/usr/share/analisis-harina/RO000za.INI"; then
  falla "el INI de ejemplo fija una clave"
fi

# The installed program answers without a display, in Spanish.
programa="$raiz/usr/bin/analisis-harina"
ayuda=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$programa" --help) || falla "--help terminó con error"
grep -q '^Uso: analisis-harina' <<<"$ayuda" || falla "--help: $ayuda"
salida=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$programa" --version) || falla "--version terminó con error"
[[ $salida == "analisis-harina $version" ]] || falla "--version: $salida"

if [[ $fallas -gt 0 ]]; then
  echo "$fallas fallas"
  exit 1
fi
echo "Paquete $(basename "$deb") correcto"
