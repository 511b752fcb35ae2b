#pragma once
// The limits editor and the database: the flour types recorded in the
// analyses, and a save of a flour type's limits as of one date, in one
// transaction (especificacion.h builds the rows and statements). Throws Falla
// when the database fails; a failed save has changed nothing.

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include "analisis/limites.h"

class Conexion;

// Every flour type recorded in the analysis table, as recorded (blanks and
// empty ones left out).
QStringList LeerTiposRegistrados(Conexion& conexion, const QString& tabla);

// Writes the rows of flour type tipo as of vigente (FilasAGuardar) in one
// transaction: a row of the same type, field and date is replaced. Each bound
// that changes what holds from that date is recorded in the audit trail in
// the same transaction, signed by operador: an "especificacion" row whose
// field reads "0000 HUMEDAD maximo", naming the limit row written (or, for a
// row only taken away, the row removed). A failure rolls everything back and
// throws a Falla that says the table is as it was.
void GuardarLimites(Conexion& conexion, const QString& operador, const QString& tipo,
                    const QDate& vigente, const QList<Limite>& filas);
