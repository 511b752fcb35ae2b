// The report's PDF painted by several threads and joined: page by page the
// same words in the same places as one thread painting the same report, its
// pages numbered among all of them, every part's pages in the file; the
// progress told on the calling thread; a cancelled report leaves neither the
// file nor a part behind; a part that cannot be written or joined is a
// failure, never a file.

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <cmath>

#include "report/reporte_paralelo.h"
#include "report/unir_pdf.h"
#include "services/falla.h"
#include "services/guardar_pdf.h"

class PruebaReporteParalelo : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void cleanup();
  void igualQueUnHilo_data();
  void igualQueUnHilo();
  void cancelar_data();
  void cancelar();
  void partesQueNoSeUnen_data();
  void partesQueNoSeUnen();
  void fallaSinArchivo_data();
  void fallaSinArchivo();

 private:
  QTemporaryDir carpeta_;
  QString temporal_;  // TMPDIR of the painting threads' parts
};

namespace {

const QString kRemark = QStringLiteral(
    "Muestra repetida a pedido del jefe de turno: la primera medición de gluten húmedo salió "
    "fuera de rango y se volvió a lavar la masa");

// cuantos analyses, 60 a day; every seventh with a remark that wraps, every
// fifth with a value out of its limits.
ContenidoReporte Contenido(int cuantos) {
  ContenidoReporte r;
  r.empresa = QStringLiteral("Molino");
  r.titulo = QStringLiteral("Análisis de Harina");
  r.seleccion = QStringLiteral("Todos los análisis");
  r.sinAnalisis = QStringLiteral("Sin análisis para esta selección.");
  r.impreso = QDateTime(QDate(2004, 3, 3), QTime(9, 30));
  r.juzgado = true;
  for (int i = 0; i < cuantos; ++i) {
    AnalisisReporte a;
    a.fecha = QDate(2004, 3, 1).addDays(i / 60);
    a.celdas[0] = a.fecha.toString(QStringLiteral("dd/MM/yyyy"));
    a.celdas[2] = i % 2 ? QStringLiteral("0000") : QStringLiteral("Integral");
    a.celdas[5] = QString::number(300 + i);
    a.valores.fill(std::nan(""));
    if (i % 7 == 0) a.celdas[10] = kRemark;
    if (i % 5 == 0) {
      a.veredictos[5] = Veredicto::Fuera;
      a.lados[5] = Lado::Arriba;
    }
    r.analisis.push_back(a);
  }
  return r;
}

QString Ejecutar(const QString& programa, const QStringList& argumentos) {
  QProcess proceso;
  proceso.start(programa, argumentos);
  if (!proceso.waitForFinished(60000) || proceso.exitCode() != 0) return QString();
  return QString::fromUtf8(proceso.readAllStandardOutput());
}

// Each page's words with their boxes, as pdftotext reads them.
QStringList PalabrasPorPagina(const QString& ruta) {
  QStringList paginas;
  for (const QString& linea :
       Ejecutar(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), ruta, QStringLiteral("-")})
           .split('\n')) {
    if (linea.contains(QLatin1String("<page")))
      paginas << QString();
    else if (linea.contains(QLatin1String("<word")) && !paginas.isEmpty())
      paginas.back() += linea.trimmed() + '\n';
  }
  return paginas;
}

// The fonts embedded in the PDF: each part brings its own.
int Fuentes(const QString& ruta) {
  return static_cast<int>(
      Ejecutar(QStringLiteral("pdffonts"), {ruta}).count(QStringLiteral("DejaVu")));
}

bool UnHilo(const ContenidoReporte& r, const QString& ruta) {
  return GuardarPdf(ruta, PaginaReporte(), r.titulo, [&](QPagedPaintDevice& pdf) {
    return PintarReporte(r, pdf, [](qint64) { return true; });
  });
}

QStringList Archivos(const QString& carpeta) {
  return QDir(carpeta).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

}  // namespace

void PruebaReporteParalelo::initTestCase() {
  QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
  QVERIFY(carpeta_.isValid());
  temporal_ = carpeta_.filePath(QStringLiteral("tmp"));
  QVERIFY(QDir().mkpath(temporal_));
  qputenv("TMPDIR", temporal_.toLocal8Bit());
}

void PruebaReporteParalelo::cleanup() {
  // Whatever came of a report, no part of it is left behind.
  QCOMPARE(Archivos(temporal_), QStringList());
  qputenv("TMPDIR", temporal_.toLocal8Bit());
}

void PruebaReporteParalelo::igualQueUnHilo_data() {
  QTest::addColumn<int>("analisis");
  QTest::addColumn<int>("hilos");
  QTest::addColumn<int>("partes");  // the threads that can get a page
  QTest::newRow("dos hilos") << 600 << 2 << 2;
  QTest::newRow("tres hilos, páginas que no se reparten parejas") << 660 << 3 << 3;
  QTest::newRow("cuatro hilos") << 600 << 4 << 4;
  QTest::newRow("una página, un hilo aunque se pidan cuatro") << 3 << 4 << 1;
}

void PruebaReporteParalelo::igualQueUnHilo() {
  QFETCH(int, analisis);
  QFETCH(int, hilos);
  QFETCH(int, partes);
  const ContenidoReporte r = Contenido(analisis);
  const QString uno = carpeta_.filePath(QStringLiteral("uno.pdf"));
  const QString varios = carpeta_.filePath(QStringLiteral("varios.pdf"));
  QVERIFY(UnHilo(r, uno));
  std::vector<qint64> avances;
  const Qt::HANDLE hilo = QThread::currentThreadId();
  bool ajeno = false;
  QVERIFY(GuardarReportePdf(
      r, varios, PaginaReporte(),
      [&](qint64 pintadas) {
        ajeno = ajeno || QThread::currentThreadId() != hilo;
        avances.push_back(pintadas);
        return true;
      },
      hilos));

  const QStringList esperadas = PalabrasPorPagina(uno);
  const QStringList halladas = PalabrasPorPagina(varios);
  const int paginas = static_cast<int>(esperadas.size());
  QVERIFY2(partes == 1 ? paginas == 1 : paginas >= 2 * partes,
           qPrintable(QString::number(paginas)));
  if (partes == 3) QVERIFY2(paginas % 3 != 0, "las páginas se reparten parejas");
  QCOMPARE(halladas.size(), esperadas.size());
  for (int i = 0; i < paginas; ++i) QCOMPARE(halladas[i], esperadas[i]);
  // Numbered among all the pages, whichever thread painted them.
  static const QRegularExpression numero(QStringLiteral("Página (\\d+) de (\\d+)"));
  const QString texto = Ejecutar(QStringLiteral("pdftotext"), {varios, QStringLiteral("-")});
  QStringList numeros;
  for (const auto& m : numero.globalMatch(texto)) numeros << m.captured(1) + '/' + m.captured(2);
  QStringList esperados;
  for (int i = 1; i <= paginas; ++i) esperados << QStringLiteral("%1/%2").arg(i).arg(paginas);
  QCOMPARE(numeros, esperados);
  QVERIFY(texto.contains(kRemark.left(20)));
  QVERIFY(texto.contains(QStringLiteral("▲")));
  // Every part's pages are in the file, each with the fonts it embedded.
  QCOMPARE(Fuentes(varios), partes * Fuentes(uno));
  // The progress, told on the calling thread only, reaches every analysis.
  QVERIFY(!ajeno);
  QVERIFY(!avances.empty());
  QVERIFY(std::is_sorted(avances.begin(), avances.end()));
  QCOMPARE(avances.back(), qint64(analisis));
  QFile::remove(uno);
  QFile::remove(varios);
}

void PruebaReporteParalelo::cancelar_data() {
  // The operator cancels once told that many analyses painted: at once, or
  // with some painted (midway, or at the very end on a quick machine).
  QTest::addColumn<qint64>("tras");
  QTest::newRow("al primer aviso") << qint64(0);
  QTest::newRow("con algo pintado") << qint64(1);
}

void PruebaReporteParalelo::cancelar() {
  QFETCH(qint64, tras);
  const ContenidoReporte r = Contenido(3000);
  const QString destino = carpeta_.filePath(QStringLiteral("cancelado/reporte.pdf"));
  qint64 cancelada = -1;
  QVERIFY(!GuardarReportePdf(
      r, destino, PaginaReporte(),
      [&](qint64 pintadas) {
        if (pintadas < tras) return true;
        if (cancelada < 0) cancelada = pintadas;
        return false;
      },
      2));
  QVERIFY(cancelada >= tras);
  QVERIFY(!QFile::exists(destino));
  QCOMPARE(Archivos(QFileInfo(destino).absolutePath()), QStringList());
}

void PruebaReporteParalelo::partesQueNoSeUnen_data() {
  QTest::addColumn<QStringList>("partes");
  QTest::addColumn<bool>("escribible");
  QTest::addColumn<QString>("razon");  // what the failure names
  QTest::newRow("sin partes") << QStringList() << true << "no hay páginas";
  QTest::newRow("una parte que falta")
      << QStringList{"buena.pdf", "falta.pdf"} << true << "falta.pdf";
  QTest::newRow("una parte cortada")
      << QStringList{"buena.pdf", "cortada.pdf"} << true << "cortada.pdf";
  QTest::newRow("un destino que no se escribe")
      << QStringList{"buena.pdf", "buena.pdf"} << false << "escritura";
}

void PruebaReporteParalelo::partesQueNoSeUnen() {
  QFETCH(QStringList, partes);
  QFETCH(bool, escribible);
  QFETCH(QString, razon);
  const QString buena = carpeta_.filePath(QStringLiteral("buena.pdf"));
  QVERIFY(UnHilo(Contenido(120), buena));
  QFile entera(buena);
  QVERIFY(entera.open(QIODevice::ReadOnly));
  QFile cortada(carpeta_.filePath(QStringLiteral("cortada.pdf")));
  QVERIFY(cortada.open(QIODevice::WriteOnly));
  cortada.write(entera.read(entera.size() / 2));
  cortada.close();
  for (QString& parte : partes) parte = carpeta_.filePath(parte);

  QBuffer destino;
  QVERIFY(destino.open(escribible ? QIODevice::WriteOnly : QIODevice::ReadOnly));
  const QString falla = UnirPdf(partes, destino);
  QVERIFY2(falla.contains(razon), qPrintable(falla));
  // Against the same parts whole, the join writes a file with all their pages.
  QBuffer unido;
  QVERIFY(unido.open(QIODevice::WriteOnly));
  QCOMPARE(UnirPdf({buena, buena}, unido), QString());
  QVERIFY(unido.data().startsWith("%PDF-"));
  QVERIFY(unido.size() > entera.size());
  QFile::remove(buena);
  QFile::remove(cortada.fileName());
}

void PruebaReporteParalelo::fallaSinArchivo_data() {
  QTest::addColumn<bool>("sinTemporal");     // the temporary folder cannot be made
  QTest::addColumn<bool>("destinoCarpeta");  // a folder stands at the destination
  QTest::newRow("sin carpeta temporal") << true << false;
  QTest::newRow("el destino es una carpeta") << false << true;
}

void PruebaReporteParalelo::fallaSinArchivo() {
  QFETCH(bool, sinTemporal);
  QFETCH(bool, destinoCarpeta);
  const QString destino = carpeta_.filePath(QStringLiteral("falla/reporte.pdf"));
  if (destinoCarpeta) QVERIFY(QDir().mkpath(destino));
  if (sinTemporal) {
    // A plain file where the temporary folder should be: no one can make a
    // folder inside it.
    const QString archivo = carpeta_.filePath(QStringLiteral("no-es-carpeta"));
    QFile f(archivo);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    qputenv("TMPDIR", archivo.toLocal8Bit());
  }
  try {
    GuardarReportePdf(
        Contenido(600), destino, PaginaReporte(), [](qint64) { return true; }, 2);
    QFAIL("el reporte se dio por guardado");
  } catch (const Falla& falla) {
    QCOMPARE(falla.Codigo(), Falla::kArchivo);
    QVERIFY2(falla.Mensaje().contains(destino), qPrintable(falla.Mensaje()));
  }
  QCOMPARE(QFileInfo(destino).isFile(), false);
  QDir(carpeta_.filePath(QStringLiteral("falla"))).removeRecursively();
  QFile::remove(carpeta_.filePath(QStringLiteral("no-es-carpeta")));
}

QTEST_MAIN(PruebaReporteParalelo)
#include "test_reporte_paralelo.moc"
