#include "services/guardar_pdf.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPdfWriter>
#include <QSaveFile>

#include "services/falla.h"

void PdfNoGuardado(const QString& ruta, const QString& razon) {
  throw Falla(Falla::kArchivo,
              QStringLiteral("No se pudo guardar el PDF en «%1»: %2.\nNo se guardó nada (no quedó "
                             "ningún archivo a medias). Elija otra carpeta, o libere espacio en el "
                             "disco, y vuelva a intentarlo.")
                  .arg(ruta, razon));
}

void PrepararPdf(QPdfWriter& pdf, const QPageLayout& pagina, const QString& titulo) {
  pdf.setPageLayout(pagina);
  pdf.setTitle(titulo);
  pdf.setCreator(QStringLiteral("Análisis de Harina"));
}

bool GuardarArchivoPdf(const QString& ruta, const std::function<bool(QIODevice&)>& escribir) {
  const QString carpeta = QFileInfo(ruta).absolutePath();
  if (!QDir().mkpath(carpeta))
    PdfNoGuardado(ruta, QStringLiteral("no se pudo crear la carpeta «%1»").arg(carpeta));
  // Unless committed, the file beside the path goes with the object, also when
  // escribir throws.
  QSaveFile archivo(ruta);
  if (!archivo.open(QIODevice::WriteOnly)) PdfNoGuardado(ruta, archivo.errorString());
  if (!escribir(archivo)) {
    archivo.cancelWriting();
    return false;
  }
  if (!archivo.commit()) PdfNoGuardado(ruta, archivo.errorString());
  return true;
}

bool GuardarPdf(const QString& ruta, const QPageLayout& pagina, const QString& titulo,
                const std::function<bool(QPagedPaintDevice&)>& pintar) {
  return GuardarArchivoPdf(ruta, [&](QIODevice& archivo) {
    QPdfWriter pdf(&archivo);
    PrepararPdf(pdf, pagina, titulo);
    return pintar(pdf);
  });
}
