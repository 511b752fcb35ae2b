// The program's operator: the progress of a long task and the print preview.

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QPageLayout>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QScreen>
#include <QToolBar>

#include "services/accion_operador.h"
#include "services/falla.h"
#include "services/guardar_pdf.h"
#include "services/operador_qt.h"

namespace {

class ProgresoQt : public Progreso {
 public:
  ProgresoQt(const QString& titulo, const QString& texto, qint64 total)
      : dialogo_(texto, QStringLiteral("Cancelar"), 0, kPasos, QApplication::activeWindow()),
        total_(total > 0 ? total : 1) {
    dialogo_.setWindowTitle(titulo);
    dialogo_.setWindowModality(Qt::WindowModal);
    dialogo_.setMinimumDuration(500);
    dialogo_.setAutoClose(false);
    dialogo_.setAutoReset(false);
    dialogo_.setValue(0);
    reloj_.start();
  }

  bool Avanzar(qint64 hecho) override {
    // The dialog repaints and takes the operator's click on every new value:
    // a few times a second is enough.
    if (reloj_.elapsed() >= 50) {
      reloj_.restart();
      dialogo_.setValue(static_cast<int>(kPasos * std::min(hecho, total_) / total_));
    }
    return !dialogo_.wasCanceled();
  }

 private:
  static constexpr int kPasos = 1000;
  QProgressDialog dialogo_;
  qint64 total_;
  QElapsedTimer reloj_;
};

}  // namespace

std::unique_ptr<Progreso> OperadorQt::MostrarProgreso(const QString& titulo, const QString& texto,
                                                      qint64 total) {
  return std::make_unique<ProgresoQt>(titulo, texto, total);
}

void OperadorQt::VistaPrevia(const QString& titulo, const QPageLayout& pagina,
                             const std::function<void(QPagedPaintDevice&)>& pintar,
                             const GuardarVista& escribirPdf) {
  QPrinter impresora(QPrinter::HighResolution);
  impresora.setPageLayout(pagina);
  impresora.setDocName(titulo);
  QPrintPreviewDialog dialogo(&impresora, QApplication::activeWindow());
  dialogo.setWindowTitle(titulo);
  // Maximized where a window manager honours it, and the size of the screen
  // where none does: the preview's own size shows a page too small to read.
  if (const QScreen* pantalla = dialogo.screen())
    dialogo.setGeometry(pantalla->availableGeometry());
  dialogo.setWindowState(dialogo.windowState() | Qt::WindowMaximized);
  QObject::connect(&dialogo, &QPrintPreviewDialog::paintRequested, &dialogo,
                   [&](QPrinter* destino) { pintar(*destino); });
  // Saving the PDF is one click away, without going through the print dialog.
  if (QToolBar* barra = dialogo.findChild<QToolBar*>()) {
    barra->addSeparator();
    QAction* guardar = barra->addAction(QStringLiteral("Guardar PDF…"));
    QObject::connect(guardar, &QAction::triggered, &dialogo, [&] {
      const QString ruta = QFileDialog::getSaveFileName(
          &dialogo, QStringLiteral("Guardar el reporte"), titulo + QStringLiteral(".pdf"),
          QStringLiteral("Documentos PDF (*.pdf)"));
      if (ruta.isEmpty()) return;
      try {
        const bool guardado = escribirPdf ? escribirPdf(ruta, impresora.pageLayout())
                                          : GuardarPdf(ruta, impresora.pageLayout(), titulo,
                                                       [&](QPagedPaintDevice& pdf) {
                                                         pintar(pdf);
                                                         return true;
                                                       });
        if (guardado) Informar(QStringLiteral("Reporte guardado en %1").arg(ruta));
      } catch (const Falla& falla) {
        Avisar(Estilo::Critico, QStringLiteral("Guardar PDF"), falla.Mensaje());
      }
    });
  }
  const accion_operador::EnDialogo respondiendo;
  dialogo.exec();
}
