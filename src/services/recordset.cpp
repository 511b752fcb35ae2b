#include "services/recordset.h"

#include <QSqlError>
#include <QSqlField>
#include <utility>

#include "services/falla.h"

void Recordset::Abrir(QSqlQuery consulta) {
  consulta_ = std::move(consulta);
  registro_ = consulta_.record();
  abierto_ = true;
  const bool hayFila = consulta_.next();
  bof_ = !hayFila;
  eof_ = !hayFila;
  if (!hayFila) FallaAlLeer();
}

void Recordset::Close() {
  consulta_.finish();
  consulta_ = QSqlQuery();
  registro_ = QSqlRecord();
  abierto_ = false;
  bof_ = eof_ = true;
}

void Recordset::RequiereAbierto() const {
  if (!abierto_)
    throw Falla(Falla::kArgumentoInvalido, QStringLiteral("La consulta no está abierta."));
}

bool Recordset::Bof() const {
  RequiereAbierto();
  return bof_;
}

bool Recordset::Eof() const {
  RequiereAbierto();
  return eof_;
}

void Recordset::MoveNext() {
  RequiereFila();
  eof_ = !consulta_.next();
  if (eof_) FallaAlLeer();
}

void Recordset::FallaAlLeer() const {
  // The engine may fail between two rows (a lost connection, an error in a
  // row's value): that is no end of the rows, and must not read as one.
  if (consulta_.lastError().isValid())
    throw Falla(Falla::kBaseDeDatos, QStringLiteral("La base de datos falló al leer las filas: %1")
                                         .arg(consulta_.lastError().text().trimmed()));
}

void Recordset::RequiereFila() const {
  if (!abierto_ || eof_)
    throw Falla(Falla::kArgumentoInvalido, QStringLiteral("No hay una fila actual."));
}

Campo Recordset::Fields(int posicion) const {
  if (posicion < 0 || posicion >= registro_.count())
    throw Falla(Falla::kArgumentoInvalido,
                QStringLiteral("El resultado no tiene la columna %1.").arg(posicion));
  const QSqlField campo = registro_.field(posicion);
  QVariant valor;
  if (abierto_ && !eof_) valor = consulta_.value(posicion);
  return Campo{campo.name(), valor, campo.length() > 0 ? campo.length() : -1};
}

Campo Recordset::Fields(const QString& nombre) const {
  RequiereFila();
  for (int i = 0; i < registro_.count(); ++i) {
    if (registro_.fieldName(i).compare(nombre, Qt::CaseInsensitive) == 0) return Fields(i);
  }
  throw Falla(Falla::kArgumentoInvalido,
              QStringLiteral("El resultado no tiene la columna «%1».").arg(nombre));
}

QVariant Recordset::Valor(int posicion) const {
  RequiereFila();
  if (posicion < 0 || posicion >= registro_.count())
    throw Falla(Falla::kArgumentoInvalido,
                QStringLiteral("El resultado no tiene la columna %1.").arg(posicion));
  return consulta_.value(posicion);
}
