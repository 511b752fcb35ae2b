#pragma once
// The sheet's lookups (and the limits editor's list of flour types) ask for
// one column's distinct non-blank values:
//   SELECT C [AS A] FROM T WHERE C<>'' GROUP BY C
// As written, an engine reads the whole table (or the whole index) to answer
// a handful of values. Over an index that leads with C the same answer comes
// from one index seek per value (a skip scan), whatever the table's size.
//
// LeerDistintos is pure: it recognises that one shape, nothing looser.
// SentenciaParaElMotor gives the engine the skip scan when the shape is
// recognised, the engine has one and an index leads with the column; any
// other statement goes as it came.

#include <QString>
#include <optional>

class Conexion;

struct Distintos {
  QString tabla;
  QString columna;
  QString alias;  // as written, quotes included; empty without AS
};

std::optional<Distintos> LeerDistintos(const QString& sql);

// Throws Falla when the database cannot be asked about its indexes.
QString SentenciaParaElMotor(Conexion& conexion, const QString& sql);
