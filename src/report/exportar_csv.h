#pragma once
// The analyses as a CSV file, the way a spreadsheet of the operator's region
// opens it with a double click: UTF-8 with a byte-order mark, a header row of
// the column titles (the date first, then every column of the sheet), one
// record per analysis, fields quoted as RFC 4180 says (a field holding the
// separator, a quote or a line break goes between quotes, its quotes
// doubled), every record ended by CR LF. Dates are dd/MM/yyyy, times HH:mm.

#include <QChar>
#include <QString>
#include <functional>
#include <vector>

#include "report/analisis_reporte.h"

class QIODevice;

struct FormatoCsv {
  QChar separador = QLatin1Char(',');
  QChar decimal = QLatin1Char('.');
};

// ";" and the decimal comma for an operator whose decimal separator is the
// comma; "," and the point otherwise.
FormatoCsv FormatoCsvDelOperador();

// The whole file: the mark, the header, then the analyses in their order.
// avanzar is told how many analyses have been written; when it answers false
// the writing stops and the result is false. False too when the device
// refuses a write.
bool EscribirCsv(QIODevice& destino, const std::vector<AnalisisReporte>& analisis,
                 const FormatoCsv& formato, const std::function<bool(qint64)>& avanzar);

// EscribirCsv into the file at ruta, whole or not at all: it is written beside
// it and takes its place only once complete, so that a cancelled export or a
// full disk leaves neither half a file nor a spoilt old one. Missing folders
// are made. False when cancelled. Throws Falla (kArchivo) when the file cannot
// be written; the message names the file, the reason and what to do.
bool GuardarCsv(const QString& ruta, const std::vector<AnalisisReporte>& analisis,
                const FormatoCsv& formato, const std::function<bool(qint64)>& avanzar);

// The message of a file that could not be written, as every export says it.
[[noreturn]] void NoSeExporto(const QString& ruta, const QString& razon);
