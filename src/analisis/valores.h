#pragma once
// An analysis's values between the database, the screen and the statements.
// Pure: the same kind and value give the same text.

#include <QString>
#include <QVariant>

#include "analisis/columnas.h"

// The text a cell shows for a value read from the database: numbers with the
// operator's decimal separator, Null as an empty cell, times as hh:mm:ss.
QString TextoDeCelda(TipoCampo tipo, const QVariant& valor, const QString& separador);

// The statement text of one entry for a field of that kind: a text or a time
// between quotes (every quote doubled), a number with a point, or NULL when
// the entry is empty. Throws Falla (kTipoIncompatible) for an entry of a
// number column that is not a number, and (kArgumentoInvalido) for the key,
// a moment or an unknown field.
QString ValorDeCelda(TipoCampo tipo, const QString& entrada);
