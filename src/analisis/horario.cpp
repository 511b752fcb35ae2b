#include "analisis/horario.h"

#include <QRegularExpression>
#include <QTime>

namespace {

const QString kForma = QStringLiteral("HH:mm:ss");

std::optional<QString> Hora(int horas, int minutos, int segundos) {
  const QTime hora(horas, minutos, segundos);
  if (!hora.isValid()) return std::nullopt;
  return hora.toString(kForma);
}

// "8:30", "8:30:15", "8:30 pm".
std::optional<QString> ConDosPuntos(const QString& texto) {
  static const QRegularExpression forma(
      QStringLiteral(
          "^([0-9]{1,2}):([0-9]{1,2})(?::([0-9]{1,2}))?\\s*(a\\.?\\s?m\\.?|p\\.?\\s?m\\.?)?$"),
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
  return Hora(hora, partes.captured(2).toInt(), partes.captured(3).toInt());
}

// "8", "830", "0830", "083015": digits alone, read from the right as seconds,
// minutes and hours only when there are enough of them.
std::optional<QString> SoloCifras(const QString& texto) {
  static const QRegularExpression forma(QStringLiteral("^[0-9]{1,6}$"));
  if (!forma.match(texto).hasMatch()) return std::nullopt;
  const int largo = static_cast<int>(texto.size());
  if (largo <= 2) return Hora(texto.toInt(), 0, 0);
  if (largo <= 4) return Hora(texto.left(largo - 2).toInt(), texto.right(2).toInt(), 0);
  return Hora(texto.left(largo - 4).toInt(), texto.mid(largo - 4, 2).toInt(),
              texto.right(2).toInt());
}

// "8.30", "8,30", "8h30", "8 30", "8h": minutes always in two digits, so that
// "12,5" (twelve and a half hours, or 12:05?) is no guess.
std::optional<QString> ConSeparador(const QString& texto) {
  static const QRegularExpression forma(
      QStringLiteral("^([0-9]{1,2})(?:[.,\\s]\\s*([0-9]{2})|\\s*h\\s*([0-9]{2})?)$"),
      QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch partes = forma.match(texto);
  if (!partes.hasMatch()) return std::nullopt;
  const QString minutos = partes.captured(2) + partes.captured(3);
  return Hora(partes.captured(1).toInt(), minutos.toInt(), 0);
}

}  // namespace

std::optional<QString> FormatearHorario(const QString& texto) {
  const QString limpio = texto.trimmed();
  if (limpio.isEmpty()) return QString();
  if (auto hora = ConDosPuntos(limpio)) return hora;
  if (auto hora = SoloCifras(limpio)) return hora;
  return ConSeparador(limpio);
}

QString NoEsHorario(const QString& texto, const QString& columna) {
  return QStringLiteral(
             "«%1» no es una hora válida: la columna %2 admite horas de 00:00 a 23:59, por "
             "ejemplo 08:30, 8:30:15, 0830 u 8h30.\nNo se guardó nada.")
      .arg(texto.trimmed(), columna);
}
