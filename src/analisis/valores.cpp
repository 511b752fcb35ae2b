#include "analisis/valores.h"

#include <QTime>
#include <algorithm>
#include <cmath>
#include <iterator>

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
  // Read by hand: the sheet rounds every number cell of every load, and most
  // need nothing.
  const qsizetype largo = texto.size();
  const qsizetype inicio = largo > 0 && texto.at(0) == QLatin1Char('-') ? 1 : 0;
  qsizetype punto = -1;
  qsizetype i = inicio;
  for (; i < largo; ++i) {
    const QChar c = texto.at(i);
    if (c == QLatin1Char('.') && punto < 0 && i > inicio) {
      punto = i;
    } else if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
      break;
    }
  }
  if (i < largo || largo == inicio) {
    // An engine may hand a tiny or huge number in exponent form.
    bool numero = false;
    const double valor = texto.toDouble(&numero);
    if (!numero || !texto.contains(QLatin1Char('e'), Qt::CaseInsensitive)) return texto;
    return RedondearTexto(QString::number(valor, 'f', decimales + 1), decimales);
  }
  if (punto < 0 || largo - punto - 1 <= decimales) return texto;
  // The digits kept, as one integer text, and one more to the last place when
  // the first digit dropped is 5 or more.
  QString cifras = texto.mid(inicio, punto - inicio) + texto.mid(punto + 1, decimales);
  if (texto.at(punto + 1 + decimales) >= QLatin1Char('5')) {
    qsizetype k = cifras.size() - 1;
    for (; k >= 0 && cifras.at(k) == QLatin1Char('9'); --k) cifras[k] = QLatin1Char('0');
    if (k < 0)
      cifras.prepend(QLatin1Char('1'));
    else
      cifras[k] = QChar(cifras.at(k).unicode() + 1);
  }
  const QString entero = cifras.left(cifras.size() - decimales);
  QString fraccionQueda = cifras.right(decimales);
  while (fraccionQueda.endsWith(QLatin1Char('0'))) fraccionQueda.chop(1);
  // A value that rounds to zero shows no sign.
  const bool cero =
      std::all_of(cifras.cbegin(), cifras.cend(), [](QChar c) { return c == QLatin1Char('0'); });
  QString resultado = (cero || inicio == 0 ? QString() : QStringLiteral("-")) + entero;
  if (!fraccionQueda.isEmpty()) resultado += QLatin1Char('.') + fraccionQueda;
  return resultado;
}

bool CabeEnDecimales(const QVariant& valor, int decimales) {
  if (decimales < 0) return true;
  switch (valor.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
      return true;
    case QMetaType::Double:
      break;
    default:
      return false;
  }
  static constexpr double kPotencias[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
  if (decimales >= static_cast<int>(std::size(kPotencias))) return false;
  const double x = valor.toDouble();
  const double escala = kPotencias[decimales];
  const double escalado = x * escala;
  // Beyond 2^52 the scaled value holds no fraction to tell by.
  if (!std::isfinite(escalado) || std::fabs(escalado) >= 4503599627370496.0) return false;
  // The division is rounded correctly: it gives back x exactly when x is the
  // double nearest to that decimal, which is then its shortest writing.
  return std::round(escalado) / escala == x;
}

Mostrado Mostrar(const ColumnaAnalisis& columna, const QVariant& valor, const QString& separador) {
  if (columna.tipo != TipoCampo::Numero || columna.decimales < 0 || !valor.isValid() ||
      valor.isNull() || CabeEnDecimales(valor, columna.decimales))
    return {TextoDeCelda(columna.tipo, valor, separador), {}};
  const QString crudo = valor.toString();
  const QString redondeado = RedondearTexto(crudo, columna.decimales);
  Mostrado mostrado{LibUtil::FormatearValor(redondeado, separador), {}};
  if (redondeado != crudo) {
    const QString completo = LibUtil::FormatearValor(crudo, separador);
    if (completo != mostrado.texto) mostrado.completo = completo;
  }
  return mostrado;
}

QString TextoMostrado(const ColumnaAnalisis& columna, const QVariant& valor,
                      const QString& separador) {
  return Mostrar(columna, valor, separador).texto;
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
