#pragma once
// The one table of an analysis's fields: for each field of the record (the
// key, its moments, the eleven analysis columns of the sheet) everything the
// program knows of it. The grid's headers and widths, the editor's tuning,
// the day's statements, the report's columns and the formula's fields all
// read it from here: a new column, or a new property of one, is one edit.
//
// The texts fixed by the design (captions, widths, the statements' spelling)
// are kept here as the design wrote them, spelling included.

#include <QList>
#include <QString>

// What a field holds, and therefore how a value is read, written and shown.
enum class TipoCampo { Clave, Momento, Texto, Numero, Hora, Desconocido };

struct ColumnaAnalisis {
  QString campo;  // the field, as the report and its formulas spell it
  TipoCampo tipo;
  int indice = 0;  // the grid column (1 to 11); 0 for the record's own fields
  // The grid.
  QString linea1;      // header row 0
  QString linea2;      // header row 1: the column's key, for the editor
  int ancho = 0;       // twips
  int alineacion = 0;  // 2 left and bottom, 0 left and top
  // The editor and the stored cell.
  QString dataField;  // the field as the editor and the cell's UPDATE spell it
  int maximo = 0;     // the most characters a text holds; 0 no limit
  QString tag;        // the column's lookup; empty for none
  // The day's statement spells each column its own way.
  QString enSentencia;
  // The report.
  QString tituloReporte;
  int pesoReporte = 0;  // share of the page's width
  // What the analysis measures.
  QString unidad;  // "g/100 g", "s"; empty for none
  // The most decimals a number shows on the sheet and in print; the stored
  // value keeps all it has. -1 for a column that holds no number.
  int decimales = -1;
};

// Every field of an analysis record, in the table's order.
const QList<ColumnaAnalisis>& CamposAnalisis();

// The eleven analysis columns, in the grid's order (indice 1 to 11).
const QList<ColumnaAnalisis>& ColumnasAnalisis();

// The analysis column in grid column indice, or null (the key column, none).
const ColumnaAnalisis* ColumnaPorIndice(int indice);

// The analysis column whose header key (row 1) is clave, in any case; null
// for none (the key column "ID" among them).
const ColumnaAnalisis* ColumnaPorClave(const QString& clave);

// The field of that name in any of its spellings, in any case; null for none.
const ColumnaAnalisis* CampoPorNombre(const QString& nombre);

// The kind of a field, by any of its spellings in any case.
TipoCampo TipoDeCampo(const QString& nombre);

// The grid column of the flour type: every verdict of a row depends on it.
int IndiceTipoHarina();

// "GLUTEN HÚMEDO": the column's two header lines, as a message names it.
QString NombreColumna(const ColumnaAnalisis& columna);
