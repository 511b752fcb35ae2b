#include "services/lib_util.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <QWidget>

#include "services/fechas.h"
#include "services/lib_campos.h"
#include "services/operador.h"

LibUtil& LibUtil::Instancia() {
  static LibUtil util;
  return util;
}

int LibUtil::ReportarError(const Falla& falla, const QString& procedimiento) {
  const QString texto =
      QStringLiteral("Error %1 en %2:\n%3").arg(falla.Codigo()).arg(procedimiento, falla.Mensaje());
  return ElOperador().ReportarError(QStringLiteral("Aviso al operador"), texto);
}

void LibUtil::PosicionarFormulario(QWidget* ventana, int /*modo*/) {
  QScreen* pantalla = ventana->screen() ? ventana->screen() : QGuiApplication::primaryScreen();
  if (!pantalla) return;
  const QRect area = pantalla->availableGeometry();
  QSize tamano = ventana->size().boundedTo(area.size());
  ventana->resize(tamano);
  ventana->move(area.center() - QPoint(tamano.width() / 2, tamano.height() / 2));
}

QString LibUtil::RutaConBarra(const QString& carpeta) {
  if (carpeta.endsWith(QLatin1Char('/')) || carpeta.endsWith(QLatin1Char('\\'))) return carpeta;
  return carpeta + QLatin1Char('/');
}

QString LibUtil::QuitarCaracteres(const QString& texto, const QString& c1, const QString& c2) {
  QString resultado = texto;
  if (!c1.isEmpty()) resultado.remove(c1);
  if (!c2.isEmpty()) resultado.remove(c2);
  return resultado;
}

QString LibUtil::Reemplazar(const QString& texto, const QString& viejo, const QString& nuevo) {
  if (viejo.isEmpty()) return texto;
  return QString(texto).replace(viejo, nuevo);
}

QString LibUtil::SinNulo(const QVariant& valor) {
  if (!valor.isValid() || valor.isNull()) return {};
  return valor.toString();
}

qint64 LibUtil::ValorNumerico(const QString& texto) {
  static const QRegularExpression entero(QStringLiteral("^\\s*([+-]?\\d+)"));
  const QRegularExpressionMatch inicio = entero.match(texto);
  if (!inicio.hasMatch()) return 0;
  bool bien = false;
  const qint64 valor = inicio.captured(1).toLongLong(&bien);
  return bien ? valor : 0;
}

double LibUtil::NumeroInicial(const QString& texto) {
  static const QRegularExpression numero(QStringLiteral("^\\s*([+-]?(?:\\d+\\.?\\d*|\\.\\d+))"));
  const QRegularExpressionMatch inicio = numero.match(texto);
  return inicio.hasMatch() ? inicio.captured(1).toDouble() : 0.0;
}

QString LibUtil::FormatearValor(const QString& texto) {
  // A text without a point needs no separator.
  if (!texto.contains(QLatin1Char('.'))) return texto;
  return FormatearValor(texto, LibCampos::SeparadorDecimal());
}

QString LibUtil::FormatearValor(const QString& texto, const QString& separador) {
  // Only "-digits.digits" is a number written with a point; anything else, or
  // an operator whose separator is already the point, stays as it is.
  if (separador == QLatin1String(".")) return texto;
  const qsizetype punto = texto.indexOf(QLatin1Char('.'));
  if (punto <= 0 || punto == texto.size() - 1) return texto;
  const qsizetype inicio = texto.startsWith(QLatin1Char('-')) ? 1 : 0;
  if (punto == inicio) return texto;
  for (qsizetype i = inicio; i < texto.size(); ++i)
    if (i != punto && !texto.at(i).isDigit()) return texto;
  return QString(texto).replace(punto, 1, separador);
}

QString LibUtil::FechaFormula(const QString& fecha) {
  const std::optional<QDate> dia = fechas::LeerFecha(fecha);
  if (!dia) throw Falla(Falla::kTipoIncompatible, fechas::NoEsFecha(fecha));
  return dia->toString(QStringLiteral("'Date('yyyy,MM,dd')'"));
}

QString LibUtil::ElegirFecha(const QString& inicial) {
  const std::optional<QDate> abierta = fechas::LeerFecha(inicial);
  const std::optional<QDate> elegida = ElOperador().ElegirFecha(
      QStringLiteral("Elegir fecha"), abierta ? *abierta : QDate::currentDate());
  if (!elegida || !elegida->isValid()) return {};
  return elegida->toString(fechas::kFormaCorta);
}
