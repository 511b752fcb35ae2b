#include "soporte/planilla_prueba.h"

#include <QMetaType>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTime>

#include "sheet/grilla.h"

QString Normalizado(const QVariant& valor) {
  if (valor.isNull()) return QStringLiteral("NULL");
  if (valor.typeId() == QMetaType::QTime) return valor.toTime().toString("HH:mm:ss");
  const QString texto = valor.toString();
  // A number, as the engine hands it (a double, or PostgreSQL's numeric text
  // with its trailing zeros), to the fifteen digits a column keeps; a text
  // such as "000" stays as it is.
  static const QRegularExpression decimal("^-?\\d+\\.\\d+$");
  if (valor.typeId() == QMetaType::Double || decimal.match(texto).hasMatch())
    return QString::number(texto.toDouble(), 'g', 15);
  return texto;
}

QVariant Leer(EntornoPrueba& e, qint64 id, const QString& columna) {
  QSqlQuery consulta(e.Otra());
  consulta.exec(QStringLiteral("SELECT %1 FROM v_mv_zentalia WHERE ID = %2").arg(columna).arg(id));
  return consulta.next() ? consulta.value(0) : QVariant(QStringLiteral("<sin fila>"));
}

QList<qint64> Claves(EntornoPrueba& e, const QString& condicion) {
  QSqlQuery consulta(e.Otra());
  consulta.exec("SELECT ID FROM v_mv_zentalia WHERE " + condicion + " ORDER BY ID");
  QList<qint64> claves;
  while (consulta.next()) claves << consulta.value(0).toLongLong();
  return claves;
}

QStringList Filas(QSqlQuery& consulta) {
  QStringList filas;
  while (consulta.next()) {
    QStringList fila;
    for (int c = 0; c < consulta.record().count(); ++c) fila << Normalizado(consulta.value(c));
    filas << fila.join('|');
  }
  return filas;
}

QStringList Tabla(EntornoPrueba& e) {
  QSqlQuery consulta(e.Otra());
  consulta.exec(
      "SELECT ID, Fecha, responsable, tipo_harina, HORARIO, HUMEDO, SECO, CARACT, "
      "FALLINGNUMBER, HUMEDAD, CENIZAS, COLOR, CONTROLPESAJE, OBSERVACIONES "
      "FROM v_mv_zentalia ORDER BY ID");
  return Filas(consulta);
}

qint64 Sembrar(EntornoPrueba& e, const QString& horario, const QString& extra, const QString& dia) {
  const QString columnas = extra.isEmpty() ? QString() : ", " + extra.section('=', 0, 0);
  const QString valores = extra.isEmpty() ? QString() : ", " + extra.section('=', 1);
  e.Ejecutar(QStringLiteral("INSERT INTO v_mv_zentalia (Fecha, responsable, HORARIO%1) VALUES "
                            "('%2 00:00:00', 'lab', %3%4)")
                 .arg(columnas, dia, horario.isEmpty() ? "NULL" : "'" + horario + "'", valores));
  return Claves(e).constLast();
}

void IrA(frmHarina& w, int fila, int columna) {
  w.MSflexGrid1->setFocus();
  w.MSflexGrid1->SetRow(fila);
  w.MSflexGrid1->SetCol(columna);
}

QStringList Avisos(OperadorGuionado& operador, const QString& tipo) {
  QStringList textos;
  for (const Pregunta& p : operador.preguntas)
    if (p.tipo == tipo) textos << p.titulo + ": " + p.texto;
  return textos;
}
