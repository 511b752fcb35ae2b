// Fuzz target for the text parsers: the start-up parameter string, the INI
// file, the numbers, dates and times typed by the operator, report formulas,
// the lookup definitions file and the statements F5 filters. Whatever the
// bytes, each parser must answer without crashing, and what it answers must
// hold to its promise: a failed promise aborts, so that libFuzzer keeps the
// input.
//
// HARINA_PARSER=<name> gives the bytes to that parser alone, so that a run
// spends its time on it; unset, every parser reads every input.
// HARINA_PARSER=lista prints the names.

#include <QByteArray>
#include <QRegularExpression>
#include <QString>
#include <QTime>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <utility>

#include "analisis/horario.h"
#include "lookup/filtro_consulta.h"
#include "lookup/lector_mascaras.h"
#include "services/falla.h"
#include "services/fechas.h"
#include "report/formula_reporte.h"
#include "services/lib_datos.h"
#include "services/lib_ini.h"
#include "services/lib_util.h"
#include "session/parametros_inicio.h"

namespace {

constexpr Motor kMotores[] = {Motor::Sqlite, Motor::Postgresql, Motor::SqlServer};

void Exigir(bool condicion, const char* promesa) {
  if (condicion) return;
  std::fprintf(stderr, "Promesa rota: %s\n", promesa);
  std::abort();
}

// Outside its text literals, a condition holds no statement end nor comment,
// and its parentheses close in order: it can only ever be one condition.
bool UnaSolaCondicion(const QString& sql) {
  bool enTexto = false;
  int abiertos = 0;
  for (qsizetype i = 0; i < sql.size(); ++i) {
    if (sql.at(i) == QLatin1Char('\'')) enTexto = !enTexto;
    if (enTexto) continue;
    if (sql.at(i) == QLatin1Char('(')) ++abiertos;
    if (sql.at(i) == QLatin1Char(')') && --abiertos < 0) return false;
    if (sql.at(i) == QLatin1Char(';') || sql.mid(i, 2) == QLatin1String("--") ||
        sql.mid(i, 2) == QLatin1String("/*"))
      return false;
  }
  return !enTexto && abiertos == 0;
}

void Parametros(const QString& texto, const QByteArray&) {
  for (const char* clave : {"@Server", "@DbName", "@Usuario", "@Password", "@UsuarioLogeado"}) {
    const QString valor = LeerParametro(QString::fromLatin1(clave), texto);
    Exigir(!valor.contains(QLatin1Char('=')) && !valor.contains(QLatin1Char(';')),
           "un parámetro no guarda «=» ni cruza un «;»");
    Exigir(valor == valor.trimmed(), "un parámetro no tiene blancos en sus extremos");
  }
  const QString servidor = QuitarPrefijoServidor(texto);
  Exigir(texto.endsWith(servidor), "el servidor es el final del texto");
}

void Ini(const QString& texto, const QByteArray&) {
  for (const auto& [seccion, clave] :
       {std::pair{QStringLiteral("LABORATORIO|HARINA"), QStringLiteral("FlatToolbars")},
        std::pair{texto.left(8), texto.mid(8, 8)}}) {
    if (const auto valor = LibIni::Buscar(texto, seccion, clave))
      Exigir(!valor->contains(QLatin1Char('\n')), "un valor del INI no cruza una línea");
  }
}

// FormatoSql takes a sign, digits and one "," or ".", when every engine's
// number column holds that value as typed; the statement text is the same
// number, written with a point.
void Numero(const QString& texto, const QByteArray&) {
  const QString limpio = texto.trimmed();
  std::optional<QString> numero;
  try {
    numero = LibDatos::FormatoSql(texto, QStringLiteral("@"));
  } catch (const Falla& falla) {
    Exigir(falla.Codigo() == Falla::kTipoIncompatible && falla.Mensaje().contains(limpio),
           "un número rechazado se cita");
  }
  if (limpio.isEmpty()) {
    Exigir(numero == QLatin1String("NULL"), "lo vacío es NULL");
    return;
  }
  static const QRegularExpression forma(QStringLiteral("^[+-]?([0-9]+[.,]?[0-9]*|[.,][0-9]+)$"));
  if (!forma.match(limpio).hasMatch()) {
    Exigir(!numero, "lo que no es un número se rechaza");
    return;
  }
  bool leido = false;
  const double tecleado =
      QString(limpio).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&leido);
  static const QRegularExpression significativas(QStringLiteral("[1-9]([0-9.,]*[1-9])?"));
  const QString cifras = significativas.match(limpio).captured();
  static const QRegularExpression cifra(QStringLiteral("[0-9]"));
  const bool cabe =
      cifras.isEmpty() ||  // zero
      (cifras.count(cifra) <= std::numeric_limits<double>::digits10 && leido &&
       std::isfinite(tecleado) && std::abs(tecleado) >= std::numeric_limits<double>::min());
  Exigir(numero.has_value() == cabe, "se acepta justo el número que toda columna guarda");
  if (!numero) return;
  static const QRegularExpression sentencia(QStringLiteral("^-?[0-9]+(\\.[0-9]+)?$"));
  Exigir(sentencia.match(*numero).hasMatch(), "el número va con punto y sin nada más");
  const double escrito = numero->toDouble(&leido);
  Exigir(leido && escrito == tecleado, "el número escrito vale lo que el tecleado");
  Exigir(QString::number(escrito, 'g', std::numeric_limits<double>::digits10).toDouble() == escrito,
         "el número vuelve igual de una columna de 15 cifras");
  LibUtil::ValorNumerico(texto);
  LibUtil::NumeroInicial(texto);
}

void Fecha(const QString& texto, const QByteArray&) {
  const std::optional<QDate> fecha = fechas::LeerFecha(texto);
  if (fecha) {
    Exigir(fecha->isValid(), "una fecha leída existe");
    Exigir(fechas::LeerFecha(fecha->toString(fechas::kFormaCorta)) == fecha,
           "una fecha se lee igual en su forma corta");
  }
  try {
    const QString literal = LibUtil::FechaFormula(texto);
    Exigir(fecha && literal == fecha->toString(QStringLiteral("'Date('yyyy,MM,dd')'")),
           "el literal de fórmula es la fecha leída");
  } catch (const Falla& falla) {
    Exigir(!fecha && falla.Codigo() == Falla::kTipoIncompatible,
           "solo se rechaza lo que no es fecha");
  }
}

void Horario(const QString& texto, const QByteArray&) {
  // A time read is hh:mm:ss of a real time of day, the same when read again;
  // a blank text is an empty cell; anything else is refused.
  const std::optional<QString> hora = FormatearHorario(texto);
  if (!hora) return;
  if (hora->isEmpty()) {
    Exigir(texto.trimmed().isEmpty(), "solo un texto en blanco es una hora vacía");
    return;
  }
  Exigir(hora->size() == 8 && QTime::fromString(*hora, "HH:mm:ss").isValid(),
         "una hora es hh:mm:ss");
  Exigir(FormatearHorario(*hora) == hora, "una hora se lee igual en su forma guardada");
}

void Formula(const QString& texto, const QByteArray&) {
  try {
    if (const auto condicion = formula::LeerFormula(texto)) {
      for (const Motor motor : kMotores)
        Exigir(UnaSolaCondicion(formula::CondicionSql(*condicion, Dialecto(motor))),
               "una fórmula es una sola condición");
      if (const auto rango = formula::RangoDeFechas(*condicion))
        Exigir((!rango->desde || rango->desde->isValid()) &&
                   (!rango->hasta || rango->hasta->isValid()),
               "un rango es de días que existen");
    } else {
      Exigir(texto.trimmed().isEmpty(), "solo la fórmula vacía selecciona todo");
    }
  } catch (const Falla& falla) {
    Exigir(falla.Codigo() == Falla::kArgumentoInvalido && falla.Mensaje().contains(texto),
           "una fórmula rechazada se cita");
  }
  if (const auto asignacion = formula::LeerAsignacion(texto))
    Exigir(!asignacion->nombre.isEmpty() && asignacion->nombre == asignacion->nombre.trimmed(),
           "una asignación nombra algo");
}

void Mascaras(const QString& texto, const QByteArray& bytes) {
  const RegistroMascara registro = lector_mascaras::Registro(bytes, 0);
  for (const QString* campo :
       {&registro.Nombre, &registro.Tabla, &registro.Campos, &registro.Filtro})
    Exigir(!campo->contains(QChar(0)) && !campo->contains(QChar(0xFF)),
           "un registro no guarda los bytes 0 ni 255");
  const QString tabla = texto.left(20);
  if (const auto hallado = lector_mascaras::Buscar(bytes, tabla))
    Exigir(hallado->Tabla.trimmed().compare(tabla.trimmed(), Qt::CaseInsensitive) == 0,
           "se halla la tabla buscada");
}

// The F5 condition is one LIKE over the column, its pattern one literal that
// matches the typed text and nothing else: undoing the escapes gives "%", the
// text, "%".
bool BuscaElTexto(const Dialecto& dialecto, const QString& condicion, const QString& columna,
                  const QString& texto) {
  const bool sqlServer = dialecto.motor() == Motor::SqlServer;
  QString resto = condicion;
  if (!resto.startsWith(columna)) return false;
  resto = resto.mid(columna.size());
  const QLatin1String operador(sqlServer || dialecto.motor() == Motor::Sqlite ? " LIKE '"
                                                                              : " ILIKE '");
  if (!resto.startsWith(operador)) return false;
  resto = resto.mid(operador.size());
  QString patron;
  qsizetype i = 0;
  for (;; ++i) {
    if (i >= resto.size()) return false;
    if (resto.at(i) != QLatin1Char('\'')) {
      patron += resto.at(i);
      continue;
    }
    if (i + 1 < resto.size() && resto.at(i + 1) == QLatin1Char('\'')) {
      patron += resto.at(++i);
      continue;
    }
    break;
  }
  if (resto.mid(i + 1) != (sqlServer ? QString() : QStringLiteral(" ESCAPE '\\'"))) return false;
  if (!patron.startsWith(QLatin1Char('%')) || !patron.endsWith(QLatin1Char('%')) ||
      patron.size() < 2)
    return false;
  patron = patron.mid(1, patron.size() - 2);
  QString literal;
  for (qsizetype k = 0; k < patron.size(); ++k) {
    const QChar c = patron.at(k);
    if (sqlServer && c == QLatin1Char('[')) {
      if (k + 2 >= patron.size() || patron.at(k + 2) != QLatin1Char(']')) return false;
      literal += patron.at(k + 1);
      k += 2;
    } else if (!sqlServer && c == QLatin1Char('\\')) {
      if (++k >= patron.size()) return false;
      literal += patron.at(k);
    } else if (c == QLatin1Char('%') || c == QLatin1Char('_')) {
      return false;
    } else {
      literal += c;
    }
  }
  return literal == texto;
}

void Filtro(const QString& texto, const QByteArray&) {
  // The statement, then the typed text on the input's last line; a single line
  // is both.
  const qsizetype salto = texto.lastIndexOf(QLatin1Char('\n'));
  const QString sql = salto < 0 ? texto : texto.left(salto);
  const QString tecleado = texto.mid(salto + 1);
  const filtro_consulta::Partes partes = filtro_consulta::Descomponer(sql);
  Exigir(partes.limite >= -1, "un límite es un número de filas");
  for (const Motor motor : kMotores) {
    const Dialecto dialecto(motor);
    const QString condicion =
        filtro_consulta::Condicion(dialecto, QStringLiteral("HARINA"), tecleado);
    Exigir(UnaSolaCondicion(condicion), "el texto de F5 no cierra la sentencia");
    Exigir(BuscaElTexto(dialecto, condicion,
                        dialecto.ComoTexto(dialecto.Alias(QStringLiteral("HARINA"))), tecleado),
           "F5 busca el texto tal cual, en una sola condición");
    const QStringList columnas{QStringLiteral("HARINA")};
    Exigir(filtro_consulta::Filtrada(dialecto, sql, columnas, {}) == sql,
           "sin condición, la misma sentencia");
    // The filtered statement holds the statement's body and the condition on
    // its numbered column as they are, whatever the body and the text hold.
    const QString filtrada = filtro_consulta::Filtrada(dialecto, sql, columnas, {{0, tecleado}});
    const QString numerada =
        filtro_consulta::Condicion(dialecto, QStringLiteral("columna_1"), tecleado);
    Exigir(filtrada.startsWith(QLatin1String("WITH ")) &&
               filtrada.contains(QStringLiteral(" AS (") + partes.cuerpo) &&
               filtrada.contains(QStringLiteral(" WHERE ") + numerada),
           "la sentencia filtrada lleva la sentencia y la condición tal cual");
  }
}

struct Lector {
  const char* nombre;
  void (*probar)(const QString& texto, const QByteArray& bytes);
};

constexpr Lector kLectores[] = {
    {"parametros", Parametros}, {"ini", Ini},         {"numero", Numero},     {"fecha", Fecha},
    {"horario", Horario},       {"formula", Formula}, {"mascaras", Mascaras}, {"filtro", Filtro},
};

// The parser HARINA_PARSER names; nothing for every parser.
const Lector* Elegido() {
  static const Lector* const elegido = []() -> const Lector* {
    const QByteArray nombre = qgetenv("HARINA_PARSER");
    if (nombre.isEmpty()) return nullptr;
    for (const Lector& lector : kLectores) {
      if (nombre == lector.nombre) return &lector;
    }
    if (nombre != "lista")
      std::fprintf(stderr, "HARINA_PARSER=%s no existe; son:\n", nombre.data());
    for (const Lector& lector : kLectores) std::printf("%s\n", lector.nombre);
    std::exit(nombre == "lista" ? 0 : 2);
  }();
  return elegido;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  Elegido();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
  const QByteArray bytes(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(largo));
  const QString texto = QString::fromUtf8(bytes);
  if (const Lector* lector = Elegido()) {
    lector->probar(texto, bytes);
    return 0;
  }
  for (const Lector& lector : kLectores) lector.probar(texto, bytes);
  return 0;
}
