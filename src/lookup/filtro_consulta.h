#pragma once
// The conditions F5 adds to a lookup's statement. The statement is any
// SELECT the caller wrote (with GROUP BY, HAVING, aliases, an order, a row
// limit), so a condition cannot simply be appended to its text: the statement
// becomes a derived table, filtered on the result's own column names (which
// are the names the search boxes carry), and its order and row limit are taken
// outside, so that the rows are filtered before they are limited, as a filter
// in the statement's own WHERE would have done.
//
// All functions are pure.

#include <QString>
#include <QStringList>

#include "services/dialecto.h"

namespace filtro_consulta {

// A statement taken apart at its outer level (quotes, brackets and
// parentheses skipped): the body, the ORDER BY tail without any row limit,
// and the row limit (SQL Server's "TOP n" after SELECT, or "LIMIT n" at the
// end), -1 when there is none.
struct Partes {
  QString cuerpo;
  QString orden;
  int limite = -1;
};
Partes Descomponer(const QString& sql);

// The condition "the result column `campo` contains `texto`", without regard
// to case, with the text's quotes doubled and its %, _ and [ taken literally.
QString Condicion(const Dialecto& dialecto, const QString& campo, const QString& texto);

// `sql` restricted to the rows that meet every condition, joined with " and ";
// `sql` itself when there is none.
QString Filtrada(const Dialecto& dialecto, const QString& sql, const QStringList& condiciones);

}  // namespace filtro_consulta
