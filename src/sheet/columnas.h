#pragma once
// The columns of the day sheet. Column 0 holds the hidden key (ID); columns 1
// to 11 the analysis values. Rows 0 and 1 of the grid are the two header
// lines; the cell editor recognises a column by its second line (compared
// without regard to case), so those texts are the contract between the load,
// the editor and the write-back.

#include <QString>

// What a database column holds, and therefore how a value is written to it.
enum class TipoCampo { Numero, Texto, Clave, Desconocido };

struct ColumnaPlanilla {
  int indice;         // grid column
  QString linea1;     // header row 0
  QString linea2;     // header row 1: the column's key
  int ancho;          // twips
  int alineacion;     // 2 left and bottom, 0 left and top
  QString dataField;  // the database column, as statements spell it
  int maximo;         // longest entry the editor takes; 0 no limit
  QString tag;        // the lookup of the column; "" none
};

// Columns 1 to 11, in order.
const QList<ColumnaPlanilla>& ColumnasPlanilla();

// The column whose header key (row 1) is clave, or null (the key column "ID").
const ColumnaPlanilla* ColumnaPorClave(const QString& clave);

// The column shown in grid column indice, or null (the key column, or none).
const ColumnaPlanilla* ColumnaPorIndice(int indice);

// The kind of a database column, by name in any case.
TipoCampo TipoDeCampo(const QString& dataField);

// The grid's text for a value read from the database: numbers with the
// operator's decimal separator, Null as an empty cell, times as hh:mm:ss.
QString TextoDeCelda(TipoCampo tipo, const QVariant& valor, const QString& separador);
