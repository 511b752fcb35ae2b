// One report laid out once and painted on several devices, as the preview,
// its "Guardar PDF…" and its printing do: a device of the same resolution and
// page reuses the layout, another resolution gets its own, and each PDF reads
// back word for word, box for box, as the report painted afresh on it.

#include <QApplication>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <functional>

#include "report/reporte_zentalia.h"

class PruebaReporteDispuesto : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
  void unaDisposicionPorResolucion();
};

namespace {

ContenidoReporte Contenido() {
  ContenidoReporte r;
  r.empresa = QStringLiteral("Molino");
  r.titulo = QStringLiteral("Análisis de Harina");
  r.seleccion = QStringLiteral("Del 01/03/2004 al 02/03/2004");
  r.impreso = QDateTime(QDate(2004, 3, 3), QTime(9, 30));
  r.juzgado = true;
  for (int i = 0; i < 120; ++i) {
    AnalisisReporte a;
    a.fecha = QDate(2004, 3, 1 + i / 60);
    a.celdas[0] = a.fecha.toString(QStringLiteral("dd/MM/yyyy"));
    a.celdas[2] = i % 2 ? QStringLiteral("0000") : QStringLiteral("Integral");
    a.celdas[5] = QString::number(300 + i);
    a.valores.fill(std::nan(""));
    // A remark that wraps: its line breaks decide the rows' heights and so
    // the pages.
    if (i % 7 == 0)
      a.celdas[10] = QStringLiteral(
          "Muestra repetida a pedido del jefe de turno: la primera medición de gluten húmedo "
          "salió fuera de rango y se volvió a lavar la masa");
    if (i % 5 == 0) {
      a.veredictos[5] = Veredicto::Fuera;
      a.lados[5] = Lado::Arriba;
    }
    r.analisis.push_back(a);
  }
  return r;
}

// The PDF's words with their boxes, and its pages.
QString Palabras(const QString& ruta) {
  QProcess lector;
  lector.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), ruta, QStringLiteral("-")});
  if (!lector.waitForFinished(60000) || lector.exitCode() != 0) return QString();
  QStringList palabras;
  for (const QString& linea : QString::fromUtf8(lector.readAllStandardOutput()).split('\n'))
    if (linea.contains(QLatin1String("<word")) || linea.contains(QLatin1String("<page")))
      palabras << linea.trimmed();
  return palabras.join('\n');
}

bool Escribir(const QString& ruta, int dpi, const std::function<bool(QPagedPaintDevice&)>& pintar) {
  QPdfWriter pdf(ruta);
  pdf.setPageLayout(PaginaReporte());
  pdf.setResolution(dpi);
  return pintar(pdf);
}

}  // namespace

void PruebaReporteDispuesto::unaDisposicionPorResolucion() {
  QTemporaryDir carpeta;
  QVERIFY(carpeta.isValid());
  const ContenidoReporte contenido = Contenido();
  const auto siempre = [](qint64) { return true; };
  ReporteDispuesto dispuesto(contenido);
  const auto conDispuesto = [&](QPagedPaintDevice& d) { return dispuesto.Pintar(d, siempre); };
  const auto deNuevo = [&](QPagedPaintDevice& d) { return PintarReporte(contenido, d, siempre); };
  // 1200 dpi (the preview's printer and the PDF writer), again at 1200, then
  // at 300 as a printer of lower resolution.
  const QString a = carpeta.filePath(QStringLiteral("a.pdf"));
  const QString b = carpeta.filePath(QStringLiteral("b.pdf"));
  const QString c = carpeta.filePath(QStringLiteral("c.pdf"));
  QVERIFY(Escribir(a, 1200, conDispuesto));
  QVERIFY(Escribir(b, 1200, conDispuesto));
  QCOMPARE(dispuesto.Disposiciones(), 1);
  QVERIFY(Escribir(c, 300, conDispuesto));
  QCOMPARE(dispuesto.Disposiciones(), 2);

  const QString fresco1200 = carpeta.filePath(QStringLiteral("fresco1200.pdf"));
  const QString fresco300 = carpeta.filePath(QStringLiteral("fresco300.pdf"));
  QVERIFY(Escribir(fresco1200, 1200, deNuevo));
  QVERIFY(Escribir(fresco300, 300, deNuevo));
  const QString esperado = Palabras(fresco1200);
  QVERIFY2(esperado.count(QLatin1String("<page")) >= 2, qPrintable(esperado));
  QVERIFY(esperado.contains(QStringLiteral("▲")));
  QVERIFY(esperado.contains(QStringLiteral("lavar")));
  QCOMPARE(Palabras(a), esperado);
  QCOMPARE(Palabras(b), esperado);
  QCOMPARE(Palabras(c), Palabras(fresco300));
}

QTEST_MAIN(PruebaReporteDispuesto)
#include "test_reporte_dispuesto.moc"
