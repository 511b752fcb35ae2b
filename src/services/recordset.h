#pragma once
// Recordset: the rows of one statement, read forward only. After Abrir it
// stands on the first row; Bof() is true when there is none (the result is
// empty), Eof() once the last row has been passed. Fields are found by
// position or by name, names compared without regard to case.
//
// (Bof/Eof, not BOF/EOF: EOF is the C library's macro.)

#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

struct Campo {
  QString Name;
  QVariant Value;   // null for a Null value
  int DefinedSize;  // the engine's declared size, -1 when it declares none
};

class Recordset {
 public:
  Recordset() = default;

  // Takes an executed query and moves to its first row.
  void Abrir(QSqlQuery consulta);
  void Close();
  bool Abierto() const { return abierto_; }

  // Both throw Falla (kArgumentoInvalido) on a recordset that is not open.
  bool Bof() const;
  bool Eof() const;
  // Throws Falla (kBaseDeDatos) when the engine fails before the last row.
  void MoveNext();

  int FieldCount() const { return registro_.count(); }
  // Throws Falla (kArgumentoInvalido) for a position or name that is no field,
  // or when the recordset stands on no row.
  Campo Fields(int posicion) const;
  Campo Fields(const QString& nombre) const;
  // The value at a position of the current row, without the field's
  // description: for reading many rows.
  QVariant Valor(int posicion) const;

 private:
  void RequiereAbierto() const;
  void RequiereFila() const;
  // Throws when the last move found an engine failure rather than the end.
  void FallaAlLeer() const;

  QSqlQuery consulta_;
  QSqlRecord registro_;
  bool abierto_ = false;
  bool bof_ = true;
  bool eof_ = true;
};
