# What an installed program needs, laid out as Debian expects it, and the .deb
# that carries it (scripts/empaquetar.sh). Only the program is installed: the
# tests, benchmarks and fuzz targets have no install rules.
include(GNUInstallDirs)

set(HARINA_EMPAQUETADO ${PROJECT_SOURCE_DIR}/empaquetado)
set(HARINA_METAINFO io.github.laboratorio_harina.AnalisisHarina.metainfo.xml)

install(TARGETS analisis-harina RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${HARINA_EMPAQUETADO}/analisis-harina.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(lado 16 24 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/recursos/iconos/analisis-harina-${lado}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${lado}x${lado}/apps
          RENAME analisis-harina.png)
endforeach()

configure_file(${HARINA_EMPAQUETADO}/${HARINA_METAINFO}
               ${PROJECT_BINARY_DIR}/empaquetado/${HARINA_METAINFO} @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/empaquetado/${HARINA_METAINFO}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The manual page, compressed as Debian's policy asks.
configure_file(${HARINA_EMPAQUETADO}/analisis-harina.1.in
               ${PROJECT_BINARY_DIR}/empaquetado/analisis-harina.1 @ONLY)
find_program(HARINA_GZIP gzip REQUIRED)
add_custom_command(
  OUTPUT ${PROJECT_BINARY_DIR}/empaquetado/analisis-harina.1.gz
  COMMAND ${HARINA_GZIP} -9 -n -c ${PROJECT_BINARY_DIR}/empaquetado/analisis-harina.1
          > ${PROJECT_BINARY_DIR}/empaquetado/analisis-harina.1.gz
  DEPENDS ${PROJECT_BINARY_DIR}/empaquetado/analisis-harina.1)
add_custom_target(manual ALL DEPENDS ${PROJECT_BINARY_DIR}/empaquetado/analisis-harina.1.gz)
install(FILES ${PROJECT_BINARY_DIR}/empaquetado/analisis-harina.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The schema files travel inside the program too; these copies are for the
# administrator of a shared server, beside the commented configuration example.
install(FILES ${PROJECT_SOURCE_DIR}/db/sqlite.sql ${PROJECT_SOURCE_DIR}/db/postgresql.sql
              ${HARINA_EMPAQUETADO}/RO000za.INI
        DESTINATION ${CMAKE_INSTALL_DATADIR}/analisis-harina)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME analisis-harina)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Laboratorio de calidad")
set(CPACK_PACKAGE_CONTACT "Laboratorio de calidad <laboratorio@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "planilla diaria de los análisis de harina del laboratorio")
# CPack puts the summary above it.
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "El cliente de escritorio del laboratorio de calidad de un molino: una\n"
  "planilla de análisis de harina por fecha, cada celda grabada al\n"
  "confirmarla, consultas sobre los valores ya cargados y el reporte\n"
  "impreso de un rango de fechas. Base SQLite incorporada o servidor\n"
  "PostgreSQL.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: the database drivers
# and Qt's own Spanish texts (the standard dialogs' buttons).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libqt6sql6-psql, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "postgresql-client, libqt6sql6-odbc, tdsodbc")
include(CPack)
