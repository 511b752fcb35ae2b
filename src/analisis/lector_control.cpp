#include "analisis/lector_control.h"

#include <QTime>
#include <algorithm>

#include "services/conexion.h"
#include "services/dialecto.h"

namespace {

QDate Dia(const QVariant& valor) {
  if (valor.metaType().id() == QMetaType::QDate) return valor.toDate();
  if (valor.metaType().id() == QMetaType::QDateTime) return valor.toDateTime().date();
  return QDate::fromString(valor.toString().trimmed().left(10), Qt::ISODate);
}

// HH:mm of a TIME column: a time on PostgreSQL, its text on SQLite.
QString Hora(const QVariant& valor) {
  if (valor.isNull()) return {};
  if (valor.metaType().id() == QMetaType::QTime)
    return valor.toTime().toString(QStringLiteral("HH:mm"));
  return valor.toString().trimmed().left(5);
}

}  // namespace

QString SentenciaControl(const Dialecto& d, const PedidoControl& pedido) {
  const QString fecha = d.Columna(QStringLiteral("Fecha"));
  const QString horario = d.Columna(QStringLiteral("HORARIO"));
  const QString columna = d.Columna(pedido.campo);
  // Both sides go through the engine's own UPPER, so that they fold alike;
  // LTRIM(RTRIM()) is the trim every engine has (SQL Server's TRIM is recent).
  QString donde = QStringLiteral("UPPER(LTRIM(RTRIM(%1))) = UPPER(%2) AND %3 IS NOT NULL")
                      .arg(d.Columna(QStringLiteral("tipo_harina")),
                           Dialecto::Texto(pedido.tipo.trimmed()), columna);
  // A bound day takes in every moment of it: up to the next midnight.
  const auto hastaDia = [&](const QDate& dia) {
    return QStringLiteral(" AND %1 < %2").arg(fecha, d.LiteralDia(dia.addDays(1)));
  };
  const QString resto =
      QStringLiteral("%1, %2, %3 FROM %4 WHERE ").arg(fecha, horario, columna, pedido.tabla);
  // A missing time counts as the day's earliest, alike on every engine.
  const QString sinHora = QStringLiteral("CASE WHEN %1 IS NULL THEN 0 ELSE 1 END").arg(horario);
  if (pedido.ConRango()) {
    if (pedido.desde)
      donde += QStringLiteral(" AND %1 >= %2").arg(fecha, d.LiteralDia(*pedido.desde));
    if (pedido.hasta) donde += hastaDia(*pedido.hasta);
    return QStringLiteral("SELECT ") + resto + donde +
           QStringLiteral(" ORDER BY %1, %2, %3, ID").arg(fecha, sinHora, horario);
  }
  donde += hastaDia(pedido.dia);
  return d.SelectTop(pedido.ultimos,
                     resto + donde +
                         QStringLiteral(" ORDER BY %1 DESC, %2 DESC, %3 DESC, ID DESC")
                             .arg(fecha, sinHora, horario));
}

QString SentenciaTipos(const Dialecto& d, const QString& tabla) {
  const QString tipo = d.Columna(QStringLiteral("tipo_harina"));
  return QStringLiteral(
             "SELECT LTRIM(RTRIM(%1)), COUNT(*) FROM %2 WHERE LTRIM(RTRIM(%1)) <> '' GROUP BY "
             "LTRIM(RTRIM(%1)) ORDER BY 2 DESC, 1")
      .arg(tipo, tabla);
}

QList<PuntoControl> LeerControl(Conexion& conexion, const PedidoControl& pedido) {
  QList<PuntoControl> puntos;
  Recordset filas = conexion.Execute(SentenciaControl(conexion.dialecto(), pedido));
  for (; !filas.Eof(); filas.MoveNext()) {
    PuntoControl punto{Dia(filas.Valor(0)), Hora(filas.Valor(1)), std::nullopt};
    bool leido = false;
    const QVariant valor = filas.Valor(2);
    const double numero = valor.toDouble(&leido);
    if (!valor.isNull() && leido) punto.valor = numero;
    puntos.append(punto);
  }
  if (!pedido.ConRango()) std::reverse(puntos.begin(), puntos.end());
  return puntos;
}

QStringList LeerTipos(Conexion& conexion, const QString& tabla) {
  QStringList tipos;
  Recordset filas = conexion.Execute(SentenciaTipos(conexion.dialecto(), tabla));
  for (; !filas.Eof(); filas.MoveNext()) {
    const QString tipo = filas.Valor(0).toString().trimmed();
    const bool visto = std::any_of(tipos.begin(), tipos.end(), [&](const QString& t) {
      return t.compare(tipo, Qt::CaseInsensitive) == 0;
    });
    if (!visto && !tipo.isEmpty()) tipos.append(tipo);
  }
  std::sort(tipos.begin(), tipos.end(), [](const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
  });
  return tipos;
}
