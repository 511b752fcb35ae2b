#pragma once
// A reader of XLSX files for the tests only: the parts of the workbook read
// with unzip, the cells of a sheet with what the spreadsheet makes of them
// (kind, value, number format, font colour), so that a test checks what a
// spreadsheet would show and not what the writer meant.

#include <QMap>
#include <QString>
#include <QStringList>

struct CeldaXlsx {
  QString tipo;     // "n" a number (dates and times too), "s" or "inlineStr" a text
  QString valor;    // the number as written, or the text
  QString formato;  // the number format's code ("0.00", "dd/mm/yyyy"); "General" for none
  QString color;    // the font's colour, "FFFF0000" for red; empty for the default
  bool negrita = false;
};

// The text of one part of the workbook ("xl/workbook.xml"); an empty text
// when it is not there.
QString ParteXlsx(const QString& ruta, const QString& parte);

// The names of the sheets, in order.
QStringList HojasXlsx(const QString& ruta);

// The cells of the n-th sheet (1, 2...) by reference ("A1", "L3").
QMap<QString, CeldaXlsx> CeldasXlsx(const QString& ruta, int hoja);
