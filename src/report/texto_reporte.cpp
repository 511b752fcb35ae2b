#include "report/texto_reporte.h"

#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace reporte {

namespace {
constexpr std::size_t kAjenasMaximas = 4096;
}  // namespace

QFont Fuente(double puntos, bool negrita) {
  QFont fuente(QStringLiteral("DejaVu Sans"));
  fuente.setStyleHint(QFont::SansSerif);
  fuente.setPointSizeF(puntos);
  fuente.setBold(negrita);
  return fuente;
}

QStringList Partir(const QString& texto, const QFont& fuente, const QFontMetricsF& medida,
                   double ancho, QPaintDevice* dispositivo) {
  if (texto.isEmpty()) return {};
  if (!texto.contains(QLatin1Char('\n')) && medida.horizontalAdvance(texto) <= ancho)
    return {texto};
  QStringList lineas;
  for (const QString& parrafo : texto.split(QLatin1Char('\n'))) {
    QString limpio = parrafo;
    limpio.remove(QLatin1Char('\r'));
    if (limpio.isEmpty()) {
      lineas << QString();
      continue;
    }
    QTextLayout disposicion(limpio, fuente, dispositivo);
    QTextOption opcion;
    opcion.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    disposicion.setTextOption(opcion);
    disposicion.beginLayout();
    for (QTextLine linea = disposicion.createLine(); linea.isValid();
         linea = disposicion.createLine()) {
      linea.setLineWidth(ancho);
      lineas << limpio.mid(linea.textStart(), linea.textLength()).trimmed();
    }
    disposicion.endLayout();
  }
  return lineas;
}

TextosFormados::TextosFormados(const QFont& fuente, QPaintDevice* dispositivo, bool formar)
    : fuente_(fuente), dispositivo_(dispositivo), medida_(fuente, dispositivo), formar_(formar) {}

const std::vector<LineaFormada>& TextosFormados::Lineas(const QString& texto, double ancho) {
  auto tabla = std::find_if(porAncho_.begin(), porAncho_.end(),
                            [&](const auto& par) { return par.first == ancho; });
  if (tabla == porAncho_.end()) tabla = porAncho_.insert(porAncho_.end(), {ancho, Tabla()});
  auto hallado = tabla->second.find(texto);
  if (hallado != tabla->second.end()) return hallado->second;
  std::vector<LineaFormada> lineas;
  for (const QString& linea : Partir(texto, fuente_, medida_, ancho, dispositivo_)) {
    if (formar_)
      lineas.push_back(Formar(linea));
    else
      lineas.push_back({linea, {}, medida_.horizontalAdvance(linea), false, true});
  }
  return tabla->second.emplace(texto, std::move(lineas)).first->second;
}

LineaFormada TextosFormados::Formar(const QString& texto) const {
  LineaFormada linea;
  linea.texto = texto;
  linea.ancho = medida_.horizontalAdvance(texto);
  QTextLayout disposicion(texto, fuente_, dispositivo_);
  QTextOption opcion;
  opcion.setWrapMode(QTextOption::NoWrap);
  disposicion.setTextOption(opcion);
  disposicion.beginLayout();
  QTextLine primera = disposicion.createLine();
  const bool una = primera.isValid() && !disposicion.createLine().isValid();
  disposicion.endLayout();
  if (!una) return linea;
  // The runs come placed on a baseline at the line's ascent: moved onto the
  // origin's, exactly, since both are in 64ths of a pixel.
  const double ascenso = primera.ascent();
  for (QGlyphRun corrida : primera.glyphRuns()) {
    QList<QPointF> posiciones = corrida.positions();
    for (QPointF& punto : posiciones) punto.ry() -= ascenso;
    corrida.setPositions(posiciones);
    linea.glifos.append(corrida);
  }
  linea.formada = true;
  return linea;
}

void TextosFormados::Dibujar(QPainter& pintor, const LineaFormada& dada, QPointF origen) {
  const LineaFormada* propia = &dada;
  if (dada.porFormar) {
    auto hallada = ajenas_.find(dada.texto);
    if (hallada == ajenas_.end()) {
      // Each line is drawn as soon as it is looked up: a report of ever new
      // texts starts again instead of holding every one of them per thread.
      if (ajenas_.size() >= kAjenasMaximas) ajenas_.clear();
      hallada = ajenas_.emplace(dada.texto, Formar(dada.texto)).first;
    }
    propia = &hallada->second;
  }
  const LineaFormada& linea = *propia;
  if (pintor.font() != fuente_) pintor.setFont(fuente_);
  if (!linea.formada) {
    pintor.drawText(origen, linea.texto);
    return;
  }
  // drawText starts its text at the point cut down to 64ths of a pixel, as
  // QFixed takes a real number, not rounded.
  origen.setX(std::trunc(origen.x() * 64) / 64);
  for (const QGlyphRun& corrida : linea.glifos) pintor.drawGlyphRun(origen, corrida);
}

}  // namespace reporte
