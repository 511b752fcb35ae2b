#include "analisis/valores.h"

#include <QTime>
#include <QVarLengthArray>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <optional>

#include "services/dialecto.h"
#include "services/falla.h"
#include "services/lib_datos.h"
#include "services/lib_util.h"

namespace {

// The shortest writing of x as QVariant::toString gives it, with separador
// for the point, when x is exactly entero / 10^decimales (CabeEnDecimales
// said so): written from the integer, which is what a day's load does for
// most of its numbers. Null when that writing is in exponent form, which Qt
// chooses when it is the shorter one ("1e+05"), left to Qt.
QString EscribirDecimal(qint64 entero, int decimales, const QString& separador) {
  while (decimales > 0 && entero % 10 == 0) {
    entero /= 10;
    --decimales;
  }
  char cifras[24];
  int n = 0;
  for (quint64 resto = entero < 0 ? 0 - quint64(entero) : quint64(entero); n == 0 || resto > 0;
       resto /= 10)
    cifras[n++] = char('0' + resto % 10);  // from the last digit on
  // The exponent form's length: the significant digits, the point after the
  // first when there are more, "e", its sign and at least two digits.
  int significativas = n;
  if (decimales == 0)
    while (significativas > 1 && cifras[n - significativas] == '0') --significativas;
  const int exponente = n - 1 - decimales;
  const int cifrasExponente = std::abs(exponente) >= 100 ? 3 : 2;
  const int largoExponencial = significativas + (significativas > 1 ? 1 : 0) + 2 + cifrasExponente;
  const int largoDecimal = decimales == 0 ? n : std::max(n, decimales + 1) + 1;
  if (entero != 0 && largoExponencial < largoDecimal) return {};

  // Written straight into the text's one allocation.
  const int enteras = n - decimales;
  const qsizetype largo = (entero < 0 ? 1 : 0) + std::max(enteras, 1) +
                          (decimales > 0 ? separador.size() + decimales : 0);
  QString texto(largo, Qt::Uninitialized);
  QChar* c = texto.data();
  if (entero < 0) *c++ = QLatin1Char('-');
  for (int i = 0; i < enteras; ++i) *c++ = QLatin1Char(cifras[n - 1 - i]);
  if (decimales == 0) return texto;
  if (enteras <= 0) *c++ = QLatin1Char('0');
  for (const QChar s : separador) *c++ = s;
  for (int i = enteras; i < 0; ++i) *c++ = QLatin1Char('0');
  for (int i = std::max(enteras, 0); i < n; ++i) *c++ = QLatin1Char(cifras[n - 1 - i]);
  return texto;
}

// A double as QVariant::toString writes it (the shortest text that reads
// back as the same double, in exponent form when that is shorter). Below
// 10^15 the standard library's shortest writing is the same text and costs a
// fraction; above, Qt writes the digits past the seventeenth as zeros.
QString EscribirDoble(double x) {
  if (std::fabs(x) < 1e15) {
    char texto[32];
    const std::to_chars_result fin = std::to_chars(texto, texto + sizeof texto, x);
    if (fin.ec == std::errc()) return QLatin1StringView(texto, fin.ptr - texto);
  }
  return QVariant(x).toString();
}

// An integer's digits, as QString::number writes them, without the locale's
// machinery that number goes through.
QString EscribirEntero(qint64 entero) {
  char cifras[24];
  char* fin = cifras + sizeof cifras;
  char* c = fin;
  for (quint64 resto = entero < 0 ? 0 - quint64(entero) : quint64(entero); c == fin || resto > 0;
       resto /= 10)
    *--c = char('0' + resto % 10);
  if (entero < 0) *--c = '-';
  return QLatin1StringView(c, fin - c);
}

// A value's text as QVariant::toString gives it, the kinds a load reads
// most without the variant's conversion machinery: a double written faster,
// an integer directly, a text shared as it is.
QString TextoCrudo(const QVariant& valor) {
  switch (valor.typeId()) {
    case QMetaType::Double:
      return EscribirDoble(*static_cast<const double*>(valor.constData()));
    case QMetaType::QString:
      return *static_cast<const QString*>(valor.constData());
    case QMetaType::LongLong:
      return EscribirEntero(*static_cast<const qlonglong*>(valor.constData()));
    case QMetaType::Int:
      return EscribirEntero(*static_cast<const int*>(valor.constData()));
    default:
      return valor.toString();
  }
}

}  // namespace

QString TextoDeCelda(TipoCampo tipo, const QVariant& valor, const QString& separador) {
  if (!valor.isValid() || valor.isNull()) return {};
  if (valor.typeId() == QMetaType::QTime)
    return valor.toTime().toString(QStringLiteral("HH:mm:ss"));
  const QString texto = TextoCrudo(valor);
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
  // The digits kept, as one integer text (a spare place in front for the
  // carry), and one more to the last place when the first digit dropped is 5
  // or more. Written in one buffer: a load rounds every noisy number it reads.
  const qsizetype enteras = punto - inicio;
  QVarLengthArray<char16_t, 64> cifras(1 + enteras + decimales);
  cifras[0] = u'0';
  const QChar* origen = texto.constData();
  for (qsizetype k = 0; k < enteras; ++k) cifras[1 + k] = origen[inicio + k].unicode();
  for (qsizetype k = 0; k < decimales; ++k)
    cifras[1 + enteras + k] = origen[punto + 1 + k].unicode();
  if (origen[punto + 1 + decimales] >= QLatin1Char('5')) {
    qsizetype k = cifras.size() - 1;
    for (; cifras[k] == u'9'; --k) cifras[k] = u'0';
    ++cifras[k];
  }
  const qsizetype primera = cifras[0] == u'0' ? 1 : 0;  // the carry's place, when unused
  qsizetype fin = cifras.size();
  while (fin > cifras.size() - decimales && cifras[fin - 1] == u'0') --fin;
  // A value that rounds to zero shows no sign.
  const bool cero =
      std::all_of(cifras.cbegin(), cifras.cend(), [](char16_t c) { return c == u'0'; });
  const qsizetype finEntero = cifras.size() - decimales;
  QString resultado;
  resultado.reserve(2 + fin - primera);
  if (!cero && inicio == 1) resultado += QLatin1Char('-');
  resultado.append(reinterpret_cast<const QChar*>(cifras.constData() + primera),
                   finEntero - primera);
  if (fin > finEntero) {
    resultado += QLatin1Char('.');
    resultado.append(reinterpret_cast<const QChar*>(cifras.constData() + finEntero),
                     fin - finEntero);
  }
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
  return EscaladoExacto(valor.toDouble(), decimales).has_value();
}

std::optional<qint64> EscaladoExacto(double x, int decimales) {
  static constexpr double kPotencias[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
  if (decimales < 0 || decimales >= static_cast<int>(std::size(kPotencias))) return {};
  const double escala = kPotencias[decimales];
  const double escalado = x * escala;
  // Beyond 2^52 the scaled value holds no fraction to tell by.
  if (!std::isfinite(escalado) || std::fabs(escalado) >= 4503599627370496.0) return {};
  // The division is rounded correctly: it gives back x exactly when x is the
  // double nearest to that decimal, which is then its shortest writing.
  const double redondo = std::round(escalado);
  if (redondo / escala != x) return {};
  return static_cast<qint64>(redondo);
}

Mostrado Mostrar(const ColumnaAnalisis& columna, const QVariant& valor, const QString& separador) {
  if (columna.tipo == TipoCampo::Numero && valor.typeId() == QMetaType::Double &&
      columna.decimales >= 0 && !valor.isNull()) {
    if (const std::optional<qint64> entero =
            EscaladoExacto(*static_cast<const double*>(valor.constData()), columna.decimales)) {
      QString texto = EscribirDecimal(*entero, columna.decimales, separador);
      if (!texto.isNull()) return {std::move(texto), {}};
    }
  }
  if (columna.tipo != TipoCampo::Numero || columna.decimales < 0 || !valor.isValid() ||
      valor.isNull() || CabeEnDecimales(valor, columna.decimales))
    return {TextoDeCelda(columna.tipo, valor, separador), {}};
  const QString crudo = TextoCrudo(valor);
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
