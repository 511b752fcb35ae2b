#include "services/fechas.h"

#include <QStringView>
#include <ctime>

namespace fechas {

namespace {

// Dates before it are typing mistakes ("01/01/0001"), not analyses.
constexpr int kPrimerAnio = 1900;
// How far ahead of today a two-digit year may reach.
constexpr int kAniosAdelante = 20;

// hoy is asked for only for a two-digit year: reading the clock's date costs
// more than reading the text. The form, day/month/year with one or two ASCII
// digits for the day and the month and two or four for the year, is read by
// hand: every load of a day reads its date, and a regular expression cost
// forty times as much.
template <typename Hoy>
std::optional<QDate> Leer(const QString& texto, Hoy hoy) {
  int numeros[3] = {0, 0, 0};
  int cifras[3] = {0, 0, 0};
  int parte = 0;
  for (const QChar c : QStringView(texto).trimmed()) {
    if (c == QLatin1Char('/')) {
      if (++parte > 2) return std::nullopt;
      continue;
    }
    if (c < QLatin1Char('0') || c > QLatin1Char('9') || ++cifras[parte] > 4) return std::nullopt;
    numeros[parte] = numeros[parte] * 10 + (c.unicode() - u'0');
  }
  if (parte != 2 || cifras[0] < 1 || cifras[0] > 2 || cifras[1] < 1 || cifras[1] > 2 ||
      (cifras[2] != 2 && cifras[2] != 4))
    return std::nullopt;
  int anio = numeros[2];
  if (cifras[2] == 2) {
    const int limite = hoy().year() + kAniosAdelante;
    anio += limite / 100 * 100;
    if (anio > limite) anio -= 100;
  }
  if (anio < kPrimerAnio) return std::nullopt;
  const QDate fecha(anio, numeros[1], numeros[0]);
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
