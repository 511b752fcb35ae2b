#pragma once
// The statements of the day sheet, built as text. Pure: same dialect and
// values, same text. On SQL Server each is the old program's text byte for
// byte; SQLite and PostgreSQL get the same statement with their own names and
// date literals (Dialecto). Every value is quoted or validated here, so no
// entry can break a statement or reach another column or row.

#include <QDate>
#include <QDateTime>
#include <QString>

#include "services/dialecto.h"

namespace sentencias {

// The analyses of one day, ordered by time or not. tecleada is the date field's
// text as typed: SQL Server gets its trimmed text as the lower bound and the
// untrimmed one as the upper bound.
QString ConsultaDia(const Dialecto& d, const QString& tabla, const QDate& fecha,
                    const QString& tecleada, bool ordenada);

// A new blank analysis of the day, created by the responsible person now.
QString FilaNueva(const Dialecto& d, const QDate& fecha, const QString& tecleada,
                  const QString& responsable, const QDateTime& ahora);

// Stores one cell: valor is statement text (ValorDeCelda).
QString ActualizarCelda(const Dialecto& d, const QString& tabla, const QString& campo,
                        const QString& valor, const QDateTime& ahora, qint64 id);
// The same with its values bound, in this order: the value, the moment
// (Dialecto::TextoMomento) and the key. The text depends only on the column,
// so the stored cells of one column share one prepared statement.
QString ActualizarCeldaAtada(const Dialecto& d, const QString& tabla, const QString& campo);
// A cell's value before it is stored, with the trail's moment and last
// huella (auditoria::Cabeza); the key bound.
QString LeerCeldaConCabeza(const Dialecto& d, const QString& tabla, const QString& campo);

QString BorrarAnalisis(const Dialecto& d, const QString& tabla, qint64 id);

// Deletes those of the analyses (keys) that are blank in every analysis column
// when the statement runs: a value another station stored meanwhile keeps its
// row. Empty when there are no keys.
QString BorrarEnBlanco(const Dialecto& d, const QString& tabla, const QList<qint64>& ids);
// Its condition: those of the keys whose analysis columns are all blank.
QString EnBlanco(const Dialecto& d, const QList<qint64>& ids);

// Every field of the analyses that meet the condition, in the order of
// CamposAnalisis (the key first).
QString FilasCompletas(const QString& tabla, const QString& condicion);

}  // namespace sentencias
