#pragma once
// The analysis report written as a PDF file with its pages painted by several
// threads: laid out once, then each thread paints a run of consecutive pages
// into a PDF of its own in a temporary folder (the same writer's settings, its
// own fonts and shaped texts, the pages numbered among all of the report's),
// and the parts are joined into the file. A report of few pages is painted on
// one thread, straight into the file.
//
// As GuardarPdf: the file appears whole or not at all, and nothing is left in
// the temporary folder either way.

#include <QPageLayout>
#include <QString>
#include <functional>

#include "report/reporte_zentalia.h"

// How many threads paint a report of that many pages on this machine.
int HilosDelReporte(int paginas);

// Writes the report at ruta, laid out on pagina. avanzar is called on the calling thread only, a
// few times a second while the threads paint, with the analyses painted so
// far; when it answers false the threads stop at their next page, nothing is
// written and the result is false. hilos forces that many threads (0: as
// HilosDelReporte says). Throws Falla (kArchivo, as GuardarPdf) when the file,
// a part or the join cannot be written.
bool GuardarReportePdf(const ContenidoReporte& contenido, const QString& ruta,
                       const QPageLayout& pagina, const std::function<bool(qint64)>& avanzar,
                       int hilos = 0);
