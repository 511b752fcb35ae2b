#pragma once
// An analysis's values between the database, the screen and the statements.
// Pure: the same kind and value give the same text.

#include <QString>
#include <QVariant>
#include <optional>

#include "analisis/columnas.h"

// The text a cell shows for a value read from the database: numbers with the
// operator's decimal separator, Null as an empty cell, times as hh:mm:ss.
QString TextoDeCelda(TipoCampo tipo, const QVariant& valor, const QString& separador);

// The text a cell shows and a report prints for a value of that column: as
// TextoDeCelda, a number rounded to the column's decimals (half away from
// zero, on its decimal digits) without the zeros rounding leaves at the end,
// so that 0.5700000000000001 shows as "0,57" and 14.1 stays "14,1".
QString TextoMostrado(const ColumnaAnalisis& columna, const QVariant& valor,
                      const QString& separador);

// What a cell shows of a value (TextoMostrado), and the whole value when
// that is shown rounded (empty when it is shown whole): one pass for both.
struct Mostrado {
  QString texto;
  QString completo;
};
Mostrado Mostrar(const ColumnaAnalisis& columna, const QVariant& valor, const QString& separador);

// Whether a value read from the database is a number that its column shows
// whole: no more decimals than the column's. Decided on the double itself,
// without writing it as text: true only when that is certain (a double that
// is the nearest one to a decimal of at most decimales places), so a false
// answer asks for the text.
bool CabeEnDecimales(const QVariant& valor, int decimales);
// The same for a double: the integer x * 10^decimales when x is exactly the
// double nearest to it / 10^decimales; none otherwise.
std::optional<qint64> EscaladoExacto(double x, int decimales);

// A number's text ("-12.3456", "1e-05") rounded to at most decimales decimals,
// with a point; a text that is no number is returned as it came.
QString RedondearTexto(const QString& texto, int decimales);

// The statement text of one entry for a field of that kind: a text or a time
// between quotes (every quote doubled), a number with a point, or NULL when
// the entry is empty. Throws Falla (kTipoIncompatible) for an entry of a
// number column that is not a number, and (kArgumentoInvalido) for the key,
// a moment or an unknown field.
QString ValorDeCelda(TipoCampo tipo, const QString& entrada);
