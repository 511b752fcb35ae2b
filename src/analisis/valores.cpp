#include "analisis/valores.h"

#include <QRegularExpression>
#include <QTime>

#include "services/dialecto.h"
#include "services/falla.h"
#include "services/lib_datos.h"
#include "services/lib_util.h"

QString TextoDeCelda(TipoCampo tipo, const QVariant& valor, const QString& separador) {
  if (!valor.isValid() || valor.isNull()) return {};
  if (valor.typeId() == QMetaType::QTime)
    return valor.toTime().toString(QStringLiteral("HH:mm:ss"));
  const QString texto = valor.toString();
  if (tipo == TipoCampo::Numero) return LibUtil::FormatearValor(texto, separador);
  return texto;
}

QString RedondearTexto(const QString& texto, int decimales) {
  if (decimales < 0) return texto;
  static const QRegularExpression forma(QStringLiteral("^(-?)(\\d+)(?:\\.(\\d*))?$"));
  const QRegularExpressionMatch partes = forma.match(texto);
  if (!partes.hasMatch()) {
    // An engine may hand a tiny or huge number in exponent form.
    bool numero = false;
    const double valor = texto.toDouble(&numero);
    if (!numero || !texto.contains(QLatin1Char('e'), Qt::CaseInsensitive)) return texto;
    return RedondearTexto(QString::number(valor, 'f', decimales + 1), decimales);
  }
  const QString fraccion = partes.captured(3);
  if (fraccion.size() <= decimales) return texto;
  // The digits kept, as one integer text, and one more to the last place when
  // the first digit dropped is 5 or more.
  QString cifras = partes.captured(2) + fraccion.left(decimales);
  if (fraccion.at(decimales) >= QLatin1Char('5')) {
    int i = static_cast<int>(cifras.size()) - 1;
    for (; i >= 0 && cifras.at(i) == QLatin1Char('9'); --i) cifras[i] = QLatin1Char('0');
    if (i < 0)
      cifras.prepend(QLatin1Char('1'));
    else
      cifras[i] = QChar(cifras.at(i).unicode() + 1);
  }
  const QString entero = cifras.left(cifras.size() - decimales);
  QString fraccionQueda = cifras.right(decimales);
  while (fraccionQueda.endsWith(QLatin1Char('0'))) fraccionQueda.chop(1);
  // A value that rounds to zero shows no sign.
  const bool cero = !cifras.contains(QRegularExpression(QStringLiteral("[1-9]")));
  QString resultado = (cero ? QString() : partes.captured(1)) + entero;
  if (!fraccionQueda.isEmpty()) resultado += QLatin1Char('.') + fraccionQueda;
  return resultado;
}

QString TextoMostrado(const ColumnaAnalisis& columna, const QVariant& valor,
                      const QString& separador) {
  if (columna.tipo != TipoCampo::Numero || columna.decimales < 0 || !valor.isValid() ||
      valor.isNull())
    return TextoDeCelda(columna.tipo, valor, separador);
  return LibUtil::FormatearValor(RedondearTexto(valor.toString(), columna.decimales), separador);
}

QString ValorDeCelda(TipoCampo tipo, const QString& entrada) {
  const QString valor = entrada.trimmed();
  switch (tipo) {
    case TipoCampo::Numero:
      return LibDatos::FormatoSql(valor, QStringLiteral("@"));
    case TipoCampo::Texto:
    case TipoCampo::Hora:
      return valor.isEmpty() ? QStringLiteral("NULL") : Dialecto::Texto(valor);
    case TipoCampo::Clave:
    case TipoCampo::Momento:
    case TipoCampo::Desconocido:
      break;
  }
  throw Falla(Falla::kArgumentoInvalido, QStringLiteral("Esta columna no se puede modificar."));
}
