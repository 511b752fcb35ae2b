#include "report/grafico_control.h"

#include <QApplication>
#include <QChart>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGraphicsScene>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>

#include "analisis/lector_limites.h"
#include "services/conexion.h"
#include "services/lib_campos.h"

namespace {

QString Dia(const QDate& fecha) { return fecha.toString(QStringLiteral("dd/MM/yyyy")); }

// The charts' texts are sized in pixels, not points: painted on a page the
// charts are scaled as a whole, and a size in points would be taken at the
// printer's resolution before that scaling.
QFont Letra(double veces = 1, bool negrita = false) {
  QFont letra = QApplication::font();
  letra.setPixelSize(qRound(QFontInfo(QApplication::font()).pixelSize() * veces));
  letra.setBold(negrita);
  return letra;
}

// A horizontal line across the chart, from the first point to the last.
QLineSeries* Linea(QChart* grafico, const QString& nombre, double y, double desde, double hasta,
                   const QColor& color, Qt::PenStyle trazo, qreal ancho = 1.5) {
  auto* serie = new QLineSeries(grafico);
  serie->setName(nombre);
  serie->append(desde, y);
  serie->append(hasta, y);
  QPen pluma(color, ancho, trazo);
  serie->setPen(pluma);
  grafico->addSeries(serie);
  return serie;
}

// Both axes, fitted to every value and line drawn, with a margin.
// A range never goes below zero when desdeCero (a range is no negative).
void Ejes(QChart* grafico, double xMin, double xMax, double yMin, double yMax, const QString& y,
          bool desdeCero = false) {
  if (yMax <= yMin) {
    yMin -= 1;
    yMax += 1;
  }
  const double margen = (yMax - yMin) * 0.08;
  const double abajo = desdeCero ? std::max(0.0, yMin - margen) : yMin - margen;
  auto* ejeX = new QValueAxis(grafico);
  ejeX->setTitleText(QStringLiteral("Análisis"));
  ejeX->setLabelFormat(QStringLiteral("%.0f"));
  ejeX->setRange(xMin, std::max(xMax, xMin + 1));
  auto* ejeY = new QValueAxis(grafico);
  ejeY->setTitleText(y);
  ejeY->setLabelFormat(QStringLiteral("%.2f"));
  ejeY->setRange(abajo, yMax + margen);
  ejeY->applyNiceNumbers();
  if (desdeCero && ejeY->min() < 0) ejeY->setMin(0);
  for (QValueAxis* eje : {ejeX, ejeY}) {
    eje->setLabelsFont(Letra(0.85));
    eje->setTitleFont(Letra(0.9));
  }
  grafico->addAxis(ejeX, Qt::AlignBottom);
  grafico->addAxis(ejeY, Qt::AlignLeft);
  for (QAbstractSeries* serie : grafico->series()) {
    serie->attachAxis(ejeX);
    serie->attachAxis(ejeY);
  }
}

QChart* NuevoGrafico(const QString& titulo) {
  auto* grafico = new QChart;
  grafico->setTitle(titulo);
  grafico->setTitleFont(Letra(1.1, true));
  grafico->legend()->setFont(Letra(0.9));
  grafico->setAnimationOptions(QChart::NoAnimation);
  // Axis labels with the operator's decimal separator, as every other number.
  grafico->setLocalizeNumbers(true);
  grafico->setLocale(QLocale());
  grafico->legend()->setAlignment(Qt::AlignRight);
  // Each line in the legend as it is drawn: its colour and its dash.
  grafico->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
  return grafico;
}

const QColor kControl(200, 30, 30);
const QColor kEspecificacion(230, 130, 0);
const QColor kCentro(30, 130, 60);

}  // namespace

DatosGrafico LeerGrafico(Conexion& conexion, const PedidoControl& pedido) {
  DatosGrafico datos;
  datos.pedido = pedido;
  datos.columna = CampoPorNombre(pedido.campo);
  const QList<PuntoControl> puntos = LeerControl(conexion, pedido);
  QDate vigencia = pedido.ConRango() ? pedido.hasta.value_or(pedido.dia) : pedido.dia;
  for (const PuntoControl& punto : puntos)
    if (punto.valor) vigencia = punto.fecha;
  datos.limite = LimiteVigente(LeerLimites(conexion), pedido.tipo.trimmed(), pedido.campo,
                               vigencia.isValid() ? vigencia : QDate::currentDate());
  std::optional<double> minimo, maximo;
  if (datos.limite) {
    minimo = datos.limite->minimo;
    maximo = datos.limite->maximo;
  }
  datos.control = CalcularControl(puntos, minimo, maximo);
  return datos;
}

QString SubtituloGrafico(const DatosGrafico& datos) {
  QString columna = datos.columna ? datos.columna->tituloReporte : datos.pedido.campo;
  if (datos.columna && !datos.columna->unidad.isEmpty())
    columna += QStringLiteral(" (%1)").arg(datos.columna->unidad);
  const PedidoControl& p = datos.pedido;
  QString cuando;
  if (p.desde && p.hasta)
    cuando = QStringLiteral("del %1 al %2").arg(Dia(*p.desde), Dia(*p.hasta));
  else if (p.desde)
    cuando = QStringLiteral("desde el %1").arg(Dia(*p.desde));
  else if (p.hasta)
    cuando = QStringLiteral("hasta el %1").arg(Dia(*p.hasta));
  else
    cuando = QStringLiteral("últimos %1 análisis hasta el %2").arg(p.ultimos).arg(Dia(p.dia));
  return QStringLiteral("%1 · %2 · %3").arg(columna, p.tipo.trimmed(), cuando);
}

QList<QPair<QString, QString>> FigurasGrafico(const DatosGrafico& datos, const QString& separador) {
  const Control& c = datos.control;
  const auto numero = [&](double valor) { return TextoDeCota(valor, 2, separador); };
  const QString sinDato = QStringLiteral("—");
  QList<QPair<QString, QString>> figuras;
  figuras.append({QStringLiteral("n"), QString::number(c.n)});
  figuras.append({QStringLiteral("Media"), c.n > 0 ? numero(c.media) : sinDato});
  figuras.append({QStringLiteral("Desvío estándar"), c.conLimites ? numero(c.desvio) : sinDato});
  figuras.append({QStringLiteral("LC"), c.n > 0 ? numero(c.media) : sinDato});
  figuras.append({QStringLiteral("LCS"), c.conLimites ? numero(c.lcs) : sinDato});
  figuras.append({QStringLiteral("LCI"), c.conLimites ? numero(c.lci) : sinDato});
  if (c.cp) figuras.append({QStringLiteral("Cp"), numero(*c.cp)});
  if (c.cpk) figuras.append({QStringLiteral("Cpk"), numero(*c.cpk)});
  return figuras;
}

QStringList ReglasGrafico(const DatosGrafico& datos) {
  QStringList reglas;
  for (const Violacion& v : datos.control.violaciones)
    reglas.append(DescribirViolacion(datos.control, v));
  if (reglas.isEmpty()) {
    if (datos.control.conLimites)
      reglas.append(QStringLiteral("Ninguna regla de control rota."));
    else
      reglas.append(
          QStringLiteral("Hacen falta al menos dos análisis con valor para los límites."));
  }
  return reglas;
}

QChart* GraficoIndividuos(const DatosGrafico& datos) {
  const Control& c = datos.control;
  QChart* grafico = NuevoGrafico(QStringLiteral("Valores individuales"));
  auto* valores = new QLineSeries(grafico);
  valores->setName(QStringLiteral("Valores"));
  valores->setPointsVisible(c.n <= 200);
  auto* marcados = new QScatterSeries(grafico);
  marcados->setName(QStringLiteral("Regla rota"));
  marcados->setColor(kControl);
  marcados->setMarkerSize(10);
  QList<QPointF> puntos;
  double yMin = c.n > 0 ? c.media : 0, yMax = yMin;
  for (int i = 0; i < c.n; ++i) {
    const double y = *c.puntos[i].valor;
    puntos.append({double(i + 1), y});
    yMin = std::min(yMin, y);
    yMax = std::max(yMax, y);
    if (PuntoMarcado(c, i)) marcados->append(i + 1, y);
  }
  valores->replace(puntos);
  grafico->addSeries(valores);
  grafico->addSeries(marcados);
  // "Regla rota" in the legend only when some point breaks one.
  for (QLegendMarker* marca : grafico->legend()->markers(marcados))
    marca->setVisible(marcados->count() > 0);
  const double fin = std::max(c.n, 2);
  if (c.n > 0) Linea(grafico, QStringLiteral("LC"), c.media, 1, fin, kCentro, Qt::SolidLine);
  if (c.conLimites) {
    Linea(grafico, QStringLiteral("LCS"), c.lcs, 1, fin, kControl, Qt::DashLine);
    Linea(grafico, QStringLiteral("LCI"), c.lci, 1, fin, kControl, Qt::DashLine);
    yMin = std::min(yMin, c.lci);
    yMax = std::max(yMax, c.lcs);
  }
  if (datos.limite && datos.limite->maximo) {
    Linea(grafico, QStringLiteral("Especificación máx."), *datos.limite->maximo, 1, fin,
          kEspecificacion, Qt::DashDotLine, 2.5);
    yMin = std::min(yMin, *datos.limite->maximo);
    yMax = std::max(yMax, *datos.limite->maximo);
  }
  if (datos.limite && datos.limite->minimo) {
    Linea(grafico, QStringLiteral("Especificación mín."), *datos.limite->minimo, 1, fin,
          kEspecificacion, Qt::DashDotLine, 2.5);
    yMin = std::min(yMin, *datos.limite->minimo);
    yMax = std::max(yMax, *datos.limite->minimo);
  }
  const QString eje = datos.columna ? datos.columna->tituloReporte : datos.pedido.campo;
  Ejes(grafico, 1, fin, yMin, yMax, eje);
  return grafico;
}

QChart* GraficoRangos(const DatosGrafico& datos) {
  const Control& c = datos.control;
  QChart* grafico = NuevoGrafico(QStringLiteral("Rango móvil"));
  auto* rangos = new QLineSeries(grafico);
  rangos->setName(QStringLiteral("Rango móvil"));
  rangos->setPointsVisible(c.n <= 200);
  QList<QPointF> puntos;
  double yMax = c.lcsRango;
  for (int i = 0; i < c.rangos.size(); ++i) {
    puntos.append({double(i + 2), c.rangos[i]});
    yMax = std::max(yMax, c.rangos[i]);
  }
  rangos->replace(puntos);
  grafico->addSeries(rangos);
  const double fin = std::max(c.n, 2);
  if (c.conLimites) {
    Linea(grafico, QStringLiteral("LC"), c.rangoMedio, 1, fin, kCentro, Qt::SolidLine);
    Linea(grafico, QStringLiteral("LCS"), c.lcsRango, 1, fin, kControl, Qt::DashLine);
  }
  Ejes(grafico, 1, fin, 0, yMax, QStringLiteral("Rango"), true);
  return grafico;
}

QPageLayout PaginaGrafico() {
  return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 12, 12, 12),
                     QPageLayout::Millimeter);
}

void PintarGrafico(const DatosGrafico& datos, QPagedPaintDevice& destino) {
  QPainter pintor(&destino);
  // Laid out in pixels of a screen (96 to the inch), whatever the device's
  // resolution, with every text sized in pixels (Letra).
  const double escala = destino.logicalDpiX() / 96.0;
  pintor.scale(escala, escala);
  const double ancho = pintor.viewport().width() / escala;
  const double alto = pintor.viewport().height() / escala;
  const QFont texto = Letra();
  const double renglon = QFontMetricsF(texto).height() * 1.2;

  pintor.setFont(Letra(1.4, true));
  pintor.drawText(QRectF(0, 0, ancho, 2 * renglon), Qt::AlignLeft | Qt::AlignVCenter,
                  QStringLiteral("Gráfico de control"));
  pintor.setFont(texto);
  pintor.drawText(QRectF(0, 2 * renglon, ancho, renglon), Qt::AlignLeft | Qt::AlignVCenter,
                  SubtituloGrafico(datos));

  // The charts are painted through a scene of their own, at the size they
  // are laid out for.
  const double anchoGrafico = ancho * 0.72;
  const double arriba = 3.5 * renglon;
  const double altoTotal = alto - arriba;
  const QList<std::pair<QChart*, double>> graficos = {{GraficoIndividuos(datos), altoTotal * 0.62},
                                                      {GraficoRangos(datos), altoTotal * 0.38}};
  double y = arriba;
  for (const auto& [grafico, altura] : graficos) {
    QGraphicsScene escena;
    escena.addItem(grafico);  // the scene deletes it
    grafico->resize(anchoGrafico, altura);
    escena.render(&pintor, QRectF(0, y, anchoGrafico, altura), QRectF(0, 0, anchoGrafico, altura));
    y += altura;
  }

  const QString separador = LibCampos::SeparadorDecimal();
  const double x = anchoGrafico + renglon;
  const double columna = (ancho - x) / 2;
  double yFigura = arriba;
  for (const auto& [nombre, valor] : FigurasGrafico(datos, separador)) {
    pintor.drawText(QRectF(x, yFigura, columna, renglon), Qt::AlignLeft | Qt::AlignVCenter, nombre);
    pintor.drawText(QRectF(x + columna, yFigura, columna * 0.8, renglon),
                    Qt::AlignRight | Qt::AlignVCenter, valor);
    yFigura += renglon;
  }
  QRectF usado;
  if (datos.limite) {
    yFigura += renglon / 2;
    pintor.drawText(QRectF(x, yFigura, ancho - x, 4 * renglon), Qt::TextWordWrap,
                    DescribirLimite(*datos.limite, separador), &usado);
    yFigura += usado.height();
  }
  yFigura += renglon;
  pintor.setFont(Letra(1, true));
  pintor.drawText(QRectF(x, yFigura, ancho - x, renglon), Qt::AlignLeft, QStringLiteral("Reglas"));
  pintor.setFont(texto);
  yFigura += renglon;
  const QStringList reglas = ReglasGrafico(datos);
  for (int i = 0; i < reglas.size(); ++i) {
    // The window lists every rule; the page those that fit, and how many more.
    if (yFigura + 3 * renglon > alto && i + 1 < reglas.size()) {
      pintor.drawText(QRectF(x, yFigura, ancho - x, renglon), Qt::AlignLeft,
                      QStringLiteral("(y %1 más)").arg(reglas.size() - i));
      break;
    }
    pintor.drawText(QRectF(x, yFigura, ancho - x, alto - yFigura), Qt::TextWordWrap, reglas[i],
                    &usado);
    yFigura += usado.height() + renglon / 4;
  }
}
