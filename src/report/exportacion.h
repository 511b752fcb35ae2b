#pragma once
// Exporting the analyses a report would show (its selection formula) to CSV
// and XLSX files: every column, one row per analysis with its date, in the
// report's order, blank analyses left out.
//
// Unattended use: keys "SalidaCsv" and "SalidaXlsx" of section "Reportes" of
// RO000za.INI, file paths (a relative one is taken from the program's
// folder). With either set the export writes there without asking; with both
// it writes both.

#include <QString>
#include <vector>

enum class FormatoExportacion { Csv, Xlsx };

struct DestinoExportacion {
  QString ruta;
  FormatoExportacion formato = FormatoExportacion::Xlsx;
};

// The files the INI names, the CSV first; empty when neither key is set.
std::vector<DestinoExportacion> DestinosDelIni();

// CSV for a name ending in .csv (any case), XLSX otherwise.
FormatoExportacion FormatoDeRuta(const QString& ruta);

// Reads the analyses the formula selects (formula_reporte.h; empty: all)
// once, with the progress shown to the operator, and writes each file whole,
// each one announced (Operador::Informar). False when the operator cancelled:
// the file being written is not left, nor any after it. Throws Falla:
// kArgumentoInvalido for a formula that cannot be read, kConexion or
// kBaseDeDatos when the rows cannot be read, kArchivo when a file cannot be
// written (nothing is left of it).
bool ExportarAnalisis(const QString& formula, const std::vector<DestinoExportacion>& destinos);
