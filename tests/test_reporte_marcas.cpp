// The analysis report judged by the quality limits, read back with pdftotext:
// values out of its limits marked "▲" or "▼" and printed in red, a value
// in the warning band or empty not marked, each day judged by the limits in
// force on it, the day's and the summary's counts, and the legend; and the
// same analyses without limits, reported as before. Runs on SQLite and on
// PostgreSQL.

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "soporte/reporte_prueba.h"
#include "soporte/ventana_prueba.h"

namespace {

// Moisture of 0000 at most 15.0 (warning above 14.5) and its falling number
// between 250 and 400 from the start of the year; from the second day on
// its moisture is at most 14.0.
const QString kLimites = QStringLiteral(
    "INSERT INTO ta_limites (tipo_harina, campo, minimo, maximo, aviso_minimo, aviso_maximo, "
    "vigente_desde) VALUES ('0000', 'HUMEDAD', NULL, 15.0, NULL, 14.5, '2004-01-01'), "
    "('0000', 'FALLINGNUMBER', 250, 400, NULL, NULL, '2004-01-01'), "
    "(' 0000', 'humedad', NULL, 14.0, NULL, NULL, '2004-03-02')");

void SembrarDosDias(EntornoPrueba& e) {
  Sembrar(e, {"2004-03-01", "08:00:00", "0000", "15.3", "300", "Alta"});
  Sembrar(e, {"2004-03-01", "09:00:00", "0000", "14.7", "200", "Baja"});
  Sembrar(e, {"2004-03-01", "10:00:00", "0000", nullptr, "320", "Vacia"});
  Sembrar(e, {"2004-03-01", "11:00:00", "0000", "14.7", "300", "Aviso"});
  Sembrar(e, {"2004-03-02", "08:00:00", "0000", "14.7", "300", "Nueva"});
  Sembrar(e, {"2004-03-02", "09:00:00", "Integral", "16.2", nullptr, "SinLimite"});
}

bool Hay(const QString& texto, const QString& patron) {
  return QRegularExpression(patron).match(texto).hasMatch();
}

// Pixels of a strong red on the PDF's pages, rendered small.
int PuntosRojos(const QString& pdf) {
  QTemporaryDir carpeta;
  QProcess pdftoppm;
  pdftoppm.start(QStringLiteral("pdftoppm"),
                 {QStringLiteral("-r"), QStringLiteral("60"), QStringLiteral("-png"), pdf,
                  carpeta.path() + QStringLiteral("/p")});
  if (!pdftoppm.waitForFinished(120000) || pdftoppm.exitCode() != 0) return -1;
  int rojos = 0;
  for (const QString& nombre : QDir(carpeta.path()).entryList({QStringLiteral("*.png")})) {
    const QImage pagina(carpeta.path() + QLatin1Char('/') + nombre);
    for (int y = 0; y < pagina.height(); ++y)
      for (int x = 0; x < pagina.width(); ++x) {
        const QColor c = pagina.pixelColor(x, y);
        if (c.red() > 150 && c.green() < 90 && c.blue() < 90) ++rojos;
      }
  }
  return rojos;
}

}  // namespace

class PruebaReporteMarcas : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
  void marcasYCuentas();
  void sinLimitesComoAntes();
};

void PruebaReporteMarcas::marcasYCuentas() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  const QString salida = e.Carpeta() + QStringLiteral("/reporte.pdf");
  e.EscribirIni(QStringLiteral("[Reportes]\nSalida=") + salida + QLatin1Char('\n'));
  e.Ejecutar(kLimites);
  SembrarDosDias(e);
  PedirReporte(v.ventana, QStringLiteral("01/03/2004"), QStringLiteral("02/03/2004"));
  QCOMPARE(e.operador().preguntas.size(), 0);
  const QString texto = TextoPdf(salida);

  // Above the maximum, below the minimum; the warning band, an empty value
  // and a flour type without limits unmarked.
  QVERIFY2(Hay(texto, "08:00:00\\s+300\\s+15,3 ▲\\s+Alta"), qPrintable(texto));
  QVERIFY(Hay(texto, "09:00:00\\s+200 ▼\\s+14,7\\s+Baja"));
  QVERIFY(Hay(texto, "10:00:00\\s+320\\s+Vacia"));
  QVERIFY(Hay(texto, "11:00:00\\s+300\\s+14,7\\s+Aviso"));
  QVERIFY(Hay(texto, "09:00:00\\s+16,2\\s+SinLimite"));
  // The second day is judged by the row in force from it: 14,7 is out there.
  QVERIFY(Hay(texto, "08:00:00\\s+300\\s+14,7 ▲\\s+Nueva"));
  QCOMPARE(texto.count(QStringLiteral("▼")), 1 + 1);  // the value and the legend
  QCOMPARE(texto.count(QStringLiteral("▲")), 2 + 1);

  QVERIFY2(texto.contains(QStringLiteral("Análisis del día: 4 · fuera de especificación: 2")),
           qPrintable(texto));
  QVERIFY(texto.contains(QStringLiteral("Análisis del día: 2 · fuera de especificación: 1")));
  // Moisture: five values, four judged, two out; falling number: five
  // judged, one out. A column without values has no share.
  QVERIFY(Hay(texto, "Fuera de esp\\.\\s+% conformes"));
  QVERIFY(Hay(texto, "Humedad\\s+5\\s+15,12\\s+14,7\\s+16,2\\s+2\\s+50,0 %"));
  QVERIFY(Hay(texto, "Falling number\\s+5\\s+284,0\\s+200\\s+320\\s+1\\s+80,0 %"));
  QVERIFY(Hay(texto, "Cenizas\\s+0\\s*\\n"));
  // The legend closes the last page.
  const int leyenda = static_cast<int>(texto.indexOf(QStringLiteral("Valores en rojo y negrita")));
  QVERIFY(leyenda > texto.indexOf(QStringLiteral("Resumen:")));
  QVERIFY(texto.indexOf(QStringLiteral("▲ por encima del máximo · ▼ por debajo del mínimo")) >
          leyenda);
  QVERIFY(PuntosRojos(salida) > 0);
}

void PruebaReporteMarcas::sinLimitesComoAntes() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  const QString salida = e.Carpeta() + QStringLiteral("/reporte.pdf");
  e.EscribirIni(QStringLiteral("[Reportes]\nSalida=") + salida + QLatin1Char('\n'));
  SembrarDosDias(e);
  PedirReporte(v.ventana, QStringLiteral("01/03/2004"), QStringLiteral("02/03/2004"));
  const QString texto = TextoPdf(salida);
  QVERIFY2(Hay(texto, "08:00:00\\s+300\\s+15,3\\s+Alta"), qPrintable(texto));
  QVERIFY(!texto.contains(QStringLiteral("▲")));
  QVERIFY(!texto.contains(QStringLiteral("▼")));
  QVERIFY(Hay(texto, "Análisis del día: 4\\s*\\n"));
  QVERIFY(!texto.contains(QStringLiteral("especificación")));
  QVERIFY(!texto.contains(QStringLiteral("conformes")));
  QVERIFY(Hay(texto, "Humedad\\s+5\\s+15,12\\s+14,7\\s+16,2\\s*\\n"));
  QCOMPARE(PuntosRojos(salida), 0);
}

QTEST_MAIN(PruebaReporteMarcas)
#include "test_reporte_marcas.moc"
