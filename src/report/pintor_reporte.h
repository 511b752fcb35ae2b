#pragma once
// The painting of a laid-out analysis report: a range of its pages on one
// device, numbered among all of the report's pages. The texts given draw the
// rows' lines; a painter works on one thread with texts of its own.

#include <functional>
#include <vector>

#include <QFontMetricsF>

#include "report/paginas_reporte.h"
#include "report/reporte_zentalia.h"
#include "report/texto_reporte.h"

class QPagedPaintDevice;
class QPainter;

namespace reporte {

class Pintor {
 public:
  // textos draws the body's lines, marcados the marked values' (in bold).
  Pintor(const ContenidoReporte& r, QPagedPaintDevice& d, const Medidas& m,
         const std::vector<Lineas>& lineas, TextosFormados& textos, TextosFormados& marcados);

  // Pages [desde, hasta) of paginas, one after another from the device's
  // first. After each page avanzar is told how many analyses these pages
  // have finished; when it answers false the painting stops there (a printer's
  // job is withdrawn) and the result is false.
  bool Pintar(const std::vector<std::vector<Bloque>>& paginas, int desde, int hasta,
              const std::function<bool(qint64)>& avanzar);

 private:
  void Texto(QPainter& p, const QFont& fuente, const QRectF& caja, int alineacion,
             const QString& texto);
  void Cabecera(QPainter& p, int pagina, int paginas);
  void PintarBloque(QPainter& p, const Bloque& b, double y, int& fila);
  void Fila(QPainter& p, const Bloque& b, double y, int orden);
  void Leyenda(QPainter& p, double y);
  void Resumen(QPainter& p, double y);

  const ContenidoReporte& r_;
  QPagedPaintDevice& d_;
  const Medidas& m_;
  const std::vector<Lineas>& lineas_;
  TextosFormados& textos_;    // the body's
  TextosFormados& marcados_;  // the marked values', in bold
  QFontMetricsF medida_;      // of the body's font
};

}  // namespace reporte
