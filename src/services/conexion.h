#pragma once
// Conexion: the one open database connection of the session, as the program
// statements see it. Execute runs a statement and returns its rows forward
// only; a statement the engine refuses throws Falla (kBaseDeDatos) carrying
// the engine's own reason.
//
// A connection that was lost (the server restarted, the network went away)
// is reopened when a statement fails, before the failure is thrown; the
// failed statement is not run again by itself, so that the operator's retry
// runs it once on the new connection. The settings given to Preparar and
// SetCommandTimeout are applied again on every reopening.

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

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

  // Runs a setting now and on every reopening (PRAGMA synchronous, ...).
  void Preparar(const QString& sentencia);

  // Seconds a statement may run (or, on SQLite, wait for another station's
  // lock) before the engine gives up.
  void SetCommandTimeout(int segundos);
  int CommandTimeout() const { return tiempoLimite_; }

 private:
  // Reopens the connection when it no longer answers.
  void Recuperar();

  QString nombre_;
  QStringList preparacion_;
  QString sentenciaTiempo_;  // the latest time-out setting
  Dialecto dialecto_;
  int tiempoLimite_ = 30;
};
