#pragma once
// Conexion: the one open database connection of the session, as the program
// statements see it. Execute runs a statement and returns its rows forward
// only; a statement the engine refuses throws Falla (kBaseDeDatos) carrying
// the engine's own reason.

#include <QSqlDatabase>
#include <QString>

#include "services/dialecto.h"
#include "services/recordset.h"

class Conexion {
 public:
  Conexion(QString nombreConexion, Motor motor);

  const Dialecto& dialecto() const { return dialecto_; }
  QSqlDatabase Base() const;

  // filasAfectadas, when given, receives how many rows an INSERT, UPDATE or
  // DELETE changed (-1 when the engine cannot tell).
  Recordset Execute(const QString& sql, int* filasAfectadas = nullptr);

  // Seconds a statement may run (or, on SQLite, wait for another station's
  // lock) before the engine gives up.
  void SetCommandTimeout(int segundos);
  int CommandTimeout() const { return tiempoLimite_; }

 private:
  QString nombre_;
  Dialecto dialecto_;
  int tiempoLimite_ = 30;
};
