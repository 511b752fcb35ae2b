#pragma once
// What an entry typed in a cell of an analysis becomes before anything is
// sent to the database. Pure: the same column and text give the same result.
// An entry is stored exactly as the operator meant it or not at all: a text
// longer than its column, a number with more digits than the column keeps, a
// time of day that is no time, a control character that would cut the
// statement are refused with a message that says why, never shortened or
// guessed.

#include <QString>

#include "analisis/columnas.h"

struct EntradaLeida {
  bool valida = false;
  QString sql;     // the statement text of the value (NULL for an empty cell)
  QString celda;   // what the cell shows once it is stored
  QString motivo;  // why it was refused, for the operator
};

// Whether the text holds a control character other than a tab or a line
// break: a NUL above all, which would end a statement's text where it stands.
bool TieneCaracteresDeControl(const QString& texto);

// Reads the entry of a column; separador is the operator's decimal separator,
// with which the cell shows numbers.
EntradaLeida LeerEntrada(const ColumnaAnalisis& columna, const QString& entrada,
                         const QString& separador);

// Whether confirming `entrada` over a cell that showed `original` changes
// nothing: the same text, or the same value written otherwise ("14.5" over
// "14,5").
bool EntradaSinCambios(const ColumnaAnalisis& columna, const QString& entrada,
                       const QString& original, const QString& separador);
// The same, for an entry already read (LeerEntrada): it is not read again.
bool EntradaSinCambios(const ColumnaAnalisis& columna, const QString& entrada,
                       const EntradaLeida& leida, const QString& original,
                       const QString& separador);
