// The report's shaped texts: broken as Partir breaks them, shaped once however
// often a text repeats, and drawn exactly as QPainter::drawText draws the
// same line at the same point, on a raster image and in a PDF read back.

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "report/texto_reporte.h"

using reporte::LineaFormada;
using reporte::TextosFormados;

class PruebaTextoReporte : public QObject {
  Q_OBJECT

 private slots:
  void comoPartir_data();
  void comoPartir();
  void dibujaComoDrawText_data();
  void dibujaComoDrawText();
  void enElPdf();
};

void PruebaTextoReporte::comoPartir_data() {
  QTest::addColumn<QString>("texto");
  QTest::addColumn<double>("ancho");
  QTest::newRow("cabe") << "0000" << 200.0;
  QTest::newRow("vacío") << "" << 200.0;
  QTest::newRow("en palabras")
      << "Muestra repetida a pedido del jefe de turno: se volvió a lavar la masa" << 120.0;
  QTest::newRow("palabra larga") << QString(60, QLatin1Char('m')) << 80.0;
  QTest::newRow("renglones propios") << "uno\r\n\ndos tres" << 200.0;
}

void PruebaTextoReporte::comoPartir() {
  QFETCH(QString, texto);
  QFETCH(double, ancho);
  QImage lienzo(400, 100, QImage::Format_ARGB32);
  const QFont fuente = reporte::Fuente(7.5);
  TextosFormados textos(fuente, &lienzo);
  const std::vector<LineaFormada>& lineas = textos.Lineas(texto, ancho);
  const QFontMetricsF medida(fuente, &lienzo);
  const QStringList esperadas = reporte::Partir(texto, fuente, medida, ancho, &lienzo);
  QStringList halladas;
  for (const LineaFormada& linea : lineas) {
    halladas << linea.texto;
    QCOMPARE(linea.ancho, medida.horizontalAdvance(linea.texto));
  }
  QCOMPARE(halladas, esperadas);
  // The same text again, or the same characters in another string, is the
  // same shaped text; another width is broken apart.
  QCOMPARE(&textos.Lineas(QString(texto.constData(), texto.size()), ancho), &lineas);
  QVERIFY(&textos.Lineas(texto, ancho + 1) != &lineas);
}

void PruebaTextoReporte::dibujaComoDrawText_data() {
  QTest::addColumn<QString>("texto");
  QTest::addColumn<double>("x");
  QTest::addColumn<double>("y");
  // -1: broken and shaped by the texts that draw it; otherwise only broken
  // and measured by a layout's texts and drawn by others, after that many
  // other distinct lines went through them.
  QTest::addColumn<int>("ajenas");
  QTest::newRow("número") << "28,35" << 10.0 << 20.0 << -1;
  QTest::newRow("entre píxeles") << "Integral" << 10.37 << 20.61 << -1;
  QTest::newRow("cerca de un 64avo") << "0000" << 33.0078125 << 25.3 << -1;
  QTest::newRow("acentos") << "Fecha: 01/01/2003 (Miércoles) ñandú" << 3.3 << 30.0 << -1;
  QTest::newRow("otra escritura") << QStringLiteral("pan \u0425\u043b\u0435\u0431 \u03b1\u03b2")
                                  << 5.5 << 40.2 << -1;
  QTest::newRow("separador de renglón") << QStringLiteral("a\u2028b") << 5.0 << 40.0 << -1;
  QTest::newRow("medida, dibujada por otros") << "Integral" << 10.37 << 20.61 << 0;
  QTest::newRow("medida, separador de renglón") << QStringLiteral("a\u2028b") << 5.0 << 40.0 << 0;
  QTest::newRow("medida, tras miles de otras") << "0000" << 33.0078125 << 25.3 << 5000;
}

// Pixel for pixel on a raster image.
void PruebaTextoReporte::dibujaComoDrawText() {
  QFETCH(QString, texto);
  QFETCH(double, x);
  QFETCH(double, y);
  QFETCH(int, ajenas);
  const QFont fuente = reporte::Fuente(7.5);
  QImage esperada(320, 60, QImage::Format_ARGB32);
  esperada.fill(Qt::white);
  QImage hallada = esperada;
  {
    QPainter p(&esperada);
    p.setFont(fuente);
    p.drawText(QPointF(x, y), texto);
  }
  {
    TextosFormados textos(fuente, &hallada);
    TextosFormados disposicion(fuente, &hallada, false);
    TextosFormados& origen = ajenas < 0 ? textos : disposicion;
    QPainter p(&hallada);
    const std::vector<LineaFormada>& lineas = origen.Lineas(texto, 1000);
    QCOMPARE(lineas.size(), std::size_t(1));
    QCOMPARE(lineas.front().porFormar, ajenas >= 0);
    if (ajenas > 0) {
      // The same line drawn once, then thousands of others, all off the
      // image: what the texts hold for it may have been let go meanwhile.
      textos.Dibujar(p, lineas.front(), QPointF(-500, -500));
      for (int i = 0; i < ajenas; ++i)
        textos.Dibujar(p, disposicion.Lineas(QString::number(i), 1000).front(),
                       QPointF(-500, -500));
    }
    textos.Dibujar(p, lineas.front(), QPointF(x, y));
  }
  QVERIFY(esperada != QImage(320, 60, QImage::Format_ARGB32));
  QCOMPARE(hallada, esperada);
}

// The text a PDF reader takes out, with each word's place, is the same.
void PruebaTextoReporte::enElPdf() {
  QTemporaryDir carpeta;
  QVERIFY(carpeta.isValid());
  const QStringList muestras = {"28,35", "Integral", "Blanco", "Muestra repetida, ñandú",
                                "0,5700000000000001"};
  const auto escribir = [&](const QString& nombre, bool formadas) {
    const QString ruta = carpeta.filePath(nombre);
    QPdfWriter pdf(ruta);
    pdf.setResolution(1200);
    const QFont fuente = reporte::Fuente(7.5);
    TextosFormados textos(fuente, &pdf);
    QPainter p(&pdf);
    p.setFont(fuente);
    const QFontMetricsF medida(fuente, &pdf);
    for (int i = 0; i < muestras.size(); ++i) {
      // Right-aligned at a fractional edge, as the report's number columns.
      const double borde = 3000.37 + 511.3 * i;
      const QPointF punto(borde - medida.horizontalAdvance(muestras[i]), 400.0 + 173.9 * i);
      if (formadas)
        textos.Dibujar(p, textos.Lineas(muestras[i], 1e6).front(), punto);
      else
        p.drawText(punto, muestras[i]);
    }
    p.end();
    QProcess lector;
    lector.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), ruta, QStringLiteral("-")});
    if (!lector.waitForFinished(60000) || lector.exitCode() != 0) return QString();
    // The words and their boxes; the header holds the moment written.
    QStringList palabras;
    for (const QString& linea : QString::fromUtf8(lector.readAllStandardOutput()).split('\n'))
      if (linea.contains(QLatin1String("<word"))) palabras << linea;
    return palabras.join('\n');
  };
  const QString esperado = escribir(QStringLiteral("texto.pdf"), false);
  const QString hallado = escribir(QStringLiteral("formado.pdf"), true);
  QVERIFY2(esperado.contains(QStringLiteral("ñandú")), qPrintable(esperado));
  QCOMPARE(hallado, esperado);
}

QTEST_MAIN(PruebaTextoReporte)
#include "test_texto_reporte.moc"
