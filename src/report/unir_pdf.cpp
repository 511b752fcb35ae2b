#include "report/unir_pdf.h"

// Only qpdf's std::shared_ptr interface, without its old PointerHolder.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <QIODevice>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

// qpdf's output on a Qt device, so that the caller decides where the file
// goes (a QSaveFile keeps a half-written join away from its path).
class EnDispositivo : public Pipeline {
 public:
  explicit EnDispositivo(QIODevice& destino)
      : Pipeline("dispositivo", nullptr), destino_(destino) {}

  void write(unsigned char const* datos, size_t largo) override {
    if (destino_.write(reinterpret_cast<const char*>(datos), static_cast<qint64>(largo)) !=
        static_cast<qint64>(largo))
      throw std::runtime_error(destino_.errorString().toStdString());
  }
  void finish() override {}

 private:
  QIODevice& destino_;
};

std::unique_ptr<QPDF> Abrir(const QString& ruta) {
  auto pdf = std::make_unique<QPDF>();
  pdf->setSuppressWarnings(true);
  // A damaged part is an error, never a document rebuilt from what is left.
  pdf->setAttemptRecovery(false);
  pdf->processFile(ruta.toLocal8Bit().constData());
  return pdf;
}

}  // namespace

QString UnirPdf(const QStringList& partes, QIODevice& destino) {
  if (partes.isEmpty()) return QStringLiteral("no hay páginas que unir");
  if (!destino.isWritable()) return QStringLiteral("el archivo no admite escritura");
  QString parte;
  try {
    // Every part stays open until the end: the pages copied from it read
    // their streams when the result is written.
    std::vector<std::unique_ptr<QPDF>> abiertos;
    parte = partes.front();
    abiertos.push_back(Abrir(parte));
    QPDFPageDocumentHelper unido(*abiertos.front());
    for (qsizetype i = 1; i < partes.size(); ++i) {
      parte = partes[i];
      abiertos.push_back(Abrir(parte));
      for (QPDFPageObjectHelper& pagina : QPDFPageDocumentHelper(*abiertos.back()).getAllPages())
        unido.addPage(pagina, false);
    }
    parte.clear();
    EnDispositivo salida(destino);
    QPDFWriter escritor(*abiertos.front());
    // The streams go as they came, never decoded nor compressed again.
    escritor.setDecodeLevel(qpdf_dl_none);
    escritor.setOutputPipeline(&salida);
    escritor.write();
    return QString();
  } catch (const std::exception& error) {
    const QString razon = QString::fromLocal8Bit(error.what());
    if (parte.isEmpty()) return QStringLiteral("no se pudieron unir sus partes (%1)").arg(razon);
    return QStringLiteral("no se pudo leer la parte «%1» (%2)").arg(parte, razon);
  }
}
