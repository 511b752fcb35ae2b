#include "report/paginas_reporte.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <algorithm>
#include <cmath>

namespace reporte {

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

double AnchoNombreResumen(const Medidas& m) { return 45 * m.mm; }
double AnchoCifraResumen(const Medidas& m) { return 28 * m.mm; }

double AltoLeyenda(const Medidas& m) { return 3 * m.mm + 2 * (m.linea + 2 * m.relleno); }

namespace {

double AltoResumen(const Medidas& m) {
  int numeros = 0;
  for (const ColumnaReporte& c : ColumnasReporte()) numeros += c.numero ? 1 : 0;
  return 3 * m.mm + (numeros + 2) * (m.linea + 2 * m.relleno);
}

}  // namespace

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
  // The legend explains the marks where the reader has just seen the last
  // of them.
  if (r.juzgado && n > 0) {
    if (y + AltoLeyenda(m) > m.altoCuerpo) nueva();
    poner({Bloque::Tipo::Leyenda, AltoLeyenda(m), -1, 0, 0, false});
  }
  return paginas;
}

Disposicion::Disposicion(const ContenidoReporte& contenido, QPagedPaintDevice& d, bool formar)
    : dpiX(d.logicalDpiX()),
      dpiY(d.logicalDpiY()),
      ancho(d.width()),
      alto(d.height()),
      m(Medir(contenido, d)),
      textos(m.cuerpo, &d, formar),
      marcados(m.negrita, &d, formar),
      lineas(contenido.analisis.size()) {
  for (std::size_t i = 0; i < contenido.analisis.size(); ++i) {
    const AnalisisReporte& analisis = contenido.analisis[i];
    for (int c = 0; c < kColumnasReporte; ++c) {
      // A marked value is broken with its mark, in its own texts: the same
      // value out on other days is broken once too.
      lineas[i][c] =
          analisis.veredictos[c] == Veredicto::Fuera
              ? &marcados.Lineas(
                    analisis.celdas[c] + QStringLiteral(" ") + Marca(analisis.lados[c]), m.w[c])
              : &textos.Lineas(analisis.celdas[c], m.w[c]);
    }
  }
  paginas = Paginar(contenido, m, lineas);
}

bool Disposicion::Sirve(const QPagedPaintDevice& d) const {
  return d.logicalDpiX() == dpiX && d.logicalDpiY() == dpiY && d.width() == ancho &&
         d.height() == alto;
}

}  // namespace reporte
