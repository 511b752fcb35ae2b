#include "services/esquema.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

#include "services/falla.h"
#include "services/fallas_motor.h"

namespace esquema {

QStringList Sentencias(Motor motor) {
  const QString ruta = motor == Motor::Postgresql ? QStringLiteral(":/db/postgresql.sql")
                                                  : QStringLiteral(":/db/sqlite.sql");
  QFile archivo(ruta);
  if (!archivo.open(QIODevice::ReadOnly))
    throw Falla(Falla::kArchivo, QStringLiteral("Falta el esquema %1.").arg(ruta));
  QString texto = QString::fromUtf8(archivo.readAll());
  // The schema files keep one statement per ";" that ends a line, and comments
  // on lines of their own.
  texto.remove(
      QRegularExpression(QStringLiteral("^\\s*--[^\\n]*$"), QRegularExpression::MultilineOption));
  QStringList sentencias;
  for (const QString& parte : texto.split(QRegularExpression(QStringLiteral(";\\s*\\n")))) {
    if (!parte.trimmed().isEmpty()) sentencias << parte.trimmed();
  }
  return sentencias;
}

void Crear(QSqlDatabase base, Motor motor) {
  for (const QString& sentencia : Sentencias(motor)) {
    QSqlQuery consulta(base);
    if (consulta.exec(sentencia)) continue;
    const QSqlError error = consulta.lastError();
    const fallas_motor::Clase clase = fallas_motor::Clasificar(motor, error);
    if (clase != fallas_motor::Clase::Otra)
      throw fallas_motor::Construir(clase, error, QStringLiteral("«%1»").arg(base.databaseName()),
                                    true, 0);
    throw Falla(Falla::kBaseDeDatos,
                QStringLiteral("No se pudo crear el esquema: %1").arg(error.text().trimmed()));
  }
}

}  // namespace esquema
