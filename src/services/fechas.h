#pragma once
// The operator's date form. A date is typed as day/month/year ("15/03/2004",
// "5/3/2004") and is parsed once, here, at the edge: a text that is not a real
// calendar date is refused before any statement is built from it. A two-digit
// year is the nearest one that is not more than twenty years ahead of today
// (in 2026, "46" is 2046 and "47" is 1947); a four-digit year is taken as
// typed, from 1900 on.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>

namespace fechas {

// The short date form the date fields show and the general date form of
// moments, as the operator reads them.
inline const QString kFormaCorta = QStringLiteral("dd/MM/yyyy");
inline const QString kFormaGeneral = QStringLiteral("dd/MM/yyyy HH:mm:ss");

// The date the text names (blanks at its ends ignored), or nothing when it
// names none: "31/02/2024", "12345", "hoy" and "" give nothing.
std::optional<QDate> LeerFecha(const QString& texto);

// The same, with the two-digit years read around the year of `hoy`.
std::optional<QDate> LeerFecha(const QString& texto, const QDate& hoy);

// The message that refuses a text that is not a date, for the operator.
QString NoEsFecha(const QString& texto);

// The station's clock now, as its wall time with the offset from UTC in force
// (the same moment and wall time as QDateTime::currentDateTime()), by the time
// zone the process last read: the zone's rules are not read again for every
// call, as Qt does, since every stored cell is stamped.
QDateTime Ahora();

}  // namespace fechas
