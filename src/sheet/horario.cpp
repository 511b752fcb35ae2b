#include "sheet/horario.h"

#include <QRegularExpression>
#include <QTime>
#include <cmath>
#include <optional>

#include "services/fechas.h"

namespace {

const QString kForma = QStringLiteral("HH:mm:ss");

std::optional<QTime> LeerHora(const QString& texto) {
  static const QRegularExpression forma(
      QStringLiteral("^(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?\\s*(a\\.?\\s?m\\.?|p\\.?\\s?m\\.?)?$"),
      QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch partes = forma.match(texto);
  if (!partes.hasMatch()) return std::nullopt;
  int hora = partes.captured(1).toInt();
  const QString sufijo = partes.captured(4).toLower();
  if (!sufijo.isEmpty()) {
    // 12 am is midnight, 12 pm is noon.
    if (hora < 1 || hora > 12) return std::nullopt;
    hora %= 12;
    if (sufijo.startsWith(QLatin1Char('p'))) hora += 12;
  }
  const QTime hor(hora, partes.captured(2).toInt(), partes.captured(3).toInt());
  if (!hor.isValid()) return std::nullopt;
  return hor;
}

std::optional<QTime> LeerDias(const QString& texto) {
  static const QRegularExpression forma(QStringLiteral("^[+-]?(\\d+[.,]?\\d*|[.,]\\d+)$"));
  if (!forma.match(texto).hasMatch()) return std::nullopt;
  QString numero = texto;
  numero.replace(QLatin1Char(','), QLatin1Char('.'));
  bool bien = false;
  const double dias = numero.toDouble(&bien);
  if (!bien || !std::isfinite(dias)) return std::nullopt;
  // Before the origin the fraction still counts forward from midnight.
  double fraccion = std::fabs(dias - std::trunc(dias));
  qint64 segundos = std::llround(fraccion * 86400.0);
  if (segundos >= 86400) segundos = 0;
  return QTime(0, 0).addSecs(static_cast<int>(segundos));
}

}  // namespace

QString FormatearHorario(const QString& texto) {
  const QString limpio = texto.trimmed();
  if (limpio.isEmpty()) return texto;
  if (const auto hora = LeerHora(limpio)) return hora->toString(kForma);
  if (const auto dias = LeerDias(limpio)) return dias->toString(kForma);
  if (fechas::LeerFecha(limpio)) return QStringLiteral("00:00:00");
  const qsizetype blanco = limpio.indexOf(QLatin1Char(' '));
  if (blanco > 0 && fechas::LeerFecha(limpio.left(blanco))) {
    if (const auto hora = LeerHora(limpio.mid(blanco + 1).trimmed())) return hora->toString(kForma);
  }
  return texto;
}
