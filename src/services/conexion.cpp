#include "services/conexion.h"

#include <QSqlError>
#include <utility>

#include "services/falla.h"

Conexion::Conexion(QString nombreConexion, Motor motor)
    : nombre_(std::move(nombreConexion)), dialecto_(motor) {}

QSqlDatabase Conexion::Base() const { return QSqlDatabase::database(nombre_, false); }

Recordset Conexion::Execute(const QString& sql, int* filasAfectadas) {
  QSqlQuery consulta(Base());
  consulta.setForwardOnly(true);
  if (!consulta.exec(sql)) {
    throw Falla(Falla::kBaseDeDatos, QStringLiteral("La base de datos rechazó la sentencia: %1")
                                         .arg(consulta.lastError().text().trimmed()));
  }
  if (filasAfectadas) *filasAfectadas = consulta.numRowsAffected();
  Recordset filas;
  filas.Abrir(std::move(consulta));
  return filas;
}

void Conexion::SetCommandTimeout(int segundos) {
  const QString sentencia = dialecto_.TiempoLimite(segundos);
  if (!sentencia.isEmpty()) Execute(sentencia);
  tiempoLimite_ = segundos;
}
