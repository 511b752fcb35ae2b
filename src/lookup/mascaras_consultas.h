#pragma once
// The lookup definitions file "consultas.qvx": fixed records of 1202 bytes,
// no header. Each record holds Nombre (100 bytes), Tabla (100), Campos (500),
// Filtro (500), the texts in Windows-1252 padded with spaces (a longer text is
// cut), then the bytes 13 10.

#include <QByteArray>
#include <QList>
#include <QString>

struct RegistroMascara {
  QString Nombre;  // the lookup kind, "ARTICULOS"
  QString Tabla;   // the table or view it reads; the key a definition is found by
  QString Campos;  // "|DESCRIPCION|IDARTICULO|"
  QString Filtro;  // an extra condition

  static constexpr int kLargo = 1202;

  // The record's 1202 bytes.
  QByteArray Bytes() const;
};

// The seven definitions a new file starts with, in their order.
QList<RegistroMascara> MascarasPorDefecto();

// Writes the default definitions to the file at ruta, each after the last
// complete record.
// Throws Falla (kArchivo) when the file cannot be written; records already
// written stay.
void CrearMascarasConsultas(const QString& ruta);
