#pragma once
// The conditions F5 adds to a lookup's statement. The statement is any
// SELECT the caller wrote (with GROUP BY, HAVING, aliases, an order, a row
// limit, columns that share a name), so a condition cannot simply be appended
// to its text: the statement becomes a table expression whose columns are
// numbered, the conditions are put on those numbers, and the result gives the
// columns back under the names the engine gave them, so that the list's
// headers do not change. The row limit is taken outside, so that the rows are
// filtered before they are limited, as a filter in the statement's own WHERE
// would have done.
//
// The order stays the statement's own: when each of its items is a result
// column (by name, alias or position) it is applied outside, on the numbered
// columns; otherwise (an expression, a column the statement does not show, a
// qualified name) it stays inside the table expression, where every name it
// uses is known, and the engine hands the rows on in that order (SQLite and
// PostgreSQL do; SQL Server refuses an ORDER BY there).
//
// All functions are pure.

#include <QList>
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

// One F5: the text typed in the search box of a result column (0-based).
struct Filtro {
  int columna = 0;
  QString texto;
};

// The condition "the column `campo` contains `texto`", without regard to
// case, with the text's quotes doubled and its %, _ and [ taken literally.
QString Condicion(const Dialecto& dialecto, const QString& campo, const QString& texto);

// `sql` restricted to the rows that meet every filter, joined with " and ";
// `sql` itself when there is none. `columnas` are the names of the result's
// columns, in order, as the engine gave them (the list's headers); a filter
// on a column beyond them is left out.
QString Filtrada(const Dialecto& dialecto, const QString& sql, const QStringList& columnas,
                 const QList<Filtro>& filtros);

}  // namespace filtro_consulta
