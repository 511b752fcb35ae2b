#pragma once
// The database schema the program works on: the analysis table v_mv_zentalia,
// the configuration table ta_configuracion with its NOMBRE row, the limits
// table ta_limites, the audit trail ta_auditoria, and ta_version_esquema,
// whose one row says which version of the schema the database holds (a
// database of the lab without it holds version 1). The whole current schema
// is in the files of db/ (built into the program as resources); an older
// database is brought to it by numbered steps, one per version, the same for
// every engine.
//
// Preparar promises: a database without the lab's tables gets the whole
// schema; an older one is upgraded in one transaction (every row kept; a
// failure leaves it exactly as it was); a newer one is refused untouched.

#include <QSqlDatabase>
#include <QStringList>
#include <functional>
#include <vector>

#include "services/dialecto.h"

namespace esquema {

// The version of the schema this program works on.
inline constexpr int kVersion = 5;

// What a step may read of the database before its statements run: the first
// column of every row a query answers.
using Leer = std::function<QStringList(const QString& consulta)>;

// The step that takes a database from version - 1 to version. Its statements
// are made when it begins, from the engine and what it reads.
struct Paso {
  int version;
  std::function<QStringList(const Dialecto&, const Leer&)> sentencias;
};

// This program's steps, in order of version.
std::vector<Paso> Pasos();

// The statements of the schema file of an engine, in order.
QStringList Sentencias(Motor motor);

// Runs them on the connection in one transaction; throws Falla (kBaseDeDatos)
// on the first one the engine refuses, having undone the others.
void Crear(QSqlDatabase base, Motor motor);

// The names of the database's tables.
QStringList Tablas(QSqlDatabase base, Motor motor, const QString& donde);

// The version of the lab's database: 0 without the lab's tables, 1 with them
// and no version table.
int Version(QSqlDatabase base, Motor motor, const QString& donde);

// Brings a database of the lab (or one without tables) to version objetivo
// by pasos. A database that cannot be written (soloLectura) is only checked:
// an older one is left as it is, to be read. Throws Falla whose message is
// the whole of what the operator is told: kArgumentoInvalido for a newer
// database (or one with another program's tables only), otherwise the code of
// the failure that undid the creation or the upgrade.
void Preparar(QSqlDatabase base, Motor motor, const QString& donde, bool soloLectura,
              int objetivo = kVersion, const std::vector<Paso>& pasos = Pasos());

}  // namespace esquema
