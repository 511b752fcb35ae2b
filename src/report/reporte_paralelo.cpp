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
#include <vector>

#include "report/paginas_reporte.h"
#include "report/pintor_reporte.h"
#include "report/unir_pdf.h"
#include "services/guardar_pdf.h"

namespace {

// Below this many pages per thread, starting a thread, its fonts and its part,
// and joining the part cost more than the pages it takes off the others.
constexpr int kPaginasPorHilo = 8;
constexpr int kHilosMaximos = 4;

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
void PintarTramo(const ContenidoReporte& contenido, const reporte::Disposicion& disposicion,
                 Tramo& tramo, const std::atomic<bool>& parar) {
  QFile archivo(tramo.parte);
  if (!archivo.open(QIODevice::WriteOnly)) {
    tramo.falla = QStringLiteral("no se pudo escribir en la carpeta temporal (%1)")
                      .arg(archivo.errorString());
    return;
  }
  bool pintado = false;
  {
    QPdfWriter pdf(&archivo);
    PrepararPdf(pdf, PaginaReporte(), contenido.titulo);
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

}  // namespace

int HilosDelReporte(int paginas) {
  return std::clamp(
      std::min({QThread::idealThreadCount(), kHilosMaximos, paginas / kPaginasPorHilo}), 1,
      kHilosMaximos);
}

bool GuardarReportePdf(const ContenidoReporte& contenido, const QString& ruta,
                       const std::function<bool(qint64)>& avanzar, int hilos) {
  // The layout is made on a writer like the parts', which only measures: its
  // texts are broken, not shaped, for each thread shapes what it paints.
  QBuffer nada;
  nada.open(QIODevice::WriteOnly);
  QPdfWriter medida(&nada);
  PrepararPdf(medida, PaginaReporte(), contenido.titulo);
  reporte::Disposicion disposicion(contenido, medida, false);
  const int paginas = static_cast<int>(disposicion.paginas.size());
  const int n = std::clamp(hilos > 0 ? hilos : HilosDelReporte(paginas), 1, paginas);
  if (n == 1)
    return GuardarPdf(ruta, PaginaReporte(), contenido.titulo, [&](QPagedPaintDevice& pdf) {
      return reporte::Pintor(contenido, pdf, disposicion.m, disposicion.lineas, disposicion.textos,
                             disposicion.marcados)
          .Pintar(disposicion.paginas, 0, paginas, avanzar);
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

  std::atomic<bool> parar{false};
  std::mutex cerrojo;
  std::condition_variable aviso;
  int terminados = 0;
  std::vector<std::unique_ptr<QThread>> hilosVivos;
  for (Tramo& tramo : tramos) {
    hilosVivos.emplace_back(QThread::create([&, t = &tramo] {
      PintarTramo(contenido, disposicion, *t, parar);
      std::lock_guard<std::mutex> cerrado(cerrojo);
      ++terminados;
      aviso.notify_one();
    }));
    hilosVivos.back()->start();
  }
  const auto pintadas = [&] {
    qint64 suma = 0;
    for (const Tramo& tramo : tramos) suma += tramo.pintadas;
    return suma;
  };
  // The operator's progress and cancelling, on this thread: its dialog keeps
  // answering while the others paint.
  for (;;) {
    {
      std::unique_lock<std::mutex> cerrado(cerrojo);
      if (aviso.wait_for(cerrado, std::chrono::milliseconds(50), [&] { return terminados == n; }))
        break;
    }
    if (!parar && !avanzar(pintadas())) parar = true;
  }
  for (auto& hilo : hilosVivos) hilo->wait();
  if (parar || !avanzar(pintadas())) return false;
  for (const Tramo& tramo : tramos)
    if (!tramo.falla.isEmpty()) PdfNoGuardado(ruta, tramo.falla);
  return GuardarArchivoPdf(ruta, [&](QIODevice& archivo) {
    const QString falla = UnirPdf(partes, archivo);
    if (!falla.isEmpty()) PdfNoGuardado(ruta, falla);
    return true;
  });
}
