#pragma once
// The database schema the program works on, from the files in db/ (built into
// the program as resources): the analysis table v_mv_zentalia and the
// configuration table ta_configuracion with its NOMBRE row.

#include <QSqlDatabase>
#include <QStringList>

#include "services/dialecto.h"

namespace esquema {

// The statements of the schema file of an engine, in order.
QStringList Sentencias(Motor motor);

// Runs them on the connection; throws Falla (kBaseDeDatos) on the first one the
// engine refuses.
void Crear(QSqlDatabase base, Motor motor);

}  // namespace esquema
