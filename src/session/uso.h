#pragma once
// The options the program answers from its command line before it opens any
// window (no display needed): -h/--help prints the usage, -v/--version the
// version, both on standard output with exit status 0. Any other argument that
// starts with "-" is refused with exit status 2 (the start-up parameter string
// starts with "@"). Texts are Spanish.

#include <QString>
#include <QStringList>
#include <optional>

struct RespuestaDeOpcion {
  QString texto;  // what to print, ending in a line feed
  bool error;     // true: standard error, false: standard output
  int estado;     // the program's exit status
};

// argumentos: the command line without the program's name. Nothing when the
// program must go on and open its window.
std::optional<RespuestaDeOpcion> ResponderOpcion(const QStringList& argumentos);

QString TextoDeAyuda();
// "analisis-harina <version>".
QString TextoDeVersion();
