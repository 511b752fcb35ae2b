#include "services/guardar_pdf.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPdfWriter>
#include <QSaveFile>

#include "services/falla.h"

namespace {

[[noreturn]] void NoSePudo(const QString& ruta, const QString& razon) {
  throw Falla(Falla::kArchivo,
              QStringLiteral("No se pudo guardar el PDF en «%1»: %2.\nNo se guardó nada (no quedó "
                             "ningún archivo a medias). Elija otra carpeta, o libere espacio en el "
                             "disco, y vuelva a intentarlo.")
                  .arg(ruta, razon));
}

}  // namespace

bool GuardarPdf(const QString& ruta, const QPageLayout& pagina, const QString& titulo,
                const std::function<bool(QPagedPaintDevice&)>& pintar) {
  const QString carpeta = QFileInfo(ruta).absolutePath();
  if (!QDir().mkpath(carpeta))
    NoSePudo(ruta, QStringLiteral("no se pudo crear la carpeta «%1»").arg(carpeta));
  QSaveFile archivo(ruta);
  if (!archivo.open(QIODevice::WriteOnly)) NoSePudo(ruta, archivo.errorString());
  {
    QPdfWriter pdf(&archivo);
    pdf.setPageLayout(pagina);
    pdf.setTitle(titulo);
    pdf.setCreator(QStringLiteral("Análisis de Harina"));
    if (!pintar(pdf)) {
      archivo.cancelWriting();
      return false;
    }
  }
  if (!archivo.commit()) NoSePudo(ruta, archivo.errorString());
  return true;
}
