#include "sheet/sentencias.h"

#include <QStringList>

#include "analisis/columnas.h"
#include "services/auditoria.h"

namespace sentencias {

namespace {

// The day's columns as the design's statement spells them.
QString Columnas() {
  QStringList campos{QStringLiteral("ID")};
  for (const ColumnaAnalisis& columna : ColumnasAnalisis()) campos << columna.enSentencia;
  return QStringLiteral("SELECT ") + campos.join(QLatin1Char(',')) + QStringLiteral(" FROM ");
}

}  // namespace

QString ConsultaDia(const Dialecto& d, const QString& tabla, const QDate& fecha,
                    const QString& tecleada, bool ordenada) {
  QString sql = Columnas() + tabla + QStringLiteral(" where fecha between  '") +
                d.Dia(fecha, tecleada.trimmed()) + QStringLiteral(" 00:00:00' and '") +
                d.Dia(fecha, tecleada) + QStringLiteral(" 23:59:59'");
  if (ordenada) sql += QStringLiteral(" order by horario");
  return sql;
}

QString FilaNueva(const Dialecto& d, const QDate& fecha, const QString& tecleada,
                  const QString& responsable, const QDateTime& ahora) {
  return QStringLiteral("INSERT INTO v_mv_zentalia (Fecha,responsable,fecha_alta) VALUES (") +
         Dialecto::Texto(d.Medianoche(fecha, tecleada)) + QStringLiteral(" , ") +
         Dialecto::Texto(responsable) + QLatin1Char(',') + Dialecto::Texto(d.TextoMomento(ahora)) +
         QLatin1Char(')');
}

QString ActualizarCelda(const Dialecto& d, const QString& tabla, const QString& campo,
                        const QString& valor, const QDateTime& ahora, qint64 id) {
  return QStringLiteral("UPDATE ") + tabla + QStringLiteral(" SET ") + d.Columna(campo) +
         QStringLiteral(" = ") + valor + QStringLiteral(", fecha_modificacion ='") +
         d.TextoMomento(ahora) + QStringLiteral("' WHERE ID = ") + QString::number(id);
}

QString ActualizarCeldaAtada(const Dialecto& d, const QString& tabla, const QString& campo) {
  return QStringLiteral("UPDATE ") + tabla + QStringLiteral(" SET ") + d.Columna(campo) +
         QStringLiteral(" = ?, fecha_modificacion = ? WHERE ID = ?");
}

QString LeerCeldaConCabeza(const Dialecto& d, const QString& tabla, const QString& campo) {
  return QStringLiteral("SELECT %1, %2 FROM %3 WHERE ID = ?")
      .arg(d.Columna(campo), auditoria::Cabeza(d), tabla);
}

QString BorrarAnalisis(const Dialecto& d, const QString& tabla, qint64 id) {
  return d.Borrar(tabla, QStringLiteral("ID = ") + QString::number(id));
}

QString BorrarEnBlanco(const Dialecto& d, const QString& tabla, const QList<qint64>& ids) {
  if (ids.isEmpty()) return {};
  return d.Borrar(tabla, EnBlanco(d, ids));
}

QString FilasCompletas(const QString& tabla, const QString& condicion) {
  QStringList campos;
  for (const ColumnaAnalisis& campo : CamposAnalisis()) campos << campo.campo;
  return QStringLiteral("SELECT %1 FROM %2 WHERE %3")
      .arg(campos.join(QStringLiteral(", ")), tabla, condicion);
}

QString EnBlanco(const Dialecto& d, const QList<qint64>& ids) {
  QStringList claves;
  for (const qint64 id : ids) claves << QString::number(id);
  QString condicion = QStringLiteral("ID IN (") + claves.join(QLatin1Char(',')) + QLatin1Char(')');
  for (const ColumnaAnalisis& columna : ColumnasAnalisis()) {
    const QString nombre = d.Columna(columna.dataField);
    // A text column written by another program may hold '' for nothing; a
    // time or a number column cannot be compared with a text.
    condicion += columna.tipo == TipoCampo::Texto
                     ? QStringLiteral(" AND (%1 IS NULL OR %1 = '')").arg(nombre)
                     : QStringLiteral(" AND %1 IS NULL").arg(nombre);
  }
  return condicion;
}

}  // namespace sentencias
