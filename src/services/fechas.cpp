#include "services/fechas.h"

#include <QRegularExpression>

namespace fechas {

std::optional<QDate> LeerFecha(const QString& texto) {
  static const QRegularExpression forma(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4}|\\d{2})$"));
  const QRegularExpressionMatch partes = forma.match(texto.trimmed());
  if (!partes.hasMatch()) return std::nullopt;
  int anio = partes.captured(3).toInt();
  if (partes.captured(3).size() == 2) anio += 2000;
  const QDate fecha(anio, partes.captured(2).toInt(), partes.captured(1).toInt());
  if (!fecha.isValid()) return std::nullopt;
  return fecha;
}

QString NoEsFecha(const QString& texto) {
  return QStringLiteral(
             "«%1» no es una fecha válida.\nEscriba la fecha como día/mes/año, por "
             "ejemplo %2.")
      .arg(texto.trimmed(), QDate::currentDate().toString(kFormaCorta));
}

}  // namespace fechas
