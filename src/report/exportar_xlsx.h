#pragma once
// The analyses as an XLSX workbook (libxlsxwriter), for a spreadsheet that
// computes with them. Sheet "Análisis": a bold header row that stays in view
// (frozen), then one row per analysis: the date as a date (dd/mm/yyyy), the
// time as a time (hh:mm), each number as a number shown with as many
// decimals as the most precise value of its column, texts as texts, and a
// value out of its limits (its flour type's limits in force on its date,
// limites.h) in red. Columns are as wide as their longest text. Sheet
// "Especificaciones": every row of limits in force on some day of the
// analyses (or today, without analyses), by flour type and column, with the
// day it took force.

#include <QList>
#include <QString>
#include <functional>
#include <vector>

#include "analisis/limites.h"
#include "report/analisis_reporte.h"

// Writes the workbook at ruta, whole or not at all: it is made under a
// temporary name in the same folder and renamed over ruta once complete.
// Missing folders are made. avanzar is told how many analyses have been
// written; when it answers false nothing is left and the result is false.
// Throws Falla (kArchivo) when the file cannot be written.
bool GuardarXlsx(const QString& ruta, const std::vector<AnalisisReporte>& analisis,
                 const QList<Limite>& limites, const std::function<bool(qint64)>& avanzar);

// The rows of limits in force on some day from desde to hasta, by flour type,
// column (in the sheet's order) and date.
QList<Limite> LimitesEnVigor(const QList<Limite>& limites, const QDate& desde, const QDate& hasta);
