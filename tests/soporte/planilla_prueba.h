#pragma once
// Helpers of the sheet tests. What the program wrote is read back through the
// test's own connection, never the program's, so a test sees what another
// station would see; values come back normalized, so that one expected text
// holds on SQLite and on PostgreSQL alike.

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "sheet/frm_harina.h"
#include "soporte/entorno_prueba.h"

class QSqlQuery;

// The test day, as typed in the date field and as stored.
inline const QString kDia = QStringLiteral("15/03/2004");
inline const QString kDiaIso = QStringLiteral("2004-03-15");

// A value as the test compares it: NULL, a number in C form, a time, a text.
QString Normalizado(const QVariant& valor);

// One column of one analysis; the text "<sin fila>" when the row is gone.
QVariant Leer(EntornoPrueba& e, qint64 id, const QString& columna);

// The keys of the analyses that meet the condition, in order.
QList<qint64> Claves(EntornoPrueba& e, const QString& condicion = QStringLiteral("1 = 1"));

// The rows an executed statement gives, each "field|field|…" with every
// field Normalizado.
QStringList Filas(QSqlQuery& consulta);

// Every row and column but the modification moment, to see what else changed.
QStringList Tabla(EntornoPrueba& e);

// An analysis of the test day (or another), written by another station; its
// key is the highest of the table. extra is one "COLUMN=sql value".
qint64 Sembrar(EntornoPrueba& e, const QString& horario, const QString& extra = {},
               const QString& dia = kDiaIso);

// The grid focused, with its cursor on the cell.
void IrA(frmHarina& w, int fila, int columna);

// "title: text" of every question of the type the operator was asked.
QStringList Avisos(OperadorGuionado& operador, const QString& tipo);
