// Fuzz target for the text parsers: the start-up parameter string, the INI
// file, numbers, dates and times typed by the operator. Whatever the bytes, each must answer
// without crashing, and what it answers must hold to its promise.

#include <QByteArray>
#include <QString>
#include <QTime>
#include <cstdint>
#include <cstdlib>

#include "services/falla.h"
#include "services/fechas.h"
#include "services/lib_datos.h"
#include "services/lib_ini.h"
#include "services/lib_util.h"
#include "session/parametros_inicio.h"
#include "sheet/horario.h"

namespace {

void Exigir(bool condicion) {
  if (!condicion) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
  const QString texto =
      QString::fromUtf8(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(largo));
  for (const char* clave : {"@Server", "@DbName", "@Usuario", "@Password", "@UsuarioLogeado"}) {
    const QString valor = LeerParametro(QString::fromLatin1(clave), texto);
    // A value never keeps an "=" nor blanks at its ends, nor crosses an item.
    Exigir(!valor.contains(QLatin1Char('=')) && !valor.contains(QLatin1Char(';')));
    Exigir(valor == valor.trimmed());
  }
  QuitarPrefijoServidor(texto);
  LibIni::Buscar(texto, QStringLiteral("LABORATORIO|HARINA"), QStringLiteral("FlatToolbars"));
  LibIni::Buscar(texto, texto.left(8), texto.mid(8, 8));
  try {
    const QString numero = LibDatos::FormatoSql(texto, QStringLiteral("@"));
    // What goes into a statement is NULL or a plain number with a point.
    bool esNumero = false;
    numero.toDouble(&esNumero);
    Exigir(numero == QLatin1String("NULL") || esNumero);
  } catch (const Falla& falla) {
    Exigir(falla.Codigo() == Falla::kTipoIncompatible);
  }
  // A date read is a real calendar date.
  if (const auto fecha = fechas::LeerFecha(texto)) Exigir(fecha->isValid());
  // A time is hh:mm:ss, or the text comes back as it was.
  const QString hora = FormatearHorario(texto);
  Exigir(hora == texto || (hora.size() == 8 && QTime::fromString(hora, "HH:mm:ss").isValid()));
  LibUtil::ValorNumerico(texto);
  LibUtil::NumeroInicial(texto);
  return 0;
}
