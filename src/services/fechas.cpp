#include "services/fechas.h"

#include <QRegularExpression>
#include <ctime>

namespace fechas {

namespace {

// Dates before it are typing mistakes ("01/01/0001"), not analyses.
constexpr int kPrimerAnio = 1900;
// How far ahead of today a two-digit year may reach.
constexpr int kAniosAdelante = 20;

// hoy is asked for only for a two-digit year: reading the clock's date costs
// more than reading the text.
template <typename Hoy>
std::optional<QDate> Leer(const QString& texto, Hoy hoy) {
  static const QRegularExpression forma(
      QStringLiteral("^([0-9]{1,2})/([0-9]{1,2})/([0-9]{4}|[0-9]{2})$"));
  const QRegularExpressionMatch partes = forma.match(texto.trimmed());
  if (!partes.hasMatch()) return std::nullopt;
  int anio = partes.captured(3).toInt();
  if (partes.captured(3).size() == 2) {
    const int limite = hoy().year() + kAniosAdelante;
    anio += limite / 100 * 100;
    if (anio > limite) anio -= 100;
  }
  if (anio < kPrimerAnio) return std::nullopt;
  const QDate fecha(anio, partes.captured(2).toInt(), partes.captured(1).toInt());
  if (!fecha.isValid()) return std::nullopt;
  return fecha;
}

}  // namespace

QDateTime Ahora() {
  const qint64 ms = QDateTime::currentMSecsSinceEpoch();
  const std::time_t segundos = static_cast<std::time_t>(ms / 1000);
  std::tm partes{};
  // localtime_r keeps the zone the process read last (tzset), which Qt reads
  // again on its own calls; its wall time and offset come from one reading.
  if (!localtime_r(&segundos, &partes)) return QDateTime::currentDateTime();
  const QDateTime ahora(
      QDate(partes.tm_year + 1900, partes.tm_mon + 1, partes.tm_mday),
      QTime(partes.tm_hour, partes.tm_min, partes.tm_sec, static_cast<int>(ms % 1000)),
      Qt::OffsetFromUTC, static_cast<int>(partes.tm_gmtoff));
  // A leap second (:60) is no time of day Qt holds.
  return ahora.isValid() ? ahora : QDateTime::currentDateTime();
}

std::optional<QDate> LeerFecha(const QString& texto) {
  return Leer(texto, [] { return QDate::currentDate(); });
}

std::optional<QDate> LeerFecha(const QString& texto, const QDate& hoy) {
  return Leer(texto, [&hoy] { return hoy; });
}

QString NoEsFecha(const QString& texto) {
  return QStringLiteral(
             "«%1» no es una fecha válida.\nEscriba la fecha como día/mes/año, por "
             "ejemplo %2.")
      .arg(texto.trimmed(), QDate::currentDate().toString(kFormaCorta));
}

}  // namespace fechas
