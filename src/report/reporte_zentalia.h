#pragma once
// The built-in report "Rp_ZENTALIA": the flour analyses of a selection on A4
// landscape pages.
//
// Every page has the header (the company, the title, the selection and the
// moment printed), the column headings and the footer "Página n de m". The
// analyses follow by date and time, under the heading of their day and with
// the day's count after its last one; a day that goes on to the next page
// repeats its heading there. Long texts wrap inside their column; a row taller
// than a whole page goes on over the next, so nothing is ever cut off. At the
// end, for each number column, the count, mean, minimum and maximum. A report
// without analyses says so on its one page.
//
// A judged report (the database holds quality limits) also marks every value
// out of its limits: red and bold, followed by "▲" above the maximum or
// "▼" below the minimum. Each day's line counts the analyses with such a
// value, the summary gives each number column's count out of its limits
// and its share of conforming values, and a legend on the last page explains
// the marks. A report of a database without limits shows none of this.

#include <QDateTime>
#include <QPageLayout>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "report/analisis_reporte.h"

class QPagedPaintDevice;

struct ContenidoReporte {
  QString empresa;
  QString titulo;
  QString seleccion;    // the range or date selected, as the header says it
  QString sinAnalisis;  // what the page says when no analysis was selected
  QDateTime impreso;
  bool resumen = true;                    // the summary at the end
  bool diaPorPagina = false;              // every day starts a new page
  bool juzgado = false;                   // marks, counts and legend (JuzgarAnalisis)
  std::vector<AnalisisReporte> analisis;  // in the order shown (Ordenar)
};

// A4 landscape, margins of 10 mm.
QPageLayout PaginaReporte();

// Lays the report out for the device and paints it, page after page. After
// each page avanzar is told how many analyses have been painted; when it
// answers false the painting stops there and the result is false (the caller
// drops what was painted). True when every page was painted.
bool PintarReporte(const ContenidoReporte& contenido, QPagedPaintDevice& dispositivo,
                   const std::function<bool(qint64)>& avanzar);

// One report painted on several devices (the print preview, then "Guardar
// PDF…" or the printer): what is laid out for a resolution and page size (the
// measures, every distinct text broken and shaped, the pages) is done once and
// painted again on every device of that resolution and size; another one gets
// its own layout. Shaped glyphs belong to the resolution they were shaped at,
// so nothing is shared across resolutions. The content must outlive it.
class ReporteDispuesto {
 public:
  explicit ReporteDispuesto(const ContenidoReporte& contenido);
  ~ReporteDispuesto();
  bool Pintar(QPagedPaintDevice& dispositivo, const std::function<bool(qint64)>& avanzar);
  // How many layouts were made: one per resolution and page size painted on.
  int Disposiciones() const { return static_cast<int>(disposiciones_.size()); }

 private:
  struct Disposicion;
  const ContenidoReporte& contenido_;
  std::vector<std::unique_ptr<Disposicion>> disposiciones_;
};
