#pragma once
// The selection formula of a report and its formula assignments, in the
// report formula language the program writes:
//
//   {V_MV_ZENTALIA.FECHA} >= Date(2004,03,01) AND  {V_MV_ZENTALIA.FECHA} <= Date(2004,03,31)
//   {v_mv_ZENTALIA.fecha} = cdate('15/03/2004')
//   empresa = 'Molino La Espiga'
//
// LeerFormula reads a selection formula into a condition: field references
// {TABLE.FIELD} (names in any case; the table is v_mv_zentalia), the
// comparisons = <> < <= > >=, AND, OR, NOT (keywords in any case; NOT binds
// tighter than AND, AND tighter than OR), parentheses, and the literals
// cdate('d/m/y') or cdate(y,m,d), Date(y,m,d) or Date('d/m/y'), numbers and
// quoted texts ('...' or "...", the quote doubled inside). A comparison of a
// date column with a date compares days: "= cdate(d)" is the whole day d.
//
// A formula that cannot be read, names an unknown table or field, compares
// values of different kinds or nests more than 100 parentheses or NOTs is
// refused: Falla (kArgumentoInvalido) whose message
// quotes the formula and says where and why. Nothing is guessed.
//
// CondicionSql turns a condition into the text of a WHERE clause for the
// engine, with the column names and date literals of its Dialecto, so that the
// engine selects the rows (by the index on Fecha for a range of dates).
//
// Every function here is pure.

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

#include "services/dialecto.h"

namespace formula {

enum class Comparador { Igual, Distinto, Menor, MenorIgual, Mayor, MayorIgual };

// What a column of v_mv_zentalia holds, as the formula compares it.
enum class Clase { Numero, Texto, Hora, Fecha };

struct Operando {
  enum class Tipo { Campo, Fecha, Numero, Texto } tipo = Tipo::Numero;
  QString campo;                // Campo: the column as the statements name it
  Clase clase = Clase::Numero;  // Campo: what it holds
  QDate fecha;                  // Fecha
  QString valor;                // Numero: digits with a point; Texto: the text, unquoted
};

struct Condicion {
  enum class Tipo { Y, O, No, Comparacion } tipo = Tipo::Comparacion;
  std::vector<Condicion> hijos;  // Y, O: two or more; No: one
  // Comparacion: always a field on the left (a literal written on the left is
  // turned around with its comparator).
  Operando izquierdo;
  Comparador comparador = Comparador::Igual;
  Operando derecho;
};

// The condition of a selection formula; nothing for an empty formula or one of
// blanks only (every analysis). Throws Falla (kArgumentoInvalido) as above.
std::optional<Condicion> LeerFormula(const QString& formula);

// The WHERE clause text (without WHERE) of a condition on that engine.
QString CondicionSql(const Condicion& condicion, const Dialecto& dialecto);

// The days a condition restricts Fecha to, when it is Fecha compared with
// dates joined by AND (what the report request writes): the first and last
// day selected, each absent when unbounded. Nothing for any other condition.
struct Rango {
  std::optional<QDate> desde;
  std::optional<QDate> hasta;
  // True when no day can be selected (desde after hasta).
  bool Vacio() const { return desde && hasta && *desde > *hasta; }
};
std::optional<Rango> RangoDeFechas(const Condicion& condicion);

// A formula assignment "name = 'text'" (or "text" between double quotes, or a
// bare word): the name, trimmed, and the text between its outer quotes, as it
// is. Nothing when there is no "=" or no name.
struct Asignacion {
  QString nombre;
  QString valor;
};
std::optional<Asignacion> LeerAsignacion(const QString& texto);

}  // namespace formula
