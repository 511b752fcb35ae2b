#include "session/uso.h"

QString TextoDeVersion() { return QStringLiteral("analisis-harina " HARINA_VERSION); }

QString TextoDeAyuda() {
  return QStringLiteral(
      "Uso: analisis-harina [PARÁMETROS]\n"
      "     analisis-harina --help | --version\n"
      "\n"
      "Abre la planilla de análisis de harina del laboratorio: escriba una fecha y\n"
      "presione Enter para abrir la planilla del día; F3 abre el calendario y F1\n"
      "muestra las teclas. Cada celda confirmada queda grabada en la base de datos.\n"
      "\n"
      "PARÁMETROS es una cadena de elementos clave=valor; (claves en mayúsculas o\n"
      "minúsculas):\n"
      "  @Server=SERVIDOR      el servidor de la base de datos; sin él, la base\n"
      "                        incorporada (SQLite)\n"
      "  @DbName=BASE          la base incorporada (un archivo, o un nombre en\n"
      "                        ~/.local/share/analisis-harina) o la base del servidor\n"
      "  @Usuario=USUARIO      el usuario del servidor\n"
      "  @Password=CLAVE       la contraseña del servidor\n"
      "  @UsuarioLogeado=NOMBRE  el operador, que se muestra como responsable\n"
      "\n"
      "Opciones:\n"
      "  -h, --help     muestra esta ayuda y termina\n"
      "  -v, --version  muestra la versión y termina\n"
      "\n"
      "Configuración: ~/.config/analisis-harina/RO000za.INI (ejemplo comentado en\n"
      "/usr/share/analisis-harina/RO000za.INI). Más en: man analisis-harina\n"
      "\n"
      "Ejemplo:\n"
      "  analisis-harina \"@DbName=laboratorio;@UsuarioLogeado=Marta;\"\n");
}

std::optional<RespuestaDeOpcion> ResponderOpcion(const QStringList& argumentos) {
  for (const QString& argumento : argumentos) {
    if (argumento == QLatin1String("-h") || argumento == QLatin1String("--help"))
      return RespuestaDeOpcion{TextoDeAyuda(), false, 0};
    if (argumento == QLatin1String("-v") || argumento == QLatin1String("--version"))
      return RespuestaDeOpcion{TextoDeVersion() + QLatin1Char('\n'), false, 0};
    if (argumento.startsWith(QLatin1Char('-')))
      return RespuestaDeOpcion{QStringLiteral("analisis-harina: opción desconocida «%1»\n"
                                              "Pruebe «analisis-harina --help» para ver el uso.\n")
                                   .arg(argumento),
                               true, 2};
  }
  return std::nullopt;
}
