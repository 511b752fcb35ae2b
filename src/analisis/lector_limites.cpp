#include "analisis/lector_limites.h"

#include "services/conexion.h"

namespace {

std::optional<double> Cota(const QVariant& valor) {
  if (valor.isNull()) return std::nullopt;
  bool leido = false;
  const double numero = valor.toDouble(&leido);
  if (!leido) return std::nullopt;
  return numero;
}

// A DATE column: a date on PostgreSQL, its text on SQLite (with a time when
// written by hand as a moment).
QDate Dia(const QVariant& valor) {
  if (valor.metaType().id() == QMetaType::QDate) return valor.toDate();
  if (valor.metaType().id() == QMetaType::QDateTime) return valor.toDateTime().date();
  return QDate::fromString(valor.toString().trimmed().left(10), Qt::ISODate);
}

}  // namespace

QList<Limite> LeerLimites(Conexion& conexion) {
  Recordset tablas = conexion.Execute(conexion.dialecto().ListaDeTablas());
  bool hay = false;
  for (; !tablas.Eof() && !hay; tablas.MoveNext())
    hay = tablas.Valor(0).toString().compare(QLatin1String("ta_limites"), Qt::CaseInsensitive) == 0;
  if (!hay) return {};

  QList<Limite> limites;
  Recordset filas = conexion.Execute(
      QStringLiteral("SELECT tipo_harina, campo, minimo, maximo, aviso_minimo, aviso_maximo, "
                     "vigente_desde FROM ta_limites"));
  for (; !filas.Eof(); filas.MoveNext()) {
    limites.append({filas.Valor(0).toString(), filas.Valor(1).toString(), Cota(filas.Valor(2)),
                    Cota(filas.Valor(3)), Cota(filas.Valor(4)), Cota(filas.Valor(5)),
                    Dia(filas.Valor(6))});
  }
  return limites;
}
