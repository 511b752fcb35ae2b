// Fuzz target for the text parsers: the start-up parameter string, the INI
// file, numbers, dates and times typed by the operator, report formulas, the
// lookup definitions file and the lookup statements F5 filters. Whatever the
// bytes, each must answer without crashing, and what it answers must hold to
// its promise.

#include <QByteArray>
#include <QString>
#include <QTime>
#include <cstdint>
#include <cstdlib>

#include "analisis/horario.h"
#include "lookup/filtro_consulta.h"
#include "lookup/lector_mascaras.h"
#include "services/falla.h"
#include "services/fechas.h"
#include "services/formula_reporte.h"
#include "services/lib_datos.h"
#include "services/lib_ini.h"
#include "services/lib_util.h"
#include "session/parametros_inicio.h"

namespace {

void Exigir(bool condicion) {
  if (!condicion) std::abort();
}

// Outside its text literals, a condition holds no statement end nor comment:
// a formula can only ever become one condition.
bool UnaSolaCondicion(const QString& sql) {
  bool enTexto = false;
  for (qsizetype i = 0; i < sql.size(); ++i) {
    if (sql.at(i) == QLatin1Char('\'')) enTexto = !enTexto;
    if (enTexto) continue;
    if (sql.at(i) == QLatin1Char(';') || sql.mid(i, 2) == QLatin1String("--") ||
        sql.mid(i, 2) == QLatin1String("/*"))
      return false;
  }
  return !enTexto;
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
  // A time read is hh:mm:ss of a real time of day, or nothing for a blank text.
  if (const auto hora = FormatearHorario(texto))
    Exigir((hora->isEmpty() && texto.trimmed().isEmpty()) ||
           (hora->size() == 8 && QTime::fromString(*hora, "HH:mm:ss").isValid()));
  LibUtil::ValorNumerico(texto);
  LibUtil::NumeroInicial(texto);
  try {
    Exigir(LibUtil::FechaFormula(texto).startsWith(QLatin1String("Date(")));
  } catch (const Falla& falla) {
    Exigir(falla.Codigo() == Falla::kTipoIncompatible);
  }
  try {
    if (const auto condicion = formula::LeerFormula(texto)) {
      for (const Motor motor : {Motor::Sqlite, Motor::Postgresql, Motor::SqlServer})
        Exigir(UnaSolaCondicion(formula::CondicionSql(*condicion, Dialecto(motor))));
      formula::RangoDeFechas(*condicion);
    } else {
      Exigir(texto.trimmed().isEmpty());
    }
  } catch (const Falla& falla) {
    // A formula that cannot be read is refused, quoting it.
    Exigir(falla.Codigo() == Falla::kArgumentoInvalido && falla.Mensaje().contains(texto));
  }
  formula::LeerAsignacion(texto);

  // The lookup definitions file, whatever its bytes.
  const QByteArray bytes(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(largo));
  lector_mascaras::Registro(bytes, 0);
  lector_mascaras::Buscar(bytes, texto.left(20));
  // F5: the typed text never ends the statement nor opens a comment, and any
  // statement can be filtered.
  filtro_consulta::Descomponer(texto);
  for (const Motor motor : {Motor::Sqlite, Motor::Postgresql, Motor::SqlServer}) {
    const Dialecto dialecto(motor);
    const QString condicion = filtro_consulta::Condicion(dialecto, QStringLiteral("HARINA"), texto);
    Exigir(UnaSolaCondicion(condicion));
    filtro_consulta::Filtrada(dialecto, texto, {QStringLiteral("HARINA")}, {{0, texto}});
  }
  return 0;
}
