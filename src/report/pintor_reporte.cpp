#include "report/pintor_reporte.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

namespace reporte {

namespace {

const QColor kRojo(200, 0, 0);

QString TituloDia(const QDate& fecha) {
  if (!fecha.isValid()) return QStringLiteral("Sin fecha");
  // The report speaks Spanish whatever the station's regional settings: only
  // the decimal separator follows them, as in the sheet.
  QString dia = QLocale(QLocale::Spanish).dayName(fecha.dayOfWeek());
  if (!dia.isEmpty()) dia[0] = dia[0].toUpper();
  return QStringLiteral("Fecha: %1 (%2)").arg(fecha.toString(QStringLiteral("dd/MM/yyyy")), dia);
}

}  // namespace

Pintor::Pintor(const ContenidoReporte& r, QPagedPaintDevice& d, const Medidas& m,
               const std::vector<Lineas>& lineas, TextosFormados& textos, TextosFormados& marcados)
    : r_(r),
      d_(d),
      m_(m),
      lineas_(lineas),
      textos_(textos),
      marcados_(marcados),
      medida_(m.cuerpo, &d) {}

bool Pintor::Pintar(const std::vector<std::vector<Bloque>>& paginas, int desde, int hasta,
                    const std::function<bool(qint64)>& avanzar) {
  QPainter p;
  if (!p.begin(&d_)) return false;
  qint64 pintadas = 0;
  for (int i = desde; i < hasta; ++i) {
    if (i > desde) d_.newPage();
    Cabecera(p, i + 1, static_cast<int>(paginas.size()));
    double y = m_.altoCabecera;
    int fila = 0;
    for (const Bloque& b : paginas[i]) {
      PintarBloque(p, b, y, fila);
      if (b.tipo == Bloque::Tipo::Fila && b.hasta == LineasDe(lineas_[b.fila])) ++pintadas;
      y += b.alto;
    }
    if (!avanzar(pintadas)) {
      // A print job is withdrawn before it reaches the printer.
      if (auto* impresora = dynamic_cast<QPrinter*>(&d_)) impresora->abort();
      p.end();
      return false;
    }
  }
  p.end();
  return true;
}

// One line in its box: a text too long for it is drawn smaller, never cut.
void Pintor::Texto(QPainter& p, const QFont& fuente, const QRectF& caja, int alineacion,
                   const QString& texto) {
  QFont ajustada = fuente;
  while (ajustada.pointSizeF() > 5 &&
         QFontMetricsF(ajustada, &d_).horizontalAdvance(texto) > caja.width())
    ajustada.setPointSizeF(std::max(5.0, ajustada.pointSizeF() * 0.9));
  p.setFont(ajustada);
  p.drawText(caja, alineacion | Qt::TextSingleLine | Qt::TextDontClip, texto);
}

void Pintor::Cabecera(QPainter& p, int pagina, int paginas) {
  const double tituloAlto = QFontMetricsF(m_.titulo, &d_).lineSpacing();
  p.setPen(Qt::black);
  Texto(p, m_.empresa, QRectF(0, 0, m_.ancho * 0.3, tituloAlto), Qt::AlignLeft | Qt::AlignVCenter,
        r_.empresa);
  Texto(p, m_.titulo, QRectF(m_.ancho * 0.3, 0, m_.ancho * 0.4, tituloAlto), Qt::AlignCenter,
        r_.titulo);
  Texto(
      p, m_.pequena, QRectF(m_.ancho * 0.7, 0, m_.ancho * 0.3, tituloAlto),
      Qt::AlignRight | Qt::AlignVCenter,
      QStringLiteral("Impreso el %1").arg(r_.impreso.toString(QStringLiteral("dd/MM/yyyy HH:mm"))));
  // The selection may be a long formula: it wraps.
  const double seleccionAlto = m_.altoSeleccion;
  p.setFont(Fuente(9));
  p.drawText(QRectF(0, tituloAlto + m_.mm, m_.ancho, seleccionAlto),
             Qt::AlignCenter | Qt::TextWordWrap | Qt::TextWrapAnywhere, r_.seleccion);
  const double y = tituloAlto + seleccionAlto + 3 * m_.mm;
  p.fillRect(QRectF(0, y, m_.ancho, m_.altoEncabezados), QColor(225, 225, 225));
  p.setFont(m_.negrita);
  const double linea = QFontMetricsF(m_.negrita, &d_).lineSpacing();
  for (int c = 0; c < kColumnasReporte; ++c) {
    const int alineacion = ColumnasReporte()[c].numero ? Qt::AlignRight : Qt::AlignLeft;
    for (int k = 0; k < m_.encabezados[c].size(); ++k)
      p.drawText(QRectF(m_.x[c], y + m_.relleno + k * linea, m_.w[c], linea),
                 alineacion | Qt::AlignVCenter, m_.encabezados[c][k]);
  }
  const double pie = m_.alto - m_.altoPie + m_.mm;
  p.setPen(QPen(Qt::black, 0.2 * m_.mm));
  p.drawLine(QPointF(0, pie), QPointF(m_.ancho, pie));
  const double alto = m_.altoPie - m_.mm;
  const QString pieIzquierdo = r_.titulo + QStringLiteral(" · ") + r_.seleccion;
  const bool cabe =
      QFontMetricsF(m_.pequena, &d_).horizontalAdvance(pieIzquierdo) <= m_.ancho * 0.7;
  Texto(p, m_.pequena, QRectF(0, pie, m_.ancho * 0.7, alto), Qt::AlignLeft | Qt::AlignVCenter,
        cabe ? pieIzquierdo : r_.titulo);
  Texto(p, m_.pequena, QRectF(m_.ancho * 0.7, pie, m_.ancho * 0.3, alto),
        Qt::AlignRight | Qt::AlignVCenter,
        QStringLiteral("Página %1 de %2").arg(pagina).arg(paginas));
}

void Pintor::PintarBloque(QPainter& p, const Bloque& b, double y, int& fila) {
  p.setPen(Qt::black);
  switch (b.tipo) {
    case Bloque::Tipo::Aviso:
      Texto(p, Fuente(10, true), QRectF(0, y, m_.ancho, b.alto), Qt::AlignCenter, r_.sinAnalisis);
      return;
    case Bloque::Tipo::Dia: {
      QString texto = TituloDia(r_.analisis[b.fila].fecha);
      if (b.sigue) texto += QStringLiteral(" (continúa)");
      Texto(p, Fuente(8.5, true), QRectF(0, y, m_.ancho, b.alto), Qt::AlignLeft | Qt::AlignBottom,
            texto);
      p.setPen(QPen(Qt::black, 0.15 * m_.mm));
      p.drawLine(QPointF(0, y + b.alto), QPointF(m_.ancho, y + b.alto));
      fila = 0;
      return;
    }
    case Bloque::Tipo::TotalDia: {
      const QDate dia = r_.analisis[b.fila].fecha;
      int cuantos = 0;
      for (int i = b.fila; i >= 0 && r_.analisis[i].fecha == dia; --i) ++cuantos;
      int fuera = 0;
      for (int i = b.fila; i >= 0 && r_.analisis[i].fecha == dia; --i)
        fuera += r_.analisis[i].Fuera() ? 1 : 0;
      QString texto = QStringLiteral("Análisis del día: %1").arg(cuantos);
      if (r_.juzgado) texto += QStringLiteral(" · fuera de especificación: %1").arg(fuera);
      Texto(p, m_.negrita, QRectF(0, y, m_.ancho, b.alto), Qt::AlignRight | Qt::AlignVCenter,
            texto);
      return;
    }
    case Bloque::Tipo::Fila:
      Fila(p, b, y, fila++);
      return;
    case Bloque::Tipo::Resumen:
      Resumen(p, y + 3 * m_.mm);
      return;
    case Bloque::Tipo::Leyenda:
      Leyenda(p, y + 3 * m_.mm);
      return;
  }
}

void Pintor::Fila(QPainter& p, const Bloque& b, double y, int orden) {
  if (orden % 2 == 1) p.fillRect(QRectF(0, y, m_.ancho, b.alto), QColor(242, 242, 242));
  p.setFont(m_.cuerpo);
  p.setPen(Qt::black);
  // Texts drawn at a point: a row's cells are already broken into lines
  // that fit, and this is most of the report's painting.
  const double base = y + m_.relleno + medida_.ascent() + (m_.linea - medida_.height()) / 2;
  const Lineas& lineas = lineas_[b.fila];
  const AnalisisReporte& analisis = r_.analisis[b.fila];
  const auto celdas = [&](TextosFormados& textos, bool fuera) {
    for (int c = 0; c < kColumnasReporte; ++c) {
      if ((analisis.veredictos[c] == Veredicto::Fuera) != fuera) continue;
      const bool derecha = ColumnasReporte()[c].numero;
      const std::vector<LineaFormada>& celda = *lineas[c];
      for (int k = b.desde; k < b.hasta && k < static_cast<int>(celda.size()); ++k) {
        const LineaFormada& linea = celda[k];
        const double x = derecha ? m_.x[c] + m_.w[c] - linea.ancho : m_.x[c];
        textos.Dibujar(p, linea, QPointF(x, base + (k - b.desde) * m_.linea));
      }
    }
  };
  celdas(textos_, false);
  // The values out of their limits after the rest, in red and bold with
  // their marks: the font and the pen change once a row, not per cell.
  if (!analisis.Fuera()) return;
  p.setPen(kRojo);
  celdas(marcados_, true);
  p.setPen(Qt::black);
}

void Pintor::Leyenda(QPainter& p, double y) {
  const double alto = m_.linea + 2 * m_.relleno;
  p.setPen(kRojo);
  Texto(p, m_.negrita, QRectF(0, y, m_.ancho, alto), Qt::AlignLeft | Qt::AlignVCenter,
        QStringLiteral("Valores en rojo y negrita: fuera de especificación"));
  p.setPen(Qt::black);
  Texto(p, m_.cuerpo, QRectF(0, y + alto, m_.ancho, alto), Qt::AlignLeft | Qt::AlignVCenter,
        QStringLiteral("▲ por encima del máximo · ▼ por debajo del mínimo · según los límites "
                       "del tipo de harina vigentes en la fecha de cada análisis; un valor en "
                       "la banda de aviso cumple la especificación."));
}

void Pintor::Resumen(QPainter& p, double y) {
  const std::vector<ResumenColumna> resumen = Resumir(r_.analisis);
  int dias = 0;
  for (std::size_t i = 0; i < r_.analisis.size(); ++i)
    if (i == 0 || r_.analisis[i].fecha != r_.analisis[i - 1].fecha) ++dias;
  const double alto = m_.linea + 2 * m_.relleno;
  Texto(p, Fuente(8.5, true), QRectF(0, y, m_.ancho, alto), Qt::AlignLeft | Qt::AlignVCenter,
        QStringLiteral("Resumen: %1 análisis en %2 %3")
            .arg(r_.analisis.size())
            .arg(dias)
            .arg(dias == 1 ? QStringLiteral("día") : QStringLiteral("días")));
  y += alto;
  const double anchoNombre = reporte::AnchoNombreResumen(m_);
  const double anchoCifra = reporte::AnchoCifraResumen(m_);
  QStringList titulos = {QStringLiteral("Columna"), QStringLiteral("Cantidad"),
                         QStringLiteral("Promedio"), QStringLiteral("Mínimo"),
                         QStringLiteral("Máximo")};
  if (r_.juzgado) titulos << QStringLiteral("Fuera de esp.") << QStringLiteral("% conformes");
  const auto renglon = [&](const QStringList& textos, const QFont& fuente) {
    for (int k = 0; k < textos.size(); ++k) {
      const double x = k == 0 ? 0 : anchoNombre + (k - 1) * anchoCifra;
      Texto(p, fuente, QRectF(x, y, k == 0 ? anchoNombre : anchoCifra - m_.mm, alto),
            (k == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter, textos[k]);
    }
    y += alto;
  };
  p.fillRect(QRectF(0, y, anchoNombre + (titulos.size() - 1) * anchoCifra, alto),
             QColor(225, 225, 225));
  renglon(titulos, m_.negrita);
  for (const ResumenColumna& c : resumen) {
    const bool hay = c.cantidad > 0;
    QStringList cifras = {ColumnasReporte()[c.columna].titulo, QString::number(c.cantidad),
                          hay ? Cifra(c.Promedio(), std::min(3, c.decimales + 1)) : QString(),
                          hay ? Cifra(c.minimo, c.decimales) : QString(),
                          hay ? Cifra(c.maximo, c.decimales) : QString()};
    // The share is of the judged values: none judged, none to give.
    if (r_.juzgado)
      cifras << (c.juzgados > 0 ? QString::number(c.fuera) : QString())
             << (c.juzgados > 0 ? Cifra(c.Conformes(), 1) + QStringLiteral(" %") : QString());
    renglon(cifras, m_.cuerpo);
  }
}

}  // namespace reporte
