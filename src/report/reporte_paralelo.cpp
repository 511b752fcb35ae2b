#include "report/reporte_paralelo.h"

#include <QBuffer>
#include <QFile>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "report/paginas_reporte.h"
#include "report/pintor_reporte.h"
#include "report/unir_pdf.h"
#include "services/guardar_pdf.h"

namespace {

// A thread costs about as much as four or five pages of painting (its own
// fonts, its part's embedded subsets, its share of the join), so each one
// takes at least eight: a report of fewer than sixteen pages stays on one.
constexpr int kPaginasPorHilo = 8;
// Each thread adds its fonts, its part and its share of the join to the
// report's memory: a three years' report on four threads takes more than the
// thirty megabytes a report may add, on three it stays within them.
constexpr int kHilosMaximos = 3;

// One thread's pages and what became of them.
struct Tramo {
  int desde = 0;
  int hasta = 0;
  QString parte;
  std::atomic<qint64> pintadas{0};
  QString falla;  // read once the thread has ended
};

// Paints the tramo's pages into its part, on the calling thread: fonts,
// measures and shaped texts of its own, the layout's breaks and pages shared.
void PintarTramo(const ContenidoReporte& contenido, const QPageLayout& pagina,
                 const reporte::Disposicion& disposicion, Tramo& tramo,
                 const std::atomic<bool>& parar) {
  QFile archivo(tramo.parte);
  if (!archivo.open(QIODevice::WriteOnly)) {
    tramo.falla = QStringLiteral("no se pudo escribir en la carpeta temporal (%1)")
                      .arg(archivo.errorString());
    return;
  }
  bool pintado = false;
  {
    QPdfWriter pdf(&archivo);
    PrepararPdf(pdf, pagina, contenido.titulo);
    const reporte::Medidas m = reporte::Medir(contenido, pdf);
    reporte::TextosFormados textos(m.cuerpo, &pdf);
    reporte::TextosFormados marcados(m.negrita, &pdf);
    pintado = reporte::Pintor(contenido, pdf, m, disposicion.lineas, textos, marcados)
                  .Pintar(disposicion.paginas, tramo.desde, tramo.hasta, [&](qint64 pintadas) {
                    tramo.pintadas = pintadas;
                    return !parar;
                  });
  }
  if (!pintado && !parar) tramo.falla = QStringLiteral("no se pudo pintar el reporte");
  if (pintado && (!archivo.flush() || archivo.error() != QFileDevice::NoError))
    tramo.falla = QStringLiteral("no se pudo escribir en la carpeta temporal (%1)")
                      .arg(archivo.errorString());
}

// Paints every tramo on a thread of its own and waits for them, telling the
// operator's progress meanwhile on this thread, whose dialog keeps answering.
// False when the operator cancelled: the threads stopped at their next page.
bool PintarTramos(const ContenidoReporte& contenido, const QPageLayout& pagina,
                  const reporte::Disposicion& disposicion, std::vector<Tramo>& tramos,
                  const std::function<bool(qint64)>& avanzar) {
  const int n = static_cast<int>(tramos.size());
  std::atomic<bool> parar{false};
  std::mutex cerrojo;
  std::condition_variable aviso;
  int terminados = 0;
  std::vector<std::unique_ptr<QThread>> hilos;
  for (Tramo& tramo : tramos) {
    hilos.emplace_back(QThread::create([&, t = &tramo] {
      // Nothing may leave a thread: what went wrong is its part's failure.
      try {
        PintarTramo(contenido, pagina, disposicion, *t, parar);
      } catch (const std::exception& error) {
        t->falla = QString::fromLocal8Bit(error.what());
      }
      std::lock_guard<std::mutex> cerrado(cerrojo);
      ++terminados;
      aviso.notify_one();
    }));
    hilos.back()->start();
  }
  const auto pintadas = [&] {
    qint64 suma = 0;
    for (const Tramo& tramo : tramos) suma += tramo.pintadas;
    return suma;
  };
  for (;;) {
    {
      std::unique_lock<std::mutex> cerrado(cerrojo);
      if (aviso.wait_for(cerrado, std::chrono::milliseconds(50), [&] { return terminados == n; }))
        break;
    }
    if (!parar && !avanzar(pintadas())) parar = true;
  }
  for (auto& hilo : hilos) hilo->wait();
  return !parar && avanzar(pintadas());
}

}  // namespace

int HilosDelReporte(int paginas) {
  return std::clamp(
      std::min({QThread::idealThreadCount(), kHilosMaximos, paginas / kPaginasPorHilo}), 1,
      kHilosMaximos);
}

bool GuardarReportePdf(const ContenidoReporte& contenido, const QString& ruta,
                       const QPageLayout& pagina, const std::function<bool(qint64)>& avanzar,
                       int hilos) {
  // The layout is made on a writer like the parts', which only measures: its
  // texts are broken, not shaped, for each thread shapes what it paints.
  QBuffer nada;
  nada.open(QIODevice::WriteOnly);
  QPdfWriter medida(&nada);
  PrepararPdf(medida, pagina, contenido.titulo);
  auto disposicion = std::make_unique<reporte::Disposicion>(contenido, medida, false);
  const int paginas = static_cast<int>(disposicion->paginas.size());
  const int n = std::clamp(hilos > 0 ? hilos : HilosDelReporte(paginas), 1, paginas);
  if (n == 1)
    return GuardarPdf(ruta, pagina, contenido.titulo, [&](QPagedPaintDevice& pdf) {
      return reporte::Pintor(contenido, pdf, disposicion->m, disposicion->lineas,
                             disposicion->textos, disposicion->marcados)
          .Pintar(disposicion->paginas, 0, paginas, avanzar);
    });

  QTemporaryDir carpeta;
  if (!carpeta.isValid())
    PdfNoGuardado(
        ruta,
        QStringLiteral("no se pudo crear una carpeta temporal (%1)").arg(carpeta.errorString()));
  std::vector<Tramo> tramos(n);
  QStringList partes;
  for (int k = 0; k < n; ++k) {
    tramos[k].desde = k * paginas / n;
    tramos[k].hasta = (k + 1) * paginas / n;
    tramos[k].parte = carpeta.filePath(QStringLiteral("parte%1.pdf").arg(k));
    partes << tramos[k].parte;
  }
  const bool pintado = PintarTramos(contenido, pagina, *disposicion, tramos, avanzar);
  // The join is the peak of the report's memory: the layout goes first.
  disposicion.reset();
  if (!pintado) return false;
  for (const Tramo& tramo : tramos)
    if (!tramo.falla.isEmpty()) PdfNoGuardado(ruta, tramo.falla);
  return GuardarArchivoPdf(ruta, [&](QIODevice& archivo) {
    const QString falla = UnirPdf(partes, archivo);
    if (!falla.isEmpty()) PdfNoGuardado(ruta, falla);
    return true;
  });
}
