#include "report/reporte_zentalia.h"

#include "report/texto_reporte.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <cmath>

namespace {

using reporte::Fuente;
using reporte::LineaFormada;
using reporte::Partir;
using reporte::TextosFormados;

// Everything measured on the device, in its pixels.
struct Medidas {
  double mm = 1;
  double ancho = 0;
  double alto = 0;
  QFont cuerpo, negrita, empresa, titulo, pequena;
  double linea = 0;    // a line of the body's font
  double relleno = 0;  // above and below a row's text
  std::array<double, kColumnasReporte> x{};
  std::array<double, kColumnasReporte> w{};
  double altoCabecera = 0;  // header, selection and column headings
  double altoPie = 0;
  double altoCuerpo = 0;
  std::array<QStringList, kColumnasReporte> encabezados;
  double altoSeleccion = 0;  // the selection's lines
  double altoEncabezados = 0;
};

struct Bloque {
  enum class Tipo { Dia, Fila, TotalDia, Aviso, Resumen } tipo;
  double alto = 0;
  int fila = -1;  // Dia, Fila, TotalDia: the analysis
  int desde = 0;  // Fila: the first and past-the-last line painted
  int hasta = 0;
  bool sigue = false;  // Dia: the heading repeated on the next page
};

// A row's cells, each as the report's shaped texts hold it.
using Lineas = std::array<const std::vector<LineaFormada>*, kColumnasReporte>;

Medidas Medir(const ContenidoReporte& r, QPagedPaintDevice& d) {
  Medidas m;
  m.mm = d.logicalDpiX() / 25.4;
  m.ancho = d.width();
  m.alto = d.height();
  m.cuerpo = Fuente(7.5);
  m.negrita = Fuente(7.5, true);
  m.empresa = Fuente(11, true);
  m.titulo = Fuente(14, true);
  m.pequena = Fuente(7);
  const QFontMetricsF cuerpo(m.cuerpo, &d);
  m.linea = cuerpo.lineSpacing();
  m.relleno = 0.6 * m.mm;
  int pesos = 0;
  for (const ColumnaReporte& c : ColumnasReporte()) pesos += c.peso;
  double x = 0;
  const double separacion = 2.5 * m.mm;  // between two columns
  for (int c = 0; c < kColumnasReporte; ++c) {
    const double total = m.ancho * ColumnasReporte()[c].peso / pesos;
    m.x[c] = x;
    m.w[c] = total - separacion;
    x += total;
  }
  const QFontMetricsF negrita(m.negrita, &d);
  int lineas = 1;
  for (int c = 0; c < kColumnasReporte; ++c) {
    m.encabezados[c] = Partir(ColumnasReporte()[c].titulo, m.negrita, negrita, m.w[c], &d);
    lineas = std::max(lineas, static_cast<int>(m.encabezados[c].size()));
  }
  m.altoEncabezados = lineas * negrita.lineSpacing() + 2 * m.relleno;
  const QFontMetricsF seleccion(Fuente(9), &d);
  m.altoSeleccion = std::max(
      seleccion.lineSpacing(),
      seleccion
          .boundingRect(QRectF(0, 0, m.ancho, m.alto / 4),
                        Qt::AlignCenter | Qt::TextWordWrap | Qt::TextWrapAnywhere, r.seleccion)
          .height());
  m.altoCabecera = QFontMetricsF(m.titulo, &d).lineSpacing() + m.altoSeleccion + 3 * m.mm +
                   m.altoEncabezados + m.mm;
  m.altoPie = QFontMetricsF(m.pequena, &d).lineSpacing() + 2 * m.mm;
  m.altoCuerpo = m.alto - m.altoCabecera - m.altoPie;
  return m;
}

double AltoFila(const Medidas& m, int lineas) {
  return std::max(1, lineas) * m.linea + 2 * m.relleno;
}

int LineasDe(const Lineas& lineas) {
  int n = 1;
  for (const std::vector<LineaFormada>* l : lineas) n = std::max(n, static_cast<int>(l->size()));
  return n;
}

double AltoResumen(const Medidas& m) {
  int numeros = 0;
  for (const ColumnaReporte& c : ColumnasReporte()) numeros += c.numero ? 1 : 0;
  return 3 * m.mm + (numeros + 2) * (m.linea + 2 * m.relleno);
}

// The pages and what each one holds.
std::vector<std::vector<Bloque>> Paginar(const ContenidoReporte& r, const Medidas& m,
                                         const std::vector<Lineas>& lineas) {
  std::vector<std::vector<Bloque>> paginas(1);
  double y = 0;
  const double altoDia = m.linea * 1.4 + 2 * m.relleno;
  const auto nueva = [&] {
    paginas.emplace_back();
    y = 0;
  };
  const auto poner = [&](const Bloque& b) {
    paginas.back().push_back(b);
    y += b.alto;
  };
  const int n = static_cast<int>(r.analisis.size());
  if (n == 0) poner({Bloque::Tipo::Aviso, m.linea * 3, -1, 0, 0, false});
  for (int i = 0; i < n; ++i) {
    const bool primeraDelDia = i == 0 || r.analisis[i].fecha != r.analisis[i - 1].fecha;
    const bool ultimaDelDia = i == n - 1 || r.analisis[i].fecha != r.analisis[i + 1].fecha;
    const int total = LineasDe(lineas[i]);
    if (primeraDelDia) {
      // A day's heading never stays alone at the foot of a page.
      const double primera =
          AltoFila(m, total) <= m.altoCuerpo - altoDia ? AltoFila(m, total) : AltoFila(m, 1);
      if (!paginas.back().empty() &&
          ((r.diaPorPagina && i > 0) || y + altoDia + primera > m.altoCuerpo))
        nueva();
      poner({Bloque::Tipo::Dia, altoDia, i, 0, 0, false});
    }
    int desde = 0;
    while (desde < total) {
      const int faltan = total - desde;
      int caben = static_cast<int>(std::floor((m.altoCuerpo - y - 2 * m.relleno) / m.linea + 1e-6));
      if (caben >= faltan) {
        poner({Bloque::Tipo::Fila, AltoFila(m, faltan), i, desde, total, false});
        break;
      }
      // A row goes whole to the next page when it fits there; only a row
      // taller than a page is split, by lines.
      const bool soloElDia =
          paginas.back().size() == 1 && paginas.back().front().tipo == Bloque::Tipo::Dia;
      const bool cabeEnOtra = AltoFila(m, faltan) <= m.altoCuerpo - altoDia;
      if (!soloElDia && (cabeEnOtra || caben < 1)) {
        nueva();
        poner({Bloque::Tipo::Dia, altoDia, i, 0, 0, true});
        continue;
      }
      caben = std::max(1, caben);
      poner({Bloque::Tipo::Fila, AltoFila(m, caben), i, desde, desde + caben, false});
      desde += caben;
    }
    if (ultimaDelDia) {
      const double alto = m.linea + 2 * m.relleno;
      if (y + alto > m.altoCuerpo) {
        nueva();
        poner({Bloque::Tipo::Dia, altoDia, i, 0, 0, true});
      }
      poner({Bloque::Tipo::TotalDia, alto, i, 0, 0, false});
    }
  }
  if (r.resumen && n > 0) {
    if (y + AltoResumen(m) > m.altoCuerpo) nueva();
    poner({Bloque::Tipo::Resumen, AltoResumen(m), -1, 0, 0, false});
  }
  return paginas;
}

QString TituloDia(const QDate& fecha) {
  if (!fecha.isValid()) return QStringLiteral("Sin fecha");
  // The report speaks Spanish whatever the station's regional settings: only
  // the decimal separator follows them, as in the sheet.
  QString dia = QLocale(QLocale::Spanish).dayName(fecha.dayOfWeek());
  if (!dia.isEmpty()) dia[0] = dia[0].toUpper();
  return QStringLiteral("Fecha: %1 (%2)").arg(fecha.toString(QStringLiteral("dd/MM/yyyy")), dia);
}

class Pintor {
 public:
  Pintor(const ContenidoReporte& r, QPagedPaintDevice& d, const Medidas& m,
         const std::vector<Lineas>& lineas, const TextosFormados& textos)
      : r_(r), d_(d), m_(m), lineas_(lineas), textos_(textos), medida_(m.cuerpo, &d) {}

  bool Pintar(const std::vector<std::vector<Bloque>>& paginas,
              const std::function<bool(qint64)>& avanzar) {
    QPainter p;
    if (!p.begin(&d_)) return false;
    qint64 pintadas = 0;
    for (std::size_t i = 0; i < paginas.size(); ++i) {
      if (i > 0) d_.newPage();
      Cabecera(p, static_cast<int>(i) + 1, static_cast<int>(paginas.size()));
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

 private:
  // One line in its box: a text too long for it is drawn smaller, never cut.
  void Texto(QPainter& p, const QFont& fuente, const QRectF& caja, int alineacion,
             const QString& texto) {
    QFont ajustada = fuente;
    while (ajustada.pointSizeF() > 5 &&
           QFontMetricsF(ajustada, &d_).horizontalAdvance(texto) > caja.width())
      ajustada.setPointSizeF(std::max(5.0, ajustada.pointSizeF() * 0.9));
    p.setFont(ajustada);
    p.drawText(caja, alineacion | Qt::TextSingleLine | Qt::TextDontClip, texto);
  }

  void Cabecera(QPainter& p, int pagina, int paginas) {
    const double tituloAlto = QFontMetricsF(m_.titulo, &d_).lineSpacing();
    p.setPen(Qt::black);
    Texto(p, m_.empresa, QRectF(0, 0, m_.ancho * 0.3, tituloAlto), Qt::AlignLeft | Qt::AlignVCenter,
          r_.empresa);
    Texto(p, m_.titulo, QRectF(m_.ancho * 0.3, 0, m_.ancho * 0.4, tituloAlto), Qt::AlignCenter,
          r_.titulo);
    Texto(p, m_.pequena, QRectF(m_.ancho * 0.7, 0, m_.ancho * 0.3, tituloAlto),
          Qt::AlignRight | Qt::AlignVCenter,
          QStringLiteral("Impreso el %1")
              .arg(r_.impreso.toString(QStringLiteral("dd/MM/yyyy HH:mm"))));
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

  void PintarBloque(QPainter& p, const Bloque& b, double y, int& fila) {
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
        Texto(p, m_.negrita, QRectF(0, y, m_.ancho, b.alto), Qt::AlignRight | Qt::AlignVCenter,
              QStringLiteral("Análisis del día: %1").arg(cuantos));
        return;
      }
      case Bloque::Tipo::Fila:
        Fila(p, b, y, fila++);
        return;
      case Bloque::Tipo::Resumen:
        Resumen(p, y + 3 * m_.mm);
        return;
    }
  }

  void Fila(QPainter& p, const Bloque& b, double y, int orden) {
    if (orden % 2 == 1) p.fillRect(QRectF(0, y, m_.ancho, b.alto), QColor(242, 242, 242));
    p.setFont(m_.cuerpo);
    p.setPen(Qt::black);
    // Texts drawn at a point: a row's cells are already broken into lines
    // that fit, and this is most of the report's painting.
    const double base = y + m_.relleno + medida_.ascent() + (m_.linea - medida_.height()) / 2;
    const Lineas& lineas = lineas_[b.fila];
    for (int c = 0; c < kColumnasReporte; ++c) {
      const bool derecha = ColumnasReporte()[c].numero;
      const std::vector<LineaFormada>& celda = *lineas[c];
      for (int k = b.desde; k < b.hasta && k < static_cast<int>(celda.size()); ++k) {
        const LineaFormada& linea = celda[k];
        const double x = derecha ? m_.x[c] + m_.w[c] - linea.ancho : m_.x[c];
        textos_.Dibujar(p, linea, QPointF(x, base + (k - b.desde) * m_.linea));
      }
    }
  }

  void Resumen(QPainter& p, double y) {
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
    const double anchoNombre = 45 * m_.mm;
    const double anchoCifra = 28 * m_.mm;
    const QStringList titulos = {QStringLiteral("Columna"), QStringLiteral("Cantidad"),
                                 QStringLiteral("Promedio"), QStringLiteral("Mínimo"),
                                 QStringLiteral("Máximo")};
    const auto renglon = [&](const QStringList& textos, const QFont& fuente) {
      for (int k = 0; k < textos.size(); ++k) {
        const double x = k == 0 ? 0 : anchoNombre + (k - 1) * anchoCifra;
        Texto(p, fuente, QRectF(x, y, k == 0 ? anchoNombre : anchoCifra - m_.mm, alto),
              (k == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter, textos[k]);
      }
      y += alto;
    };
    p.fillRect(QRectF(0, y, anchoNombre + 4 * anchoCifra, alto), QColor(225, 225, 225));
    renglon(titulos, m_.negrita);
    for (const ResumenColumna& c : resumen) {
      const bool hay = c.cantidad > 0;
      renglon({ColumnasReporte()[c.columna].titulo, QString::number(c.cantidad),
               hay ? Cifra(c.Promedio(), std::min(3, c.decimales + 1)) : QString(),
               hay ? Cifra(c.minimo, c.decimales) : QString(),
               hay ? Cifra(c.maximo, c.decimales) : QString()},
              m_.cuerpo);
    }
  }

  const ContenidoReporte& r_;
  QPagedPaintDevice& d_;
  const Medidas& m_;
  const std::vector<Lineas>& lineas_;
  const TextosFormados& textos_;  // the body's, where lineas_ point
  QFontMetricsF medida_;          // of the body's font
};

}  // namespace

QPageLayout PaginaReporte() {
  return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                     QPageLayout::Millimeter);
}

bool PintarReporte(const ContenidoReporte& contenido, QPagedPaintDevice& dispositivo,
                   const std::function<bool(qint64)>& avanzar) {
  const Medidas m = Medir(contenido, dispositivo);
  TextosFormados textos(m.cuerpo, &dispositivo);
  std::vector<Lineas> lineas(contenido.analisis.size());
  for (std::size_t i = 0; i < contenido.analisis.size(); ++i)
    for (int c = 0; c < kColumnasReporte; ++c)
      lineas[i][c] = &textos.Lineas(contenido.analisis[i].celdas[c], m.w[c]);
  const std::vector<std::vector<Bloque>> paginas = Paginar(contenido, m, lineas);
  return Pintor(contenido, dispositivo, m, lineas, textos).Pintar(paginas, avanzar);
}
