#pragma once
// The report's fonts and its line breaking, measured on the device it is
// painted on, and the texts of a report shaped once each.

#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QList>
#include <QString>
#include <QStringList>
#include <unordered_map>
#include <vector>

class QPaintDevice;
class QPainter;

namespace reporte {

// The report's sans-serif face at that size in points.
QFont Fuente(double puntos, bool negrita = false);

// The text broken into the lines that fit the width (device pixels): at blanks
// where it can, inside a word too long for a line otherwise; its own line
// breaks kept. No line is ever dropped or cut. Empty for an empty text.
QStringList Partir(const QString& texto, const QFont& fuente, const QFontMetricsF& medida,
                   double ancho, QPaintDevice* dispositivo);

// One line of a text, shaped: what is drawn, from the start of its baseline,
// and how wide QFontMetricsF measures it.
struct LineaFormada {
  QString texto;
  QList<QGlyphRun> glifos;
  double ancho = 0;
  bool formada = false;    // false: drawn as text (a line the layout would split)
  bool porFormar = false;  // only broken and measured: shaped by the texts that draw it
};

// The texts of one report in one font on one device, each distinct text
// broken (as Partir breaks it) and shaped once, however many cells hold it:
// lab data repeats, and measuring, aligning and drawing a cell would shape it
// three times over. A line drawn here paints what QPainter::drawText paints
// at the same point. The lines given stay where they are while the cache
// lives.
//
// Texts that only lay a report out (formar false) are broken and measured but
// not shaped: their lines are plain data that other threads may read, each
// drawn by that thread's own texts of the same font on a device of the same
// resolution, which shape every distinct line once. Glyphs and fonts never
// cross threads.
class TextosFormados {
 public:
  TextosFormados(const QFont& fuente, QPaintDevice* dispositivo, bool formar = true);

  const std::vector<LineaFormada>& Lineas(const QString& texto, double ancho);
  // The line with the start of its baseline at that point, the painter's pen
  // as it is; the painter is left in these texts' font.
  void Dibujar(QPainter& pintor, const LineaFormada& linea, QPointF origen);

 private:
  struct Dispersion {
    size_t operator()(const QString& texto) const { return qHash(texto); }
  };
  using Tabla = std::unordered_map<QString, std::vector<LineaFormada>, Dispersion>;

  LineaFormada Formar(const QString& linea) const;

  QFont fuente_;
  QPaintDevice* dispositivo_;
  QFontMetricsF medida_;
  bool formar_;
  std::vector<std::pair<double, Tabla>> porAncho_;
  // The lines of other texts (porFormar), shaped here by their text.
  std::unordered_map<QString, LineaFormada, Dispersion> ajenas_;
};

}  // namespace reporte
