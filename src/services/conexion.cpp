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
    const QString razon = consulta.lastError().text().trimmed();
    consulta = QSqlQuery();
    Recuperar();
    throw Falla(Falla::kBaseDeDatos,
                QStringLiteral("La base de datos rechazó la sentencia: %1").arg(razon));
  }
  if (filasAfectadas) *filasAfectadas = consulta.numRowsAffected();
  Recordset filas;
  filas.Abrir(std::move(consulta));
  return filas;
}

void Conexion::Preparar(const QString& sentencia) {
  Execute(sentencia);
  preparacion_.append(sentencia);
}

void Conexion::SetCommandTimeout(int segundos) {
  const QString sentencia = dialecto_.TiempoLimite(segundos);
  if (!sentencia.isEmpty()) Execute(sentencia);
  sentenciaTiempo_ = sentencia;
  tiempoLimite_ = segundos;
}

void Conexion::Recuperar() {
  QSqlDatabase base = Base();
  if (base.isOpen() && QSqlQuery(base).exec(QStringLiteral("SELECT 1"))) return;
  base.close();
  if (!base.open()) return;
  for (const QString& sentencia : preparacion_) QSqlQuery(base).exec(sentencia);
  if (!sentenciaTiempo_.isEmpty()) QSqlQuery(base).exec(sentenciaTiempo_);
}
