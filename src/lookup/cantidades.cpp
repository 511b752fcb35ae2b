#include "lookup/cantidades.h"

#include <QRegularExpression>

#include "services/lib_campos.h"

namespace cantidades {

namespace {

bool EsNumero(const QString& texto) {
  static const QRegularExpression numero(QStringLiteral("^\\s*[+-]?(\\d+([.,]\\d*)?|[.,]\\d+)"));
  return numero.match(texto).hasMatch();
}

}  // namespace

double Valor(const QString& texto) {
  static const QRegularExpression numero(
      QStringLiteral("^\\s*([+-]?(?:\\d+(?:[.,]\\d*)?|[.,]\\d+))"));
  const QRegularExpressionMatch inicio = numero.match(texto);
  if (!inicio.hasMatch()) return 0.0;
  QString leido = inicio.captured(1);
  leido.replace(QLatin1Char(','), QLatin1Char('.'));
  return leido.toDouble();
}

QString Formato(double valor, int decimales) {
  QString texto = QString::number(valor, 'f', decimales);
  if (texto.startsWith(QLatin1Char('-')) && Valor(texto) == 0.0) texto.remove(0, 1);  // no "-0.0"
  return texto.replace(QLatin1Char('.'), LibCampos::SeparadorDecimal());
}

Cambio MasUno(const QString& actual) { return {Formato(Valor(actual) + 1.0, 1), true}; }

Cambio MenosUno(const QString& actual) {
  const QString menos = Formato(Valor(actual) - 1.0, 1);
  if (Valor(menos) > 0.0) return {menos, std::nullopt};
  return {Formato(0.0, 2), false};
}

std::optional<Cambio> Respuesta(const std::optional<QString>& respuesta) {
  if (!respuesta || !EsNumero(*respuesta)) return std::nullopt;
  const double valor = Valor(*respuesta);
  if (valor == 0.0) return Cambio{Formato(0.0, 2), false};
  return Cambio{Formato(valor, 2), true};
}

}  // namespace cantidades
